#pragma once

#include "model/Project.h"
#include "model/StoreTypes.h"

#include <QHash>
#include <QString>
#include <QVector>
#include <optional>

// The realised-revenue figures of the statistics page, computed from the projects alone.
// Nothing here is cached between calls: every call reads the projects it is given.
namespace StatsFigures {

// One bar of the monthly chart; index 0 is January.
struct MonthTotal
{
    int index = 0;
    QString label;
    double value = 0;
};

// A client or category with the fees summed over its projects.
struct NamedTotal
{
    QString name;
    double amount = 0;

    bool operator==(const NamedTotal& o) const { return name == o.name && amount == o.amount; }
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

// Local year and month of instants. Converting to local time is the costly part of a pass,
// so one converter serves a whole pass and converts each distinct instant once.
class LocalMonths final
{
public:
    // year * 100 + month of the date in the local calendar; 0 for an invalid date.
    int key(const QDateTime& date);

private:
    QHash<qint64, int> m_seen;
    qint64 m_lastMs = 0;
    int m_lastKey = -1;
};

// The paid projects of the range, in stored order; they point into `projects`, which must
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
// Orders names by Unicode code point (not by UTF-16 unit, which differs past U+FFFF).
bool codePointLess(const QString& a, const QString& b);

std::optional<NamedTotal> topClient(const QVector<PaidEntry>& paid);
// The first project with the largest fee; null when there is none.
const Project* topProject(const QVector<PaidEntry>& paid);

QString yearLabel(AppLanguage language, bool allTime, int activeYear);
QString shortMonthName(AppLanguage language, int month);
QString fullMonthName(AppLanguage language, int month);
// amount / gross, or 0 when gross is not above 0.
double share(double amount, double gross);

// Everything the page shows, in one pass over the projects.
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
