#include "model/DataFile.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>
#include <QVariant>
#include <cmath>

namespace DataFile {

namespace {

struct Writer
{
    QByteArray out;

    void indent(int level) { out.append(level * 4, ' '); }
    void key(int level, const char* name)
    {
        indent(level);
        out += '"';
        out += name;
        out += "\": ";
    }
    void number(double v) { out += QByteArray::number(v, 'g', QLocale::FloatingPointShortest); }
    // A value known to need no escaping (dates, ids).
    void text(const QByteArray& value)
    {
        out += '"';
        out += value;
        out += '"';
    }
    void string(const QString& s)
    {
        const QByteArray utf8 = s.toUtf8();
        out += '"';
        for (const char c : utf8) {
            const auto u = static_cast<unsigned char>(c);
            if (u >= 0x20 && c != '"' && c != '\\') {
                out += c;
                continue;
            }
            switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default: {
                static const char hex[] = "0123456789abcdef";
                out += "\\u00";
                out += hex[u >> 4];
                out += hex[u & 15];
            }
            }
        }
        out += '"';
    }
    void strings(int level, const QStringList& list)
    {
        if (list.isEmpty()) {
            out += "[]";
            return;
        }
        out += "[\n";
        for (qsizetype i = 0; i < list.size(); ++i) {
            if (i > 0)
                out += ",\n";
            indent(level + 1);
            string(list.at(i));
        }
        out += '\n';
        indent(level);
        out += ']';
    }
    // A kept value in the file's own layout; integers stay integers, as Qt's parser read them.
    void value(int level, const QJsonValue& v)
    {
        switch (v.type()) {
        case QJsonValue::Null:
        case QJsonValue::Undefined:
            out += "null";
            break;
        case QJsonValue::Bool:
            out += v.toBool() ? "true" : "false";
            break;
        case QJsonValue::Double:
            if (v.toVariant().typeId() == QMetaType::LongLong)
                out += QByteArray::number(v.toInteger());
            else
                number(v.toDouble());
            break;
        case QJsonValue::String:
            string(v.toString());
            break;
        case QJsonValue::Array: {
            const QJsonArray a = v.toArray();
            if (a.isEmpty()) {
                out += "[]";
                break;
            }
            out += "[\n";
            for (qsizetype i = 0; i < a.size(); ++i) {
                if (i > 0)
                    out += ",\n";
                indent(level + 1);
                value(level + 1, a.at(i));
            }
            out += '\n';
            indent(level);
            out += ']';
            break;
        }
        case QJsonValue::Object: {
            const auto members = sortedMembers(v.toObject());
            if (members.isEmpty()) {
                out += "{}";
                break;
            }
            out += "{\n";
            for (qsizetype i = 0; i < members.size(); ++i) {
                if (i + 1 < members.size() && members.at(i + 1).first == members.at(i).first)
                    continue; // of equal keys the last
                if (out.back() != '\n')
                    out += ",\n";
                indent(level + 1);
                string(members.at(i).first);
                out += ": ";
                value(level + 1, members.at(i).second);
            }
            out += '\n';
            indent(level);
            out += '}';
            break;
        }
        }
    }
};

// The members of one object: the known ones in sorted order as the caller gives them, with the
// kept unknown ones slotted in where their keys sort.
class Members
{
public:
    Members(Writer& w, int level, const QJsonObject& extra) : m_w(w), m_level(level)
    {
        if (!extra.isEmpty())
            m_extra = sortedMembers(extra);
    }
    // Before each known member, with its key.
    void key(const char* name)
    {
        const QLatin1String k(name);
        flushBefore(k);
        while (m_next < m_extra.size() && m_extra.at(m_next).first == k)
            ++m_next; // a known key is never written twice
        separate();
        m_w.key(m_level, name);
    }
    void finish()
    {
        flushBefore(QLatin1String());
        m_w.out += '\n';
    }

private:
    Writer& m_w;
    int m_level;
    QVector<std::pair<QString, QJsonValue>> m_extra;
    qsizetype m_next = 0;
    bool m_first = true;

