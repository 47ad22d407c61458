#pragma once

#include "TestProjects.h"
#include "model/Store.h"

#include <QTemporaryDir>
#include <memory>

// A store with a known document in the active year, for the board's tests and the core tests
// of the board's lists.
namespace BoardFixture {

inline Project project(const QString& name, Status status, double fee, double outsource = 0,
                       const QString& client = QStringLiteral("Acme"),
                       const QString& category = QStringLiteral("Branding"), int yearOffset = 0)
{
    return TestProjects::make(name, fee, TestProjects::noon(QDate(Store::currentYear() + yearOffset, 3, 14)),
                              status, client, category, outsource);
}

// A store that never writes (sample-only), holding exactly `projects`.
inline std::unique_ptr<Store> store(const QTemporaryDir& dir, const QVector<Project>& projects)
{
    auto s = std::make_unique<Store>(dir.path(), true);
    s->update([&](AppData& d) {
        d = AppData::empty();
        d.projects = projects;
    });
    s->ui().setToast(std::nullopt);
    return s;
}

} // namespace BoardFixture
