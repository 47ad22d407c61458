#include "OracleNoon.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace {

constexpr qint64 kHourMs = 3600 * 1000;
constexpr qint64 kDayMs = 24 * kHourMs;
constexpr qint64 kJulianDayOfEpoch = 2440588;

// Each local-time conversion costs a system call when TZ is unset (glibc checks /etc/localtime),
// so the offset is read from the local date and time of one conversion, not asked for again.
qint64 offsetMsAt(qint64 instantMs)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(instantMs, Qt::LocalTime);
    if (!local.isValid())
        return qint64(local.offsetFromUtc()) * 1000;
    const qint64 wall =
        (local.date().toJulianDay() - kJulianDayOfEpoch) * kDayMs + local.time().msecsSinceStartOfDay();
    return wall - instantMs;
}

qint64 floorSeconds(qint64 ms)
{
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

// The offsets looked up for one wall time: the candidates often fall on instants already asked.
class Offsets
{
public:
    qint64 at(qint64 instantMs)
    {
        for (int i = 0; i < m_count; ++i) {
            if (m_instants[i] == instantMs)
                return m_offsets[i];
        }
        const qint64 offset = offsetMsAt(instantMs);
        if (m_count < kSize) {
            m_instants[m_count] = instantMs;
            m_offsets[m_count++] = offset;
        }
        return offset;
    }
    // The local wall time of an instant, in milliseconds on the same scale as `wall` below.
    qint64 wallAt(qint64 instantMs) { return instantMs + at(instantMs); }

private:
    static constexpr int kSize = 8;
    qint64 m_instants[kSize] = {};
    qint64 m_offsets[kSize] = {};
    int m_count = 0;
};

// The first instant whose local wall time is `wall` (a wall time counted as if it were UTC), or,
// when the clocks skip it, the first instant after the skip. Transitions are looked for within six
// hours either side: more than any change of offset that does not skip a whole day.
std::optional<qint64> firstInstantAt(qint64 wall)
{
    constexpr qint64 kReach = 6 * kHourMs;
    Offsets known;
    const qint64 guess = wall - known.at(wall);
    qint64 offsets[3] = {known.at(guess - kReach), known.at(guess), known.at(guess + kReach)};
    std::optional<qint64> first;
    for (const qint64 offset : offsets) {
        const qint64 instant = wall - offset;
        if (known.wallAt(instant) == wall && (!first || instant < *first))
            first = instant;
    }
    if (first)
        return first;
    // Skipped: the wall time lies in a gap between the offset before and the larger one after.
    // The gap ends at the transition, the first instant whose wall time is past `wall`.
    // Offsets change on whole seconds, so the search runs over seconds.
    std::sort(std::begin(offsets), std::end(offsets));
    qint64 lo = floorSeconds(wall - offsets[2]);     // wall time before `wall`
    qint64 hi = floorSeconds(wall - offsets[0]) + 1; // wall time past it
    if (known.wallAt(lo * 1000) > wall || known.wallAt(hi * 1000) <= wall)
        return std::nullopt;
    while (hi - lo > 1) {
        const qint64 mid = lo + (hi - lo) / 2;
        (known.wallAt(mid * 1000) > wall ? hi : lo) = mid;
    }
    return hi * 1000;
}

bool isWritable(const QDateTime& moment)
{
    if (!moment.isValid())
        return false;
    const int year = moment.toUTC().date().year();
    return year >= 1 && year <= 9999;
}

} // namespace

namespace Oracle {

QDateTime atNoon(const QDateTime& moment)
{
    if (!moment.isValid())
        return moment;
    const QDate day = moment.toLocalTime().date();
    if (!day.isValid())
        return moment;
    const qint64 wall = QDateTime(day, QTime(12, 0), Qt::UTC).toMSecsSinceEpoch();
    const std::optional<qint64> instant = firstInstantAt(wall);
    if (!instant)
        return moment;
    const QDateTime noon = QDateTime::fromMSecsSinceEpoch(*instant, Qt::LocalTime);
    // Near the ends of the calendar a day's noon may fall outside what the data file can hold;
    // the moment that was read is kept then, so every date read can be written back.
    if (noon.date() != day || !isWritable(QDateTime::fromMSecsSinceEpoch(*instant, Qt::UTC)))
        return moment;
    return noon;
}

} // namespace Oracle