    void separate()
    {
        if (!m_first)
            m_w.out += ",\n";
        m_first = false;
    }
    // Every kept member whose key sorts before `name` (all of them for an empty name); of equal
    // keys only the last.
    void flushBefore(QLatin1String name)
    {
        for (; m_next < m_extra.size() && (name.isEmpty() || m_extra.at(m_next).first < name); ++m_next) {
            const auto& [key, value] = m_extra.at(m_next);
            if (m_next + 1 < m_extra.size() && m_extra.at(m_next + 1).first == key)
                continue;
            separate();
            m_w.indent(m_level);
            m_w.string(key);
            m_w.out += ": ";
            m_w.value(m_level, value);
        }
    }
};

// yyyy-MM-ddTHH:mm:ssZ
constexpr qsizetype kDateTextSize = 20;

// Projects share few distinct dates (all at noon), so each date's text is made once. A local
// time's instant costs a zone conversion (a mktime, which checks /etc/localtime each time when
// TZ is unset); its wall time and daylight flag are stored in the value and determine that
// instant, so they key the cache and only a new key is converted.
class DateTexts
{
public:
    QByteArray text(const QDateTime& moment)
    {
        if (!moment.isValid())
            return dateText(moment).toLatin1();
        Key key;
        if (moment.timeSpec() == Qt::LocalTime) {
            key.ms = moment.date().toJulianDay() * kDayMs + moment.time().msecsSinceStartOfDay();
            key.kind = moment.isDaylightTime() ? Kind::localDaylight : Kind::localStandard;
        } else {
            key.ms = moment.toMSecsSinceEpoch(); // no local zone involved
        }
        const auto it = m_texts.constFind(key);
        if (it != m_texts.constEnd())
            return *it;
        const QByteArray t = dateText(moment).toLatin1();
        m_texts.insert(key, t);
        return t;
    }

private:
    static constexpr qint64 kDayMs = 86400000;
    enum class Kind : quint8 { instant, localStandard, localDaylight };
    struct Key
    {
        qint64 ms = 0;
        Kind kind = Kind::instant;
        bool operator==(const Key& o) const { return ms == o.ms && kind == o.kind; }
    };
    friend size_t qHash(const Key& k, size_t seed = 0) { return qHashMulti(seed, k.ms, quint8(k.kind)); }

    QHash<Key, QByteArray> m_texts;
};

bool finite(double v, const char* what, QString* error)
{
    if (std::isfinite(v))
        return true;
    if (error)
        *error = QStringLiteral("The value of “%1” is not a finite number.").arg(QLatin1String(what));
    return false;
}

} // namespace

QString dateText(const QDateTime& moment)
{
    return moment.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
}

std::optional<QDateTime> parseDate(const QString& text)
{
    // Every character of the form is ASCII: other text is no date, the rest is read as bytes.
    char bytes[25];
    if (text.size() > qsizetype(sizeof bytes))
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= 0x80)
            return std::nullopt;
        bytes[i] = char(c);
    }
    return parseDate(std::string_view(bytes, size_t(text.size())));
}

QByteArray dayText(const QDate& day)
{
    char out[10];
    const int y = day.year(), m = day.month(), d = day.day();
    out[0] = char('0' + y / 1000 % 10);
    out[1] = char('0' + y / 100 % 10);
    out[2] = char('0' + y / 10 % 10);
    out[3] = char('0' + y % 10);
    out[4] = '-';
    out[5] = char('0' + m / 10);
    out[6] = char('0' + m % 10);
    out[7] = '-';
    out[8] = char('0' + d / 10);
    out[9] = char('0' + d % 10);
    return QByteArray(out, 10);
}

std::optional<QDate> parseDay(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    int digits[8];
    int n = 0;
    for (size_t i = 0; i < 10; ++i) {
        if (i == 4 || i == 7)
            continue;
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        digits[n++] = text[i] - '0';
    }
    const int year = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
    const QDate day(year, digits[4] * 10 + digits[5], digits[6] * 10 + digits[7]);
    // Year 0 does not exist in Qt's calendar; QDate refuses it.
    if (!day.isValid())
        return std::nullopt;
    return day;
}

std::optional<QDate> parseDay(const QString& text)
{
    if (text.size() != 10)
        return std::nullopt;
    char bytes[10];
    for (int i = 0; i < 10; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c > 127)
            return std::nullopt;
        bytes[i] = char(c);
    }
    return parseDay(std::string_view(bytes, 10));
}

