#pragma once

#include "model/Project.h"

#include <QDateTime>
#include <QUuid>

// The one way tests make a project; the fixtures of each folder add their own defaults.
namespace TestProjects {

// Local noon of a day: how the application keeps every date.
inline QDateTime noon(const QDate& day)
{
    return QDateTime(day, QTime(12, 0), Qt::LocalTime);
}

// A project with a fresh id.
inline Project make(const QString& name, double fee, const QDateTime& date, Status status,
                    const QString& client, const QString& category, double outsource = 0)
{
    Project p;
    p.id = QUuid::createUuid();
    p.name = name;
    p.client = client;
    p.category = category;
    p.fee = fee;
    p.outsource = outsource;
    p.status = status;
    p.date = date;
    return p;
}

} // namespace TestProjects
