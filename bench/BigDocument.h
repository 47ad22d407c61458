#pragma once

// The large document of the load benchmarks: 100,000 projects over 20 years, 10,000 of them in
// the active year, with 500 clients and 12 categories.
#include "model/AppData.h"

#include <QRandomGenerator>

namespace BigDocument {

inline constexpr int kProjects = 100000;
inline constexpr int kYears = 20;

// `projects` over the years as above; the benchmarks of other sizes take fewer.
inline AppData bigDocument(int projects = kProjects)
{
    AppData d;
    QRandomGenerator rng(42);
    for (int i = 0; i < 500; ++i)
        d.clients.append(QStringLiteral("Client %1").arg(i));
    for (int i = 0; i < 12; ++i)
        d.categories.append(QStringLiteral("Category %1").arg(i));
    const int thisYear = QDate::currentDate().year();
    d.projects.reserve(projects);
    for (int i = 0; i < projects; ++i) {
        Project p;
        p.id = QUuid::createUuid();
        p.name = QStringLiteral("Project %1 for a studio").arg(i);
        p.client = d.clients.at(int(rng.bounded(500)));
        p.category = d.categories.at(int(rng.bounded(12)));
        p.fee = double(rng.bounded(100000)) / 4;
        p.outsource = i % 7 == 0 ? 250 : 0;
        p.status = StatusInfo::all[size_t(i % 3)];
        const int year = thisYear - (i % kYears);
        p.date = QDateTime(QDate(year, 1 + int(rng.bounded(12)), 1 + int(rng.bounded(28))), QTime(12, 0),
                           Qt::LocalTime);
        d.projects.append(p);
    }
    return d;
}

} // namespace BigDocument
