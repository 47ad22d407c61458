#pragma once

#include "model/StoreTypes.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

namespace L10n {
// The one selection rule for every text pair.
inline QString tr(AppLanguage language, const QString& en, const QString& tr)
{
    return language == AppLanguage::tr ? tr : en;
}

// Upper-casing for small section labels: Turkish rules in Turkish (i -> İ).
QString upper(AppLanguage language, const QString& text);

// Shown instead of a figure that is not a finite number.
inline const QString kNoFigure = QStringLiteral("—");
// An amount kept in dollars as the language shows it: in lira (whole, at usdToTry) in
// Turkish, in the document's currency with cents otherwise.
QString money(double amount, AppLanguage language, const QString& currency, double usdToTry);
// A fraction as a whole percentage: "42%", "%42" in Turkish.
QString percent(double fraction, AppLanguage language);
QString tabTitle(MainTab tab, AppLanguage language);
// A calendar day as the language writes it short: "7 Dec 2026", "7 Ara 2026".
// The interface language's own locale (dates, counts), whatever the system's is.
QLocale locale(AppLanguage language);
QString day(const QDate& date, AppLanguage language);
// A number typed into a small field (a rate, a weight, days), in the system locale's format or
// with the other decimal mark; nothing when it is no finite number. Such numbers have no grouping
// to confuse a mark with.
std::optional<double> parseNumber(const QString& text);
} // namespace L10n

// The display currency codes and their labels, in menu order.
namespace Currency {
struct Code
{
    QString code;
    QString label;
};
const QVector<Code>& all();
} // namespace Currency
