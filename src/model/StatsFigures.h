#pragma once

#include "model/Project.h"
#include "model/StoreTypes.h"
#include "model/TextTotals.h"

#include <QString>
#include <QVector>
#include <optional>

// The realised-revenue figures of the statistics page, computed from the projects alone.
// Nothing is kept between calls: every call reads the projects it is given.
namespace StatsFigures {

// One bar of the monthly chart; index 0 is January.
struct MonthTotal
{
    int index = 0;
    QString label;
    double value = 0;
};

// The best single calendar month (years kept apart).
struct PeakMonth
{
    int year = 0;
    int month = 0; // 1 to 12
    double amount = 0;
    QString label;
};

struct Sums
{
    double gross = 0;
    double outsource = 0;
    double net = 0;
};

// The month with the largest total, the earliest on a tie; absent unless that total is above 0.
std::optional<int> peakBar(const QVector<MonthTotal>& months);

QString yearLabel(AppLanguage language, bool allTime, int activeYear);
QString shortMonthName(AppLanguage language, int month);
QString fullMonthName(AppLanguage language, int month);
// amount / gross, or 0 when gross is not above 0.
double share(double amount, double gross);

// Everything the page shows, from the paid projects of the range (all years when `allTime`),
// in one pass:
// - sums of fees and outsourcing, and net = gross - outsourcing;
// - twelve totals of fees by calendar month, years folded together, and their peakBar;
// - the best single calendar month (years kept apart; the earliest on a tie; absent unless its
//   total is above 0), labelled with the month's full name, and the year when `allTime`;
// - fee totals grouped by the exact text of the client and of the category, largest first,
//   equal amounts by name in code-point order;
// - the first project with the largest fee.
// A project whose date cannot be read counts in all-time sums and groups, but in no month.
struct Figures
{
    int paidCount = 0;
    Sums sums;
    QVector<MonthTotal> months;
    std::optional<int> peakBar;
    std::optional<PeakMonth> peakMonth;
    QVector<NamedTotal> clients;
    QVector<NamedTotal> categories;
    std::optional<Project> topProject;
};
Figures compute(const QVector<Project>& projects, bool allTime, int activeYear, AppLanguage language);

} // namespace StatsFigures
