#include "model/DataFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QTimeZone>
#include <cmath>

namespace DataFile {

namespace {

struct Unreadable
{
    QString reason;
};

QJsonArray stringArray(const QStringList& list)
{
    QJsonArray out;
    for (const QString& s : list)
        out.append(s);
    return out;
}

bool finite(double v, const char* what, QString* error)
{
    if (std::isfinite(v))
        return true;
    if (error)
        *error = QStringLiteral("The value of “%1” is not a finite number.").arg(QLatin1String(what));
    return false;
}

bool isDigits(const QString& s, int from, int count)
{
    for (int i = from; i < from + count; ++i) {
        if (!s.at(i).isDigit() || s.at(i).unicode() > 127)
            return false;
    }
    return true;
}

// Missing or null keys take the default.
bool present(const QJsonObject& o, const QString& key)
{
    const auto it = o.constFind(key);
    return it != o.constEnd() && !it->isNull();
}

QString takeString(const QJsonObject& o, const QString& key, const QString& fallback)
{
    if (!present(o, key))
        return fallback;
    const QJsonValue v = o.value(key);
    if (!v.isString())
        throw Unreadable{QStringLiteral("“%1” is not a text").arg(key)};
    return v.toString();
}

double takeNumber(const QJsonObject& o, const QString& key, double fallback)
{
    if (!present(o, key))
        return fallback;
    const QJsonValue v = o.value(key);
    if (!v.isDouble())
        throw Unreadable{QStringLiteral("“%1” is not a number").arg(key)};
    const double d = v.toDouble();
    // A number like 1e999 reads as infinite and could never be written back.
    if (!std::isfinite(d))
        throw Unreadable{QStringLiteral("“%1” is out of range").arg(key)};
    return d;
}

QStringList takeStringList(const QJsonObject& o, const QString& key)
{
    if (!present(o, key))
        return {};
    const QJsonValue v = o.value(key);
    if (!v.isArray())
        throw Unreadable{QStringLiteral("“%1” is not a list").arg(key)};
    QStringList out;
    const QJsonArray a = v.toArray();
    out.reserve(a.size());
    for (const QJsonValue& e : a) {
        if (!e.isString())
            throw Unreadable{QStringLiteral("“%1” holds something other than text").arg(key)};
        out.append(e.toString());
    }
    return out;
}

Status parseStatus(const QJsonValue& v)
{
    if (!v.isString())
        throw Unreadable{QStringLiteral("a status is not a text")};
    const auto s = StatusInfo::fromRaw(v.toString());
    if (!s)
        throw Unreadable{QStringLiteral("unknown status “%1”").arg(v.toString())};
    return *s;
}

Project decodeProject(const QJsonValue& value)
{
    if (!value.isObject())
        throw Unreadable{QStringLiteral("a project is not an object")};
    const QJsonObject o = value.toObject();
    if (!present(o, QStringLiteral("name")) || !present(o, QStringLiteral("fee")))
        throw Unreadable{QStringLiteral("a project lacks “name” or “fee”")};
    Project p;
    if (present(o, QStringLiteral("id"))) {
        const QJsonValue v = o.value(QStringLiteral("id"));
        const auto id = v.isString() ? uuidFromText(v.toString()) : std::nullopt;
        if (!id)
            throw Unreadable{QStringLiteral("a project id is not a UUID")};
        p.id = *id;
    } else {
        p.id = QUuid::createUuid();
    }
    p.name = takeString(o, QStringLiteral("name"), {});
    p.client = takeString(o, QStringLiteral("client"), {});
    p.category = takeString(o, QStringLiteral("category"), {});
    p.fee = takeNumber(o, QStringLiteral("fee"), 0);
    p.outsource = takeNumber(o, QStringLiteral("outsource"), 0);
    p.status = present(o, QStringLiteral("status")) ? parseStatus(o.value(QStringLiteral("status")))
                                                    : Status::ongoing;
    if (present(o, QStringLiteral("date"))) {
        const QJsonValue v = o.value(QStringLiteral("date"));
        const auto d = v.isString() ? parseDate(v.toString()) : std::nullopt;
        if (!d)
            throw Unreadable{QStringLiteral("a project date is not an internet date-time")};
        p.date = *d;
    } else {
        p.date = QDateTime::currentDateTime();
    }
    return p;
}

AppData decodeDocument(const QJsonObject& o)
{
    AppData d;
    d.currency = takeString(o, QStringLiteral("currency"), d.currency);
    d.taxRate = takeNumber(o, QStringLiteral("taxRate"), d.taxRate);
    d.targetGoal = takeNumber(o, QStringLiteral("targetGoal"), d.targetGoal);
    if (present(o, QStringLiteral("layout"))) {
        const QJsonValue v = o.value(QStringLiteral("layout"));
        const auto l = v.isString() ? BoardLayoutInfo::fromRaw(v.toString()) : std::nullopt;
        if (!l)
            throw Unreadable{QStringLiteral("unknown layout")};
        d.layout = *l;
    }
    if (present(o, QStringLiteral("columnOrder"))) {
        const QJsonValue v = o.value(QStringLiteral("columnOrder"));
        if (!v.isArray())
            throw Unreadable{QStringLiteral("“columnOrder” is not a list")};
        QVector<Status> order;
        for (const QJsonValue& e : v.toArray())
            order.append(parseStatus(e));
        d.columnOrder = order;
    }
    d.columnOrder = normalizedColumnOrder(d.columnOrder);
    if (present(o, QStringLiteral("columnColors"))) {
        const QJsonValue v = o.value(QStringLiteral("columnColors"));
        if (!v.isObject())
            throw Unreadable{QStringLiteral("“columnColors” is not an object")};
        const QJsonObject colors = v.toObject();
        for (auto it = colors.begin(); it != colors.end(); ++it) {
            if (!it->isString())
                throw Unreadable{QStringLiteral("a column colour is not a text")};
            d.columnColors.insert(it.key(), it->toString());
        }
    }
    d.clients = takeStringList(o, QStringLiteral("clients"));
    d.categories = takeStringList(o, QStringLiteral("categories"));
    if (present(o, QStringLiteral("projects"))) {
        const QJsonValue v = o.value(QStringLiteral("projects"));
        if (!v.isArray())
            throw Unreadable{QStringLiteral("“projects” is not a list")};
        const QJsonArray a = v.toArray();
        d.projects.reserve(a.size());
        for (const QJsonValue& e : a)
            d.projects.append(decodeProject(e));
    }
    return d;
}

} // namespace

QString dateText(const QDateTime& moment)
{
    return moment.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
}

std::optional<QDateTime> parseDate(const QString& text)
{
    // yyyy-MM-ddTHH:mm:ss followed by Z or ±hh:mm; no fractions.
    const int n = int(text.size());
    if (n != 20 && n != 25)
        return std::nullopt;
    if (!isDigits(text, 0, 4) || text.at(4) != QLatin1Char('-') || !isDigits(text, 5, 2) ||
        text.at(7) != QLatin1Char('-') || !isDigits(text, 8, 2) || text.at(10) != QLatin1Char('T') ||
        !isDigits(text, 11, 2) || text.at(13) != QLatin1Char(':') || !isDigits(text, 14, 2) ||
        text.at(16) != QLatin1Char(':') || !isDigits(text, 17, 2))
        return std::nullopt;
    int offsetSeconds = 0;
    if (n == 20) {
        if (text.at(19) != QLatin1Char('Z'))
            return std::nullopt;
    } else {
        const QChar sign = text.at(19);
        if ((sign != QLatin1Char('+') && sign != QLatin1Char('-')) || !isDigits(text, 20, 2) ||
            text.at(22) != QLatin1Char(':') || !isDigits(text, 23, 2))
            return std::nullopt;
        const int hh = text.mid(20, 2).toInt();
        const int mm = text.mid(23, 2).toInt();
        if (hh > 23 || mm > 59)
            return std::nullopt;
        offsetSeconds = (hh * 3600 + mm * 60) * (sign == QLatin1Char('-') ? -1 : 1);
    }
    const QDate date(text.mid(0, 4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt());
    const int hour = text.mid(11, 2).toInt();
    const int minute = text.mid(14, 2).toInt();
    const int second = text.mid(17, 2).toInt();
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    const QDateTime local(date, QTime(hour, minute, second), QTimeZone(offsetSeconds));
    if (!local.isValid())
        return std::nullopt;
    return local.toUTC();
}

std::optional<QByteArray> encode(const AppData& data, QString* error)
{
    if (!finite(data.taxRate, "taxRate", error) || !finite(data.targetGoal, "targetGoal", error))
        return std::nullopt;
    QJsonArray projects;
    for (const Project& p : data.projects) {
        if (!finite(p.fee, "fee", error) || !finite(p.outsource, "outsource", error))
            return std::nullopt;
        QJsonObject o;
        o.insert(QStringLiteral("category"), p.category);
        o.insert(QStringLiteral("client"), p.client);
        o.insert(QStringLiteral("date"), dateText(p.date));
        o.insert(QStringLiteral("fee"), p.fee);
        o.insert(QStringLiteral("id"), uuidText(p.id));
        o.insert(QStringLiteral("name"), p.name);
        o.insert(QStringLiteral("outsource"), p.outsource);
        o.insert(QStringLiteral("status"), StatusInfo::rawValue(p.status));
        projects.append(o);
    }
    QJsonObject colors;
    for (auto it = data.columnColors.begin(); it != data.columnColors.end(); ++it)
        colors.insert(it.key(), it.value());
    QJsonArray order;
    for (Status s : data.columnOrder)
        order.append(StatusInfo::rawValue(s));

    QJsonObject root;
    root.insert(QStringLiteral("categories"), stringArray(data.categories));
    root.insert(QStringLiteral("clients"), stringArray(data.clients));
    root.insert(QStringLiteral("columnColors"), colors);
    root.insert(QStringLiteral("columnOrder"), order);
    root.insert(QStringLiteral("currency"), data.currency);
    root.insert(QStringLiteral("layout"), BoardLayoutInfo::rawValue(data.layout));
    root.insert(QStringLiteral("projects"), projects);
    root.insert(QStringLiteral("targetGoal"), data.targetGoal);
    root.insert(QStringLiteral("taxRate"), data.taxRate);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<AppData> decode(const QByteArray& json, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        if (error)
            *error = parseError.errorString();
        return std::nullopt;
    }
    if (!doc.isObject()) {
        if (error)
            *error = QStringLiteral("the document is not a JSON object");
        return std::nullopt;
    }
    try {
        return decodeDocument(doc.object());
    } catch (const Unreadable& e) {
        if (error)
            *error = e.reason;
        return std::nullopt;
    }
}

} // namespace DataFile
