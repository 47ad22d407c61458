#pragma once

#include "model/Project.h"
#include "model/Status.h"

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// Repeats removed (first kept), missing statuses appended in declared order.
QVector<Status> normalizedColumnOrder(const QVector<Status>& order);

struct AppData
{
    // Days a client has to pay when nothing else is agreed; 0 means due on receipt.
    static constexpr int kDefaultTermsDays = 30;
    static constexpr int kMaxTermsDays = 3650;
    // The forecast's weights of pending and in-the-works fees when the document sets none.
    static constexpr double kDefaultForecastPendingPercent = 90;
    static constexpr double kDefaultForecastOngoingPercent = 50;

    QString currency = QStringLiteral("$");
    double taxRate = 20;
    double targetGoal = 120000;
    BoardLayout layout = BoardLayout::columns;
    QVector<Status> columnOrder = normalizedColumnOrder({});
    // Status raw value -> colour hex text, stored as written.
    QMap<QString, QString> columnColors;
    QStringList clients;
    // Client name -> payment terms in days, only where they differ from kDefaultTermsDays.
    QMap<QString, int> clientTerms;
    QStringList categories;
    QVector<Project> projects;
    // Written only when set; read through forecastWeights().
    std::optional<double> forecastPendingPercent;
    std::optional<double> forecastOngoingPercent;
    // Top-level members this version does not know, kept for writing back.
    QJsonObject extra;

    static AppData empty() { return AppData(); }
    // The example studio; dates relative to the current year, new ids each call.
    static AppData sample();

    // The client's payment terms in days.
    int termsDays(const QString& client) const { return clientTerms.value(client, kDefaultTermsDays); }

    bool operator==(const AppData& o) const
    {
        return currency == o.currency && taxRate == o.taxRate && targetGoal == o.targetGoal &&
               layout == o.layout && columnOrder == o.columnOrder && columnColors == o.columnColors &&
               clients == o.clients && clientTerms == o.clientTerms && categories == o.categories &&
               projects == o.projects && forecastPendingPercent == o.forecastPendingPercent &&
               forecastOngoingPercent == o.forecastOngoingPercent && sameMembers(extra, o.extra);
    }
    bool operator!=(const AppData& o) const { return !(*this == o); }
};
