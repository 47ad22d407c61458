#include "model/Project.h"

#include <QJsonArray>

#include "model/Text.h"

#include <QTimeZone>
#include <algorithm>
#include <ctime>
#include <iterator>

namespace {

constexpr qint64 kHourMs = 3600 * 1000;
constexpr qint64 kDayMs = 24 * kHourMs;
constexpr qint64 kJulianDayOfEpoch = 2440588;

qint64 floorSeconds(qint64 ms)
{
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

qint64 floorDays(qint64 ms)
{
    return ms >= 0 ? ms / kDayMs : -((-ms + kDayMs - 1) / kDayMs);
}

// Each local-time conversion costs a system call when TZ is unset (glibc checks /etc/localtime),
// so the offset is read from the local date and time of one conversion, not asked for again.
qint64 qtOffsetMsAt(qint64 instantMs)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(instantMs, Qt::LocalTime);
    if (!local.isValid())
        return qint64(local.offsetFromUtc()) * 1000;
    const qint64 wall =
        (local.date().toJulianDay() - kJulianDayOfEpoch) * kDayMs + local.time().msecsSinceStartOfDay();
    return wall - instantMs;
}

// Years 1 to 9999, where the C library's offsets are held equal to Qt's by a test.
constexpr qint64 kFirstSecond = -62135596800; // 0001-01-01T00:00:00Z
constexpr qint64 kLastSecond = 253402300799;  // 9999-12-31T23:59:59Z

bool inCalendar(qint64 instantMs)
{
    const qint64 secs = floorSeconds(instantMs);
    return secs >= kFirstSecond && secs <= kLastSecond;
}

// Qt's local time is the C library's: the same localtime_r, with date arithmetic around it and a
// fresh tzset() (getenv, and a stat of /etc/localtime without TZ) at every conversion. Asked
// directly, an offset costs a fraction of that; the caller makes the zone current once.
qint64 offsetMsAt(qint64 instantMs)
{
    if (inCalendar(instantMs)) {
        const time_t secs = time_t(floorSeconds(instantMs));
        struct tm local;
        if (::localtime_r(&secs, &local))
            return qint64(local.tm_gmtoff) * 1000;
    }
    return qtOffsetMsAt(instantMs);
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
    ::tzset(); // the zone as Qt would see it now, for the offsets asked below
    const qint64 ms = moment.toMSecsSinceEpoch();
    const QDate day = inCalendar(ms)
                          ? QDate::fromJulianDay(floorDays(ms + offsetMsAt(ms)) + kJulianDayOfEpoch)
                          : moment.toLocalTime().date();
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

namespace {

bool sameValue(const QJsonValue& a, const QJsonValue& b)
{
    if (a.type() != b.type())
        return false;
    if (a.isObject())
        return sameMembers(a.toObject(), b.toObject());
    if (a.isArray()) {
        const QJsonArray x = a.toArray();
        const QJsonArray y = b.toArray();
        if (x.size() != y.size())
            return false;
        for (qsizetype i = 0; i < x.size(); ++i) {
            if (!sameValue(x.at(i), y.at(i)))
                return false;
        }
        return true;
    }
    return a == b;
}

} // namespace

QVector<std::pair<QString, QJsonValue>> sortedMembers(const QJsonObject& o)
{
    QVector<std::pair<QString, QJsonValue>> out;
    out.reserve(o.size());
    for (auto it = o.begin(); it != o.end(); ++it)
        out.append({it.key(), it.value()});
    // Stable: of equal keys the later one counts, as when the object was built.
    std::stable_sort(out.begin(), out.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    return out;
}

bool sameMembers(const QJsonObject& a, const QJsonObject& b)
{
    if (a.size() != b.size())
        return false;
    if (a.isEmpty())
        return true;
    const auto x = sortedMembers(a);
    const auto y = sortedMembers(b);
    for (qsizetype i = 0; i < x.size(); ++i) {
        if (x.at(i).first != y.at(i).first || !sameValue(x.at(i).second, y.at(i).second))
            return false;
    }
    return true;
}

QDate Project::localDay() const
{
    // Dates are kept in local time: read so, the day needs no conversion (nor a copy). The year
    // index and the import's duplicate check ask this of every project.
    if (date.timeSpec() == Qt::LocalTime)
        return date.date();
    return date.toLocalTime().date();
}

int Project::year() const
{
    return localDay().year();
}
