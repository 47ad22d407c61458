#pragma once

#include "i18n/CurrencyRate.h"
#include "model/Store.h"
#include "ui/Animations.h"

#include <QTemporaryDir>
#include <memory>

// The statistics views' tests: a store that never writes, in English, showing 2025 year by year,
// at a fixed lira rate and without animations.
struct StatsFixture
{
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Store> store;

    void reset()
    {
        Animations::setEnabled(false);
        CurrencyRate::setUsdToTry(32.5);
        dir = std::make_unique<QTemporaryDir>();
        store = std::make_unique<Store>(dir->path(), true);
        store->setLanguage(AppLanguage::en);
        store->setActiveYear(2025);
        store->ui().setStatsAllTime(false);
        setProjects({});
    }

    void setProjects(const QVector<Project>& projects, const QString& currency = QStringLiteral("$"))
    {
        store->update([&](AppData& d) {
            d.currency = currency;
            d.projects = projects;
        });
    }
};
