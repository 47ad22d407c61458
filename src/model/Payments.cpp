#include "model/Payments.h"

#include "i18n/L10n.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace Payments {

namespace {

QString daysEn(qint64 n)
{
    return n == 1 ? QStringLiteral("1 day") : QStringLiteral("%1 days").arg(n);
}

double clampedPercent(double percent)
{
    return std::isfinite(percent) ? std::clamp(percent, 0.0, 100.0) : 0.0;
}

} // namespace

void applyMove(Project& p, Status to, const QDate& today, int termsDays)
{
    const Status from = p.status;
    if (from == to)
        return;
    p.status = to;
    if (from == Status::paid)
        p.paidOn = QDate();
    switch (to) {
    case Status::pending:
        if (!p.pendingSince.isValid())
            p.pendingSince = today;
        if (!p.dueDate.isValid() && p.pendingSince.isValid())
            p.dueDate = p.pendingSince.addDays(std::max(0, termsDays));
        break;
    case Status::paid:
        p.paidOn = today;
        break;
    case Status::ongoing:
        p.pendingSince = QDate();
        p.dueDate = QDate();
        break;
    }
}

void applyEdit(Project& edited, const Project* stored, const QDate& today, int termsDays)
{
    Project base = edited;
    if (stored) {
        StatusDays::of(*stored).applyTo(base);
    } else {
        // A new project starts in the works, with no days set.
        StatusDays{}.applyTo(base);
    }
    if (base.status == edited.status)
        return;
    Project moved = base;
    applyMove(moved, edited.status, today, termsDays);
    // A day the editor changed is the user's: kept as given.
    for (QDate Project::*day : {&Project::pendingSince, &Project::dueDate, &Project::paidOn}) {
        if (edited.*day == base.*day)
            edited.*day = moved.*day;
    }
}

bool dueDateValid(const Project& p)
{
    return !p.pendingSince.isValid() || !p.dueDate.isValid() || p.dueDate >= p.pendingSince;
}

std::optional<int> daysOverdue(const Project& p, const QDate& today)
{
    if (p.status != Status::pending || !p.dueDate.isValid() || !today.isValid() || today <= p.dueDate)
        return std::nullopt;
    return int(std::min<qint64>(p.dueDate.daysTo(today), INT_MAX));
}

QString dueText(const Project& p, const QDate& today, AppLanguage language)
{
    if (p.status != Status::pending || !p.dueDate.isValid() || !today.isValid())
        return {};
    const qint64 left = today.daysTo(p.dueDate);
    // Turkish takes no plural after a number.
    if (left == 0)
        return L10n::tr(language, QStringLiteral("Due today"), QStringLiteral("Bugün ödenmeli"));
    if (left > 0)
        return L10n::tr(language, QStringLiteral("Due in ") + daysEn(left),
                        QStringLiteral("%1 gün içinde").arg(left));
    return L10n::tr(language, daysEn(-left) + QStringLiteral(" overdue"),
                    QStringLiteral("%1 gün gecikti").arg(-left));
}

QString daysText(qint64 days, AppLanguage language)
{
    return L10n::tr(language, daysEn(days), QStringLiteral("%1 gün").arg(days));
}

QString termsText(int days, AppLanguage language)
{
    if (days <= 0)
        return L10n::tr(language, QStringLiteral("due on receipt"), QStringLiteral("teslimde ödeme"));
    return L10n::tr(language, QStringLiteral("%1-day terms").arg(days),
                    QStringLiteral("%1 gün vade").arg(days));
}

Overdue overdue(const QVector<Project>& projects, const AppData& data, const QDate& today)
{
    Overdue out;
    for (const Project& p : projects) {
        const auto days = daysOverdue(p, today);
        if (!days)
            continue;
        out.amount += p.fee;
        ++out.count;
        out.projects.append({p, *days, data.termsDays(p.client)});
    }
    std::stable_sort(out.projects.begin(), out.projects.end(),
                     [](const OverdueProject& a, const OverdueProject& b) {
                         if (a.days != b.days)
                             return a.days > b.days;
                         return a.project.name < b.project.name;
                     });
    return out;
}

