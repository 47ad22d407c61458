#include "model/Project.h"

#include "model/Text.h"

#include <QTimeZone>
#include <algorithm>
#include <iterator>

namespace {

constexpr qint64 kHourMs = 3600 * 1000;

// The offsets asked for while finding one day's noon, each worked out once: the instants asked
// about repeat (the moment read is usually that noon itself), and each look costs a conversion
// through the C library's zone rules.
class Offsets
{
public:
    qint64 at(qint64 instantMs)
    {
        for (int i = 0; i < m_count; ++i) {
            if (m_instants[i] == instantMs)
                return m_offsets[i];
        }
        const qint64 offset =
            qint64(QDateTime::fromMSecsSinceEpoch(instantMs, Qt::LocalTime).offsetFromUtc()) * 1000;
        remember(instantMs, offset);
        return offset;
    }
    void remember(qint64 instantMs, qint64 offset)
    {
        if (m_count == kSize)
            m_count = 0; // a few dozen looks at most: start over
        m_instants[m_count] = instantMs;
        m_offsets[m_count] = offset;
        ++m_count;
    }

private:
    static constexpr int kSize = 16;
    qint64 m_instants[kSize];
    qint64 m_offsets[kSize];
    int m_count = 0;
};

qint64 floorSeconds(qint64 ms)
{
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

// The first instant whose local wall time is `wall` (a wall time counted as if it were UTC), or,
// when the clocks skip it, the first instant after the skip. Transitions are looked for within six
// hours either side: more than any change of offset that does not skip a whole day.
std::optional<qint64> firstInstantAt(qint64 wall, Offsets& offsetAt)
{
    // The local wall time of an instant, in milliseconds on the same scale as `wall`.
    const auto wallAt = [&offsetAt](qint64 instantMs) { return instantMs + offsetAt.at(instantMs); };
    constexpr qint64 kReach = 6 * kHourMs;
    const qint64 guess = wall - offsetAt.at(wall);
    qint64 offsets[3] = {offsetAt.at(guess - kReach), offsetAt.at(guess), offsetAt.at(guess + kReach)};
    std::optional<qint64> first;
    for (const qint64 offset : offsets) {
        const qint64 instant = wall - offset;
        if (wallAt(instant) == wall && (!first || instant < *first))
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
    if (wallAt(lo * 1000) > wall || wallAt(hi * 1000) <= wall)
        return std::nullopt;
    while (hi - lo > 1) {
        const qint64 mid = lo + (hi - lo) / 2;
        (wallAt(mid * 1000) > wall ? hi : lo) = mid;
    }
    return hi * 1000;
}

} // namespace

bool isWritable(const QDateTime& moment)
{
    if (!moment.isValid())
        return false;
    const int year = moment.toUTC().date().year();
    return year >= 1 && year <= 9999;
}

QDateTime atNoon(const QDateTime& moment)
{
    if (!moment.isValid())
        return moment;
    const QDateTime local = moment.toLocalTime();
    const QDate day = local.date();
    if (!day.isValid())
        return moment;
    Offsets offsets;
    // A moment read from the file is in UTC: its local form is that instant's own conversion.
    if (moment.timeSpec() == Qt::UTC)
        offsets.remember(local.toMSecsSinceEpoch(), qint64(local.offsetFromUtc()) * 1000);
    const qint64 wall = QDateTime(day, QTime(12, 0), Qt::UTC).toMSecsSinceEpoch();
    const std::optional<qint64> instant = firstInstantAt(wall, offsets);
    if (!instant)
        return moment;
    const QDateTime noon = QDateTime::fromMSecsSinceEpoch(*instant, Qt::LocalTime);
    // Near the ends of the calendar a day's noon may fall outside what the data file can hold;
    // the moment that was read is kept then, so every date read can be written back.
    if (noon.date() != day || !isWritable(noon))
        return moment;
    return noon;
}

QString uuidText(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

std::optional<QUuid> uuidFromText(const QString& text)
{
    if (text.size() != 36)
        return std::nullopt;
    // Read by hand: this runs once per project when a large document loads.
    uchar bytes[16];
    int n = 0;
    int high = -1;
    for (int i = 0; i < 36; ++i) {
        const char16_t c = text.at(i).unicode();
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != u'-')
                return std::nullopt;
            continue;
        }
        const int d = Text::hexDigit(c);
        if (d < 0)
            return std::nullopt;
        if (high < 0) {
            high = d;
        } else {
            bytes[n++] = uchar(high << 4 | d);
            high = -1;
        }
    }
    return QUuid::fromRfc4122(QByteArrayView(reinterpret_cast<const char*>(bytes), 16));
}

int Project::year() const
{
    return date.toLocalTime().date().year();
}
