#pragma once

#include "model/AppData.h"
#include "model/StoreTypes.h"

#include <QDate>
#include <QString>
#include <QVector>
#include <functional>
#include <optional>

// When projects are paid: the days of the payment cycle a status move sets, what is overdue,
// how long clients take to pay, and the year's forecast. Days are local calendar days; "today"
// is always given.
namespace Payments {

// A project's status and payment days, as a move found them (what its undo puts back).
struct StatusDays
{
    Status status = Status::ongoing;
    QDate pendingSince;
    QDate dueDate;
    QDate paidOn;

    static StatusDays of(const Project& p) { return {p.status, p.pendingSince, p.dueDate, p.paidOn}; }
    void applyTo(Project& p) const
    {
        p.status = status;
        p.pendingSince = pendingSince;
        p.dueDate = dueDate;
        p.paidOn = paidOn;
    }
    bool operator==(const StatusDays& o) const
    {
        return status == o.status && pendingSince == o.pendingSince && dueDate == o.dueDate &&
               paidOn == o.paidOn;
    }
};

// The one rule for a change of status on `today` with the client's terms in days:
// - into Pending: pendingSince set to today unless set, dueDate to pendingSince + terms unless set;
// - into Paid: paidOn today;
// - out of Paid: paidOn cleared;
// - into In the Works: pendingSince and dueDate cleared.
// Nothing changes when the status is already `to`.
void applyMove(Project& p, Status to, const QDate& today, int termsDays);

// What the editor saves over `stored` (none for a new project): on a change of status the move's
// days, except those the editor changed itself, which are kept as given.
void applyEdit(Project& edited, const Project* stored, const QDate& today, int termsDays);

// Whether a project shows a due text at all (a Pending one with a due day); unlike the text, this
// does not change with the day.
inline bool showsDue(const Project& p)
{
    return p.status == Status::pending && p.dueDate.isValid();
}

// False only when both are set and the due day comes before pendingSince.
bool dueDateValid(const Project& p);

// Days past dueDate; only for a Pending project whose dueDate is before today.
std::optional<int> daysOverdue(const Project& p, const QDate& today);

// "Due in 5 days", "Due today", "12 days overdue" (Turkish "5 gün içinde", "Bugün ödenmeli",
// "12 gün gecikti"); empty unless the project is Pending with a dueDate.
QString dueText(const Project& p, const QDate& today, AppLanguage language);

// A number of days: "1 day", "12 days" (Turkish "12 gün").
QString daysText(qint64 days, AppLanguage language);

// "30-day terms", "due on receipt" (Turkish "30 gün vade", "teslimde ödeme").
QString termsText(int days, AppLanguage language);

struct OverdueProject
{
    Project project;
    int days = 0;
    int termsDays = AppData::kDefaultTermsDays;
};

struct Overdue
{
    double amount = 0; // fees
    int count = 0;
    // Most days overdue first; equal days by name, then by stored order.
    QVector<OverdueProject> projects;
};

// The overdue ones among `projects`, with each client's terms from `data`.
Overdue overdue(const QVector<Project>& projects, const AppData& data, const QDate& today);

// "Overdue: $4,300 in 2 projects" (Turkish "Gecikmede: ₺… · 2 proje"); empty when none is overdue.
// `money` formats an amount as the board does.
QString overdueSummary(const Overdue& o, AppLanguage language, const std::function<QString(double)>& money);

// The chase list as text for an e-mail: the summary, then one line per project:
// "Site · Acme · $4,300.00 · 12 days overdue · 30-day terms".
QString chaseText(const Overdue& o, AppLanguage language, const std::function<QString(double)>& money);

struct ClientDays
{
    QString client;
    double averageDays = 0;
    int count = 0;

    bool operator==(const ClientDays& o) const
    {
        return client == o.client && averageDays == o.averageDays && count == o.count;
    }
};

struct DaysToPay
{
    // Over the paid projects of the range that have pendingSince and paidOn; none without any.
    std::optional<double> averageDays;
    int count = 0;
    // Every client's average, slowest first (equal ones by name).
    QVector<ClientDays> clients;
    // The first five of `clients`.
    QVector<ClientDays> slowest() const { return clients.mid(0, 5); }
};

// A project paid before it was marked pending counts as paid at once (0 days). The range is the
// active year by each project's date, or every year when `allTime`.
DaysToPay daysToPay(const QVector<Project>& projects, bool allTime, int activeYear);

struct Forecast
{
    double paid = 0;
    double pending = 0;
    double ongoing = 0;
    double amount = 0;   // paid + pending share + in-the-works share
    double fraction = 0; // of the target; 0 when there is no target
    bool shown = false;  // only with a target above 0
};

// Weights are percentages, clamped to 0-100.
Forecast forecast(double paid, double pending, double ongoing, double pendingPercent, double ongoingPercent,
                  double target);
// The same from the fees of `projects`.
Forecast forecast(const QVector<Project>& projects, double pendingPercent, double ongoingPercent,
                  double target);

// "Forecast: $96,400 · 80% of target" (Turkish "Tahmin: ₺… · hedefe oranı %80"); empty when not shown.
QString forecastText(const Forecast& f, AppLanguage language, const std::function<QString(double)>& money);

} // namespace Payments
