#pragma once

#include "model/Project.h"
#include "model/Status.h"

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

// Repeats removed (first kept), missing statuses appended in declared order.
QVector<Status> normalizedColumnOrder(const QVector<Status>& order);

struct AppData
{
    QString currency = QStringLiteral("$");
    double taxRate = 20;
    double targetGoal = 120000;
    BoardLayout layout = BoardLayout::columns;
    QVector<Status> columnOrder = normalizedColumnOrder({});
    // Status raw value -> colour hex text, stored as written.
    QMap<QString, QString> columnColors;
    QStringList clients;
    QStringList categories;
    QVector<Project> projects;
    // Top-level members this version does not know, kept for writing back.
    QJsonObject extra;

    static AppData empty() { return AppData(); }
    // The example studio; dates relative to the current year, new ids each call.
    static AppData sample();

    bool operator==(const AppData& o) const
    {
        return currency == o.currency && taxRate == o.taxRate && targetGoal == o.targetGoal &&
               layout == o.layout && columnOrder == o.columnOrder && columnColors == o.columnColors &&
               clients == o.clients && categories == o.categories && projects == o.projects &&
               sameMembers(extra, o.extra);
    }
    bool operator!=(const AppData& o) const { return !(*this == o); }
};
