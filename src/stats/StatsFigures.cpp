#include "stats/StatsFigures.h"

#include "i18n/L10n.h"

#include <QLocale>
#include <algorithm>
#include <map>

namespace StatsFigures {

namespace {

const char16_t* const kTurkishShort[12] = {u"Oca", u"Şub", u"Mar", u"Nis", u"May", u"Haz",
                                           u"Tem", u"Ağu", u"Eyl", u"Eki", u"Kas", u"Ara"};
const char16_t* const kTurkishFull[12] = {u"Ocak",   u"Şubat",   u"Mart",  u"Nisan", u"Mayıs", u"Haziran",
                                          u"Temmuz", u"Ağustos", u"Eylül", u"Ekim",  u"Kasım", u"Aralık"};

int localKey(const QDateTime& date)
{
    const QDate day = date.toLocalTime().date();
    return day.isValid() ? day.year() * 100 + day.month() : 0;
}

} // namespace

int LocalMonths::key(const QDateTime& date)
{
    // Only UTC instants are memoised: their epoch value is free, and the local month of an
    // instant never changes within a pass.
    if (date.timeSpec() != Qt::UTC || !date.isValid())
        return localKey(date);
    const qint64 ms = date.toMSecsSinceEpoch();
    if (m_lastKey >= 0 && ms == m_lastMs)
        return m_lastKey;
    auto it = m_seen.constFind(ms);
    const int k = it != m_seen.constEnd() ? *it : *m_seen.insert(ms, localKey(date));
    m_lastMs = ms;
    m_lastKey = k;
    return k;
}

QVector<PaidEntry> paid(const QVector<Project>& projects, bool allTime, int activeYear)
{
    QVector<PaidEntry> out;
    LocalMonths months;
    for (const Project& p : projects) {
        if (p.status != Status::paid)
            continue;
        const int k = months.key(p.date);
        const int year = k / 100;
        if (!allTime && (k == 0 || year != activeYear))
            continue;
        out.append(PaidEntry{&p, year, k % 100});
    }
    return out;
}

Sums sums(const QVector<PaidEntry>& paid)
{
    Sums s;
    for (const PaidEntry& e : paid) {
        s.gross += e.project->fee;
        s.outsource += e.project->outsource;
    }
    s.net = s.gross - s.outsource;
    return s;
}

QVector<MonthTotal> monthTotals(const QVector<PaidEntry>& paid, AppLanguage language)
{
    QVector<MonthTotal> months(12);
    for (int i = 0; i < 12; ++i) {
        months[i].index = i;
        months[i].label = shortMonthName(language, i + 1);
    }
    for (const PaidEntry& e : paid) {
        if (e.month >= 1 && e.month <= 12)
            months[e.month - 1].value += e.project->fee;
    }
    return months;
}

std::optional<int> peakBar(const QVector<MonthTotal>& months)
{
    if (months.isEmpty())
        return std::nullopt;
    int best = 0;
    for (int i = 1; i < months.size(); ++i) {
        if (months[i].value > months[best].value)
            best = i;
    }
    if (!(months[best].value > 0))
        return std::nullopt;
    return best;
}

std::optional<PeakMonth> peakCalendarMonth(const QVector<PaidEntry>& paid, AppLanguage language, bool allTime)
{
    // Ordered by key, so the first of equal sums is the earlier month.
    std::map<int, double> byMonth;
    for (const PaidEntry& e : paid) {
        if (e.month >= 1 && e.month <= 12)
            byMonth[e.year * 100 + e.month] += e.project->fee;
    }
    auto best = byMonth.cend();
    for (auto it = byMonth.cbegin(); it != byMonth.cend(); ++it) {
        if (best == byMonth.cend() || it->second > best->second)
            best = it;
    }
    if (best == byMonth.cend() || !(best->second > 0))
        return std::nullopt;
    PeakMonth peak;
    peak.year = best->first / 100;
    peak.month = best->first % 100;
    peak.amount = best->second;
    peak.label = fullMonthName(language, peak.month);
    if (allTime)
        peak.label += QLatin1Char(' ') + QString::number(peak.year);
    return peak;
}

bool codePointLess(const QString& a, const QString& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t x = a.at(i).unicode();
        char16_t y = b.at(i).unicode();
        if (x == y)
            continue;
        // Surrogates (supplementary code points) belong after U+E000..U+FFFF.
        const auto fix = [](char16_t u) -> char16_t {
            if (u >= 0xE000)
                return char16_t(u - 0x800);
            if (u >= 0xD800)
                return char16_t(u + 0x2000);
            return u;
        };
        return fix(x) < fix(y);
    }
    return a.size() < b.size();
}

QVector<NamedTotal> totals(const QVector<PaidEntry>& paid, QString Project::*field)
{
    QVector<NamedTotal> out;
    QHash<QString, qsizetype> slot;
    for (const PaidEntry& e : paid) {
        const QString& name = e.project->*field;
        auto it = slot.constFind(name);
        if (it == slot.constEnd()) {
            it = slot.insert(name, out.size());
            out.append(NamedTotal{name, 0});
        }
        out[*it].amount += e.project->fee;
    }
    std::stable_sort(out.begin(), out.end(), [](const NamedTotal& a, const NamedTotal& b) {
        if (a.amount != b.amount)
            return a.amount > b.amount;
        return codePointLess(a.name, b.name);
    });
    return out;
}

std::optional<NamedTotal> topClient(const QVector<PaidEntry>& paid)
{
    const QVector<NamedTotal> clients = totals(paid, &Project::client);
    if (clients.isEmpty())
        return std::nullopt;
    return clients.first();
}

const Project* topProject(const QVector<PaidEntry>& paid)
{
    const Project* best = nullptr;
    for (const PaidEntry& e : paid) {
        if (!best || e.project->fee > best->fee)
            best = e.project;
    }
    return best;
}

QString yearLabel(AppLanguage language, bool allTime, int activeYear)
{
    if (allTime)
        return L10n::tr(language, QStringLiteral("All-Time"), QStringLiteral("Tüm Zamanlar"));
    return QString::number(activeYear);
}

QString shortMonthName(AppLanguage language, int month)
{
    if (month < 1 || month > 12)
        return {};
    if (language == AppLanguage::tr)
        return QString::fromUtf16(kTurkishShort[month - 1]);
    return QLocale().monthName(month, QLocale::ShortFormat);
}

QString fullMonthName(AppLanguage language, int month)
{
    if (month < 1 || month > 12)
        return {};
    if (language == AppLanguage::tr)
        return QString::fromUtf16(kTurkishFull[month - 1]);
    return QLocale().standaloneMonthName(month, QLocale::LongFormat);
}

double share(double amount, double gross)
{
    return gross > 0 ? amount / gross : 0;
}

Figures compute(const QVector<Project>& projects, bool allTime, int activeYear, AppLanguage language)
{
    const QVector<PaidEntry> list = paid(projects, allTime, activeYear);
    Figures f;
    f.paidCount = int(list.size());
    f.sums = sums(list);
    f.months = monthTotals(list, language);
    f.peakBar = peakBar(f.months);
    f.peakMonth = peakCalendarMonth(list, language, allTime);
    f.clients = totals(list, &Project::client);
    f.categories = totals(list, &Project::category);
    if (const Project* top = topProject(list))
        f.topProject = *top;
    return f;
}

} // namespace StatsFigures
