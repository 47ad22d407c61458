#pragma once

#include "model/Status.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QUuid>
#include <QVector>
#include <optional>
#include <utility>

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

// An object's members by key. Not simply its order: an object Qt parsed from keys that begin with
// a byte-order mark is out of order (it sorts them with the mark, then drops it).
QVector<std::pair<QString, QJsonValue>> sortedMembers(const QJsonObject& o);
// Equal JSON members, compared value by value: QJsonObject's own == also compares how Qt
// stored each text (a parsed one and a built one can differ).
bool sameMembers(const QJsonObject& a, const QJsonObject& b);

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
    // Calendar days of the payment cycle; invalid when not set. Kept by the status moves (see
    // Payments::applyMove), written only when set.
    QDate pendingSince;
    QDate dueDate;
    QDate paidOn;
    // Members of the file's project object that this version does not know, written back as
    // they were read (a file from a later version survives a save here).
    QJsonObject extra;

    // The day and the year of the date in the local calendar.
    QDate localDay() const;
    int year() const;

    bool operator==(const Project& o) const
    {
        return id == o.id && name == o.name && client == o.client && category == o.category && fee == o.fee &&
               outsource == o.outsource && status == o.status && date == o.date &&
               pendingSince == o.pendingSince && dueDate == o.dueDate && paidOn == o.paidOn &&
               sameMembers(extra, o.extra);
    }
    bool operator!=(const Project& o) const { return !(*this == o); }
};
