#pragma once

#include "model/Status.h"

#include <QDateTime>
#include <QString>
#include <QUuid>
#include <optional>

// The same calendar day at 12:00 local time: the first of two when the clocks go back over
// noon, the first time after the skip when they jump over it. Unchanged when no such time can be
// formed, or when it could not be written to the data file (the ends of year 1 and year 9999).
QDateTime atNoon(const QDateTime& moment);
// The data file holds moments from year 1 to year 9999 in UTC.
bool isWritable(const QDateTime& moment);

// Canonical upper-case 8-4-4-4-12 text of an id.
QString uuidText(const QUuid& id);
// Strict reading of the 36-character form in either case.
std::optional<QUuid> uuidFromText(const QString& text);

struct Project
{
    QUuid id;
    QString name;
    QString client;
    QString category;
    double fee = 0;
    double outsource = 0;
    Status status = Status::ongoing;
    QDateTime date;

    // The year of the date in the local calendar.
    int year() const;

    bool operator==(const Project& o) const
    {
        return id == o.id && name == o.name && client == o.client && category == o.category && fee == o.fee &&
               outsource == o.outsource && status == o.status && date == o.date;
    }
    bool operator!=(const Project& o) const { return !(*this == o); }
};