std::optional<QByteArray> encode(const AppData& data, QString* error)
{
    if (!finite(data.taxRate, "taxRate", error) || !finite(data.targetGoal, "targetGoal", error) ||
        !finite(data.forecastPendingPercent.value_or(0), "forecastPendingPercent", error) ||
        !finite(data.forecastOngoingPercent.value_or(0), "forecastOngoingPercent", error))
        return std::nullopt;
    for (const Project& p : data.projects) {
        if (!finite(p.fee, "fee", error) || !finite(p.outsource, "outsource", error))
            return std::nullopt;
        // Only days the reader takes back: a year outside 1 to 9999 would make the file unreadable.
        for (const QDate* day : {&p.pendingSince, &p.dueDate, &p.paidOn}) {
            if (day->isValid() && (day->year() < 1 || day->year() > 9999)) {
                if (error)
                    *error = QStringLiteral("A payment date is outside the years 1 to 9999.");
                return std::nullopt;
            }
        }
    }
    // Written by hand, keys in sorted order: several times faster than building a
    // QJsonObject for a large document, and the output is the same JSON.
    Writer w;
    w.out.reserve(256 + data.projects.size() * 330);
    w.out += "{\n";
    Members top(w, 1, data.extra);
    top.key("categories");
    w.strings(1, data.categories);
    bool anyTerms = false;
    for (auto it = data.clientTerms.begin(); it != data.clientTerms.end() && !anyTerms; ++it)
        anyTerms = it.value() != AppData::kDefaultTermsDays;
    if (anyTerms) {
        top.key("clientTerms");
        w.out += "{\n";
        bool first = true;
        for (auto it = data.clientTerms.begin(); it != data.clientTerms.end(); ++it) {
            if (it.value() == AppData::kDefaultTermsDays)
                continue;
            if (!first)
                w.out += ",\n";
            first = false;
            w.indent(2);
            w.string(it.key());
            w.out += ": ";
            w.out += QByteArray::number(it.value());
        }
        w.out += '\n';
        w.indent(1);
        w.out += '}';
    }
    top.key("clients");
    w.strings(1, data.clients);
    top.key("columnColors");
    if (data.columnColors.isEmpty()) {
        w.out += "{}";
    } else {
        w.out += "{\n";
        for (auto it = data.columnColors.begin(); it != data.columnColors.end(); ++it) {
            if (it != data.columnColors.begin())
                w.out += ",\n";
            w.indent(2);
            w.string(it.key());
            w.out += ": ";
            w.string(it.value());
        }
        w.out += '\n';
        w.indent(1);
        w.out += '}';
    }
    top.key("columnOrder");
    QStringList order;
    for (Status st : data.columnOrder)
        order.append(StatusInfo::rawValue(st));
    w.strings(1, order);
    top.key("currency");
    w.string(data.currency);
    if (data.forecastOngoingPercent) {
        top.key("forecastOngoingPercent");
        w.number(*data.forecastOngoingPercent);
    }
    if (data.forecastPendingPercent) {
        top.key("forecastPendingPercent");
        w.number(*data.forecastPendingPercent);
    }
    top.key("layout");
    w.string(BoardLayoutInfo::rawValue(data.layout));
    top.key("projects");
    if (data.projects.isEmpty()) {
        w.out += "[]";
    } else {
        w.out += "[\n";
        DateTexts dates;
        for (qsizetype i = 0; i < data.projects.size(); ++i) {
            const Project& p = data.projects.at(i);
            if (i > 0)
                w.out += ",\n";
            w.indent(2);
            w.out += "{\n";
            const QByteArray date = dates.text(p.date);
            // Only the form the reader accepts: a date outside years 1 to 9999 would make the
            // whole file unreadable at the next start.
            if (date.size() != kDateTextSize) {
                if (error)
                    *error = QStringLiteral("A project date is outside the years 1 to 9999.");
                return std::nullopt;
            }
            Members m(w, 3, p.extra);
            m.key("category");
            w.string(p.category);
            m.key("client");
            w.string(p.client);
            m.key("date");
            w.text(date);
            if (p.dueDate.isValid()) {
                m.key("dueDate");
                w.text(dayText(p.dueDate));
            }
            m.key("fee");
            w.number(p.fee);
            m.key("id");
            w.text(p.id.toByteArray(QUuid::WithoutBraces).toUpper());
            m.key("name");
            w.string(p.name);
            m.key("outsource");
            w.number(p.outsource);
            if (p.paidOn.isValid()) {
                m.key("paidOn");
                w.text(dayText(p.paidOn));
            }
            if (p.pendingSince.isValid()) {
                m.key("pendingSince");
                w.text(dayText(p.pendingSince));
            }
            m.key("status");
            w.string(StatusInfo::rawValue(p.status));
            m.finish();
            w.indent(2);
            w.out += '}';
        }
        w.out += '\n';
        w.indent(1);
        w.out += ']';
    }
    top.key("targetGoal");
    w.number(data.targetGoal);
    top.key("taxRate");
    w.number(data.taxRate);
    top.finish();
    w.out += "}\n";
    return w.out;
}

} // namespace DataFile
