#pragma once

#include "model/Project.h"

#include <QUuid>

// Projects for the statistics tests, dated at local noon as the application keeps them.
namespace StatsTestData {

inline Project project(const QString& name, double fee, int year, int month, Status status = Status::paid,
                       const QString& client = QStringLiteral("Client"),
                       const QString& category = QStringLiteral("Branding"), double outsource = 0)
{
    Project p;
    p.id = QUuid::createUuid();
    p.name = name;
    p.client = client;
    p.category = category;
    p.fee = fee;
    p.outsource = outsource;
    p.status = status;
    p.date = QDateTime(QDate(year, month, 15), QTime(12, 0), Qt::LocalTime);
    return p;
}

} // namespace StatsTestData
