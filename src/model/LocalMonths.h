#pragma once

#include <QDateTime>
#include <QHash>
#include <vector>

// The local calendar year and month of many dates in one pass, exactly as
// `date.toLocalTime().date()` gives them, without converting every date to local time.
//
// Dates held in local time already carry their local day. For an instant held in UTC the
// local date lies less than two days from the UTC date (no UTC offset reaches 48 hours), so
// away from the first and last two days of a UTC month the local month is the UTC month.
// Only instants in those border days are converted, each distinct instant once.
class LocalMonths final
{
public:
    struct YearMonth
    {
        int year = 0;
        int month = 0; // 1 to 12; 0 when the date is unreadable
    };

    YearMonth of(const QDateTime& date);

    // Conversions done so far (tests, diagnostics).
    int conversions() const { return m_conversions; }

private:
    YearMonth convert(const QDateTime& date);
    YearMonth ofLocalDay(const QDate& day);

    // Year and month of recently met days, by Julian day: a decade of days fits without
    // two of them sharing a slot.
    struct DaySlot
    {
        qint32 julianDay = -1;
        qint16 year = 0;
        qint8 month = 0;
    };
    static constexpr int kDaySlots = 4096;
    std::vector<DaySlot> m_days;
    QHash<qint64, YearMonth> m_borderInstants;
    int m_conversions = 0;
};
