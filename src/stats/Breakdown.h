#pragma once

#include <QString>

class Store;

// What a breakdown card lists, and how its rows read. The rows are NamedTotals against a total:
// - revenue: a category's fees against the gross, read as "12% ($300)";
// - daysToPay: a client's average days to pay against the slowest client's, read as "38 days".
namespace Breakdown {

enum class Kind { revenue, daysToPay };

// The bold figure and the bracketed detail drawn beside a row; the detail may be empty.
struct Figures
{
    QString figure;
    QString detail;
};

// An average number of days in whole days: "1 day", "38 days", "38 gün".
QString days(const Store& store, double average);

// How far a row's track fills, 0 to 1.
double share(double amount, double total);
Figures figures(const Store& store, Kind kind, double amount, double total);
// The figures as one text, as a reader hears them: "12% ($300)", "38 days".
QString text(const Figures& figures);
// The greyed figures of a position without a row. Fixed texts: they follow no currency.
QString placeholder(const Store& store, Kind kind);

// The card's texts in the current language.
QString title(const Store& store, Kind kind);
QString subtitle(const Store& store, Kind kind);
QString sheetTitle(const Store& store, Kind kind);

} // namespace Breakdown
