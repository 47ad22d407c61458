#include "model/LocalMonths.h"

#include <limits>

namespace {

constexpr qint64 kDayMs = 86400000;
// Julian day number of 1970-01-01.
constexpr qint64 kEpochJulianDay = 2440588;

struct Civil
{
    qint64 year;
    int month;
    int day;
};

// Proleptic Gregorian date of a Julian day number (astronomical years: 0 is 1 BC).
Civil civilFromJulianDay(qint64 jd)
{
    // Within about a million years of now: Neri and Schneider's 32-bit form, a few multiplies.
    const qint64 rataDie = jd - kEpochJulianDay;
    if (rataDie > -300000000 && rataDie < 300000000) {
        constexpr quint32 shift = 82;
        constexpr quint32 k = 719468 + 146097 * shift;
        constexpr quint32 l = 400 * shift;
        const quint32 n1 = 4 * (quint32(qint32(rataDie)) + k) + 3;
        const quint32 c = n1 / 146097;
        const quint32 n2 = (n1 % 146097) | 3;
        const quint64 p2 = quint64(2939745) * n2;
        const quint32 z = quint32(p2 >> 32);
        const quint32 ny = quint32(p2) / 2939745 / 4;
        const quint32 n3 = 2141 * ny + 197913;
        const bool january = ny >= 306;
        const quint32 m = n3 / 65536;
        return {qint64(100 * c + z) - l + (january ? 1 : 0), int(january ? m - 12 : m),
                int((n3 % 65536) / 2141 + 1)};
    }
    const qint64 z = jd - kEpochJulianDay + 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const qint64 doe = z - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    const int day = int(doy - (153 * mp + 2) / 5 + 1);
    const int month = int(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

int daysInMonth(qint64 year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month != 2)
        return kDays[month - 1];
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return leap ? 29 : 28;
}

qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

LocalMonths::YearMonth LocalMonths::of(const QDateTime& date)
{
    switch (date.timeSpec()) {
    case Qt::LocalTime:
        return ofLocalDay(date.date());
    case Qt::UTC: {
        if (!date.isValid())
            return {};
        const qint64 ms = date.toMSecsSinceEpoch();
        const Civil c = civilFromJulianDay(floorDiv(ms, kDayMs) + kEpochJulianDay);
        if (c.year > 1 && c.year < 1000000 && c.day > 2 && c.day < daysInMonth(c.year, c.month) - 1)
            return {int(c.year), c.month};
        auto it = m_borderInstants.constFind(ms);
        if (it == m_borderInstants.constEnd())
            it = m_borderInstants.insert(ms, convert(date));
        return *it;
    }
    default:
        return convert(date);
    }
}

LocalMonths::YearMonth LocalMonths::ofLocalDay(const QDate& day)
{
    if (!day.isValid())
        return {};
    const qint64 jd = day.toJulianDay();
    const bool cacheable = jd >= 0 && jd <= std::numeric_limits<qint32>::max();
    if (cacheable) {
        if (m_days.empty())
            m_days.resize(kDaySlots);
        const DaySlot& slot = m_days[size_t(jd % kDaySlots)];
        if (slot.julianDay == jd)
            return {slot.year, slot.month};
    }
    const Civil c = civilFromJulianDay(jd);
    // QDate has no year 0: astronomical year 0 is 1 BC.
    const YearMonth ym{int(c.year > 0 ? c.year : c.year - 1), c.month};
    if (cacheable && ym.year > 0 && ym.year <= std::numeric_limits<qint16>::max())
        m_days[size_t(jd % kDaySlots)] = DaySlot{qint32(jd), qint16(ym.year), qint8(ym.month)};
    return ym;
}

LocalMonths::YearMonth LocalMonths::convert(const QDateTime& date)
{
    ++m_conversions;
    const QDate day = date.toLocalTime().date();
    if (!day.isValid())
        return {};
    return {day.year(), day.month()};
}
