#include "model/StatsFigures.h"

#include "i18n/L10n.h"
#include "model/LocalMonths.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace StatsFigures {

namespace {

const char16_t* const kTurkishShort[12] = {u"Oca", u"Şub", u"Mar", u"Nis", u"May", u"Haz",
                                           u"Tem", u"Ağu", u"Eyl", u"Eki", u"Kas", u"Ara"};
const char16_t* const kTurkishFull[12] = {u"Ocak",   u"Şubat",   u"Mart",  u"Nisan", u"Mayıs", u"Haziran",
                                          u"Temmuz", u"Ağustos", u"Eylül", u"Ekim",  u"Kasım", u"Aralık"};

// Calls `visit(project, year, month)` for each paid project of the range, in stored order.
template <class Visit>
void forEachPaid(const QVector<Project>& projects, bool allTime, int activeYear, Visit visit)
{
    LocalMonths local;
    for (const Project& p : projects) {
        if (p.status != Status::paid)
            continue;
        const LocalMonths::YearMonth ym = local.of(p.date);
        if (!allTime && (ym.month == 0 || ym.year != activeYear))
            continue;
        visit(p, ym.year, ym.month);
    }
}

// Fee sums by year and month, in key order. Years near each other share one flat array;
// a far outlier goes to a map so one odd date cannot make the array huge.
class YearMonthSums final
{
    using YearMonth = std::pair<int, int>;

public:
    void add(int year, int month, double fee)
    {
        if (month < 1 || month > 12)
            return;
        if (m_flat.empty()) {
            m_firstYear = year;
            m_flat.assign(12, 0.0);
        }
        const qint64 index = (qint64(year) - m_firstYear) * 12 + (month - 1);
        if (index >= 0 && index < qint64(m_flat.size())) {
            m_flat[size_t(index)] += fee;
            return;
        }
        const qint64 lastYear = m_firstYear + qint64(m_flat.size()) / 12 - 1;
        const qint64 span = std::max<qint64>(lastYear, year) - std::min<qint64>(m_firstYear, year) + 1;
        if (span > kMaxFlatYears) {
            m_outliers[{year, month}] += fee;
            return;
        }
        if (year < m_firstYear) {
            m_flat.insert(m_flat.begin(), size_t(m_firstYear - year) * 12, 0.0);
            m_firstYear = year;
        } else {
            m_flat.resize(size_t(year - m_firstYear + 1) * 12, 0.0);
        }
        m_flat[size_t((qint64(year) - m_firstYear) * 12 + (month - 1))] += fee;
    }

    // The month with the largest sum, the earlier one on a tie; absent unless that sum is above 0.
    std::optional<PeakMonth> peak() const
    {
        std::map<YearMonth, double> all(m_outliers.begin(), m_outliers.end());
        for (size_t i = 0; i < m_flat.size(); ++i) {
            if (m_flat[i] != 0)
                all[{m_firstYear + int(i / 12), int(i % 12) + 1}] += m_flat[i];
        }
        std::optional<PeakMonth> best;
        for (const auto& [key, sum] : all) {
            if (!best || sum > best->amount)
                best = PeakMonth{key.first, key.second, sum, {}};
        }
        if (!best || !(best->amount > 0))
            return std::nullopt;
        return best;
    }

private:
    static constexpr qint64 kMaxFlatYears = 20000;
    int m_firstYear = 0;
    std::vector<double> m_flat;
    std::map<YearMonth, double> m_outliers;
};

QVector<MonthTotal> labelledMonths(const std::array<double, 12>& values, AppLanguage language)
{
    QVector<MonthTotal> months(12);
    for (int i = 0; i < 12; ++i)
        months[i] = MonthTotal{i, shortMonthName(language, i + 1), values[size_t(i)]};
    return months;
}

std::optional<PeakMonth> peakFrom(const YearMonthSums& sums, AppLanguage language, bool allTime)
{
    std::optional<PeakMonth> peak = sums.peak();
    if (!peak)
        return std::nullopt;
    peak->label = fullMonthName(language, peak->month);
    if (allTime)
        peak->label += QLatin1Char(' ') + QString::number(peak->year);
    return peak;
}

} // namespace

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
    Figures f;
    std::array<double, 12> months{};
    YearMonthSums byMonth;
    TextTotals clients;
    TextTotals categories;
    const Project* top = nullptr;
    forEachPaid(projects, allTime, activeYear, [&](const Project& p, int year, int month) {
        ++f.paidCount;
        f.sums.gross += p.fee;
        f.sums.outsource += p.outsource;
        if (month >= 1 && month <= 12) {
            months[size_t(month - 1)] += p.fee;
            byMonth.add(year, month, p.fee);
        }
        clients.add(p.client, p.fee);
        categories.add(p.category, p.fee);
        if (!top || p.fee > top->fee)
            top = &p;
    });
    f.sums.net = f.sums.gross - f.sums.outsource;
    f.months = labelledMonths(months, language);
    f.peakBar = peakBar(f.months);
    f.peakMonth = peakFrom(byMonth, language, allTime);
    f.clients = clients.sorted();
    f.categories = categories.sorted();
    if (top)
        f.topProject = *top;
    return f;
}

} // namespace StatsFigures
