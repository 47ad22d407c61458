#pragma once

#include "model/Store.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// A store of its own for each test, starting from the sample studio, with default preferences.
struct SettingsFixture
{
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Store> store;

    void reset()
    {
        store.reset();
        QSettings(QStringLiteral("Tallybrook"), QStringLiteral("Tallybrook")).clear();
        dir = std::make_unique<QTemporaryDir>();
        store = std::make_unique<Store>(dir->path(), false);
        store->setLanguage(AppLanguage::en);
        store->ui().setToast(std::nullopt);
    }
    QString toast() const { return store->ui().toast() ? store->ui().toast()->message : QString(); }
    QUuid toastId() const { return store->ui().toast() ? store->ui().toast()->id : QUuid(); }
};