QString overdueSummary(const Overdue& o, AppLanguage language, const std::function<QString(double)>& money)
{
    if (o.count == 0)
        return {};
    const QString amount = money(o.amount);
    return L10n::tr(language,
                    QStringLiteral("Overdue: %1 in %2")
                        .arg(amount, o.count == 1 ? QStringLiteral("1 project")
                                                  : QStringLiteral("%1 projects").arg(o.count)),
                    QStringLiteral("Gecikmede: %1 · %2 proje").arg(amount).arg(o.count));
}

QString chaseText(const Overdue& o, AppLanguage language, const std::function<QString(double)>& money)
{
    if (o.count == 0)
        return {};
    const QString separator = QStringLiteral(" · ");
    QStringList lines{overdueSummary(o, language, money), QString()};
    for (const OverdueProject& item : o.projects) {
        const QString overdueText = L10n::tr(language, daysEn(item.days) + QStringLiteral(" overdue"),
                                             QStringLiteral("%1 gün gecikti").arg(item.days));
        QStringList fields{item.project.name, item.project.client, money(item.project.fee), overdueText,
                           termsText(item.termsDays, language)};
        if (item.project.client.isEmpty())
            fields.removeAt(1);
        lines.append(QStringLiteral("- ") + fields.join(separator));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

DaysToPay daysToPay(const QVector<Project>& projects, bool allTime, int activeYear)
{
    DaysToPay out;
    qint64 total = 0;
    struct Sum
    {
        qint64 days = 0;
        int count = 0;
    };
    QHash<QString, Sum> byClient;
    for (const Project& p : projects) {
        if (p.status != Status::paid || !p.pendingSince.isValid() || !p.paidOn.isValid())
            continue;
        if (!allTime && p.year() != activeYear)
            continue;
        const qint64 days = std::max<qint64>(0, p.pendingSince.daysTo(p.paidOn));
        total += days;
        ++out.count;
        Sum& s = byClient[p.client];
        s.days += days;
        ++s.count;
    }
    if (out.count == 0)
        return out;
    out.averageDays = double(total) / out.count;
    for (auto it = byClient.cbegin(); it != byClient.cend(); ++it)
        out.clients.append({it.key(), double(it->days) / it->count, it->count});
    std::sort(out.clients.begin(), out.clients.end(), [](const ClientDays& a, const ClientDays& b) {
        if (a.averageDays != b.averageDays)
            return a.averageDays > b.averageDays;
        return a.client < b.client;
    });
    return out;
}

Forecast forecast(double paid, double pending, double ongoing, double pendingPercent, double ongoingPercent,
                  double target)
{
    Forecast f;
    f.paid = paid;
    f.pending = pending;
    f.ongoing = ongoing;
    f.amount = f.paid + f.pending * clampedPercent(pendingPercent) / 100 +
               f.ongoing * clampedPercent(ongoingPercent) / 100;
    f.shown = target > 0 && std::isfinite(target);
    f.fraction = f.shown ? f.amount / target : 0;
    return f;
}

Forecast forecast(const QVector<Project>& projects, double pendingPercent, double ongoingPercent,
                  double target)
{
    Forecast f;
    for (const Project& p : projects) {
        switch (p.status) {
        case Status::paid:
            f.paid += p.fee;
            break;
        case Status::pending:
            f.pending += p.fee;
            break;
        case Status::ongoing:
            f.ongoing += p.fee;
            break;
        }
    }
    return forecast(f.paid, f.pending, f.ongoing, pendingPercent, ongoingPercent, target);
}

QString forecastText(const Forecast& f, AppLanguage language, const std::function<QString(double)>& money)
{
    if (!f.shown)
        return {};
    // An estimate: whole units, never the cents its weights happen to produce.
    const QString amount = money(std::round(f.amount));
    const QString share = L10n::percent(f.fraction, language);
    return L10n::tr(language, QStringLiteral("Forecast: %1 · %2 of target").arg(amount, share),
                    QStringLiteral("Tahmin: %1 · hedefe oranı %2").arg(amount, share));
}

} // namespace Payments
