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

// A project that counts, with its local calendar year and month read once.
struct PaidEntry
{
    const Project* project = nullptr;
    int year = 0;
    int month = 0; // 0 when the date is unreadable
};

// The paid projects of the range, in stored order. They point into `projects`, which must
// outlive the result and stay unchanged while it is used.
QVector<PaidEntry> paid(const QVector<Project>& projects, bool allTime, int activeYear);

struct Sums
{
    double gross = 0;
    double outsource = 0;
    double net = 0;
};
Sums sums(const QVector<PaidEntry>& paid);

// Twelve totals of fees by calendar month, years folded together.
QVector<MonthTotal> monthTotals(const QVector<PaidEntry>& paid, AppLanguage language);
// The month with the largest total, the earliest on a tie; absent unless that total is above 0.
std::optional<int> peakBar(const QVector<MonthTotal>& months);
std::optional<PeakMonth> peakCalendarMonth(const QVector<PaidEntry>& paid, AppLanguage language,
                                           bool allTime);

// Fee totals grouped by the exact text of a field, largest first, equal amounts by name
// in code-point order.
QVector<NamedTotal> totals(const QVector<PaidEntry>& paid, QString Project::*field);
std::optional<NamedTotal> topClient(const QVector<PaidEntry>& paid);
// The first project with the largest fee; null when there is none.
const Project* topProject(const QVector<PaidEntry>& paid);

QString yearLabel(AppLanguage language, bool allTime, int activeYear);
QString shortMonthName(AppLanguage language, int month);
QString fullMonthName(AppLanguage language, int month);
// amount / gross, or 0 when gross is not above 0.
double share(double amount, double gross);

// Everything the page shows. One pass over the projects; the same results as the
// functions above.
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
