#include "stats/Breakdown.h"

#include "i18n/L10n.h"
#include "model/Payments.h"
#include "model/StatsFigures.h"
#include "model/Store.h"

#include <cmath>

namespace Breakdown {

double share(double amount, double total)
{
    return StatsFigures::share(amount, total);
}

QString days(const Store& store, double average)
{
    // A client that pays at once reads "0 days".
    const qint64 whole = std::isfinite(average) ? qint64(std::llround(std::max(0.0, average))) : 0;
    return Payments::daysText(whole, store.language());
}

Figures figures(const Store& store, Kind kind, double amount, double total)
{
    if (kind == Kind::daysToPay)
        return {days(store, amount), QString()};
    return {store.percent(share(amount, total)), store.money(amount)};
}

QString text(const Figures& figures)
{
    if (figures.detail.isEmpty())
        return figures.figure;
    return figures.figure + QStringLiteral(" (") + figures.detail + QStringLiteral(")");
}

QString placeholder(const Store& store, Kind kind)
{
    if (kind == Kind::daysToPay)
        return L10n::kNoFigure;
    return store.tr(QStringLiteral("0% ($0)"), QStringLiteral("%0 (0 ₺)"));
}

QString title(const Store& store, Kind kind)
{
    if (kind == Kind::daysToPay)
        return store.tr(QStringLiteral("Slowest Payers"), QStringLiteral("En Geç Ödeyenler"));
    return store.tr(QStringLiteral("Category Breakdown"), QStringLiteral("Kategori Dağılımı"));
}

QString subtitle(const Store& store, Kind kind)
{
    if (kind == Kind::daysToPay)
        return store.tr(QStringLiteral("Average days from pending to paid, per client"),
                        QStringLiteral("Müşteri başına ortalama ödeme süresi"));
    return store.tr(QStringLiteral("Discipline revenue contribution"),
                    QStringLiteral("Uzmanlık alanlarına göre gelir katkısı"));
}

QString sheetTitle(const Store& store, Kind kind)
{
    if (kind == Kind::daysToPay)
        return store.tr(QStringLiteral("All Clients"), QStringLiteral("Tüm Müşteriler"));
    return store.tr(QStringLiteral("All Categories"), QStringLiteral("Tüm Kategoriler"));
}

} // namespace Breakdown
