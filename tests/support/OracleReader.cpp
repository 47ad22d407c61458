// The reader of data files as it was before the simdjson reader: QJsonDocument, then the
// records; members it does not know are kept as Qt read them. Kept only for the tests, as the law
// the new reader must follow to the letter.
#include "OracleReader.h"

#include "model/DataFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>
#include <exception>
#include <thread>

namespace Oracle {

using DataFile::parseDate;
using DataFile::parseDay;

namespace {

struct Unreadable
{
    QString reason;
};

// Missing or null keys take the default.
bool present(const QJsonObject& o, const QString& key)
{
    const auto it = o.constFind(key);
    return it != o.constEnd() && !it->isNull();
}

QString stringValue(const QJsonValue& v, const QString& key)
{
    if (!v.isString())
        throw Unreadable{QStringLiteral("“%1” is not a text").arg(key)};
    return v.toString();
}

double numberValue(const QJsonValue& v, const QString& key)
{
    if (!v.isDouble())
        throw Unreadable{QStringLiteral("“%1” is not a number").arg(key)};
    const double d = v.toDouble();
    // A number like 1e999 reads as infinite and could never be written back.
    if (!std::isfinite(d))
        throw Unreadable{QStringLiteral("“%1” is out of range").arg(key)};
    return d;
}

QString takeString(const QJsonObject& o, const QString& key, const QString& fallback)
{
    return present(o, key) ? stringValue(o.value(key), key) : fallback;
}

double takeNumber(const QJsonObject& o, const QString& key, double fallback)
{
    return present(o, key) ? numberValue(o.value(key), key) : fallback;
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

// One pass over the members: looking each key up would cost a search per key.
Project decodeProject(const QJsonValue& value)
{
    if (!value.isObject())
        throw Unreadable{QStringLiteral("a project is not an object")};
    const QJsonObject o = value.toObject();
    Project p;
    bool hasId = false, hasName = false, hasFee = false, hasStatus = false, hasDate = false;
    static const QStringList known = {
        QStringLiteral("name"),     QStringLiteral("fee"),       QStringLiteral("client"),
        QStringLiteral("category"), QStringLiteral("outsource"), QStringLiteral("status"),
        QStringLiteral("id"),       QStringLiteral("date"),      QStringLiteral("pendingSince"),
        QStringLiteral("dueDate"),  QStringLiteral("paidOn")};
    for (auto it = o.constBegin(); it != o.constEnd(); ++it) {
        const QJsonValue v = it.value();
        const QString key = it.key();
        if (!known.contains(key)) {
            p.extra.insert(key, v);
            continue;
        }
        if (v.isNull())
            continue; // a null member takes its default
        if (key == QLatin1String("name")) {
            p.name = stringValue(v, key);
            hasName = true;
        } else if (key == QLatin1String("fee")) {
            p.fee = numberValue(v, key);
            hasFee = true;
        } else if (key == QLatin1String("client")) {
            p.client = stringValue(v, key);
        } else if (key == QLatin1String("category")) {
            p.category = stringValue(v, key);
        } else if (key == QLatin1String("outsource")) {
            p.outsource = numberValue(v, key);
        } else if (key == QLatin1String("status")) {
            p.status = parseStatus(v);
            hasStatus = true;
        } else if (key == QLatin1String("id")) {
            const auto id = v.isString() ? uuidFromText(v.toString()) : std::nullopt;
            if (!id)
                throw Unreadable{QStringLiteral("a project id is not a UUID")};
            p.id = *id;
            hasId = true;
        } else if (key == QLatin1String("date")) {
            const auto d = v.isString() ? parseDate(v.toString()) : std::nullopt;
            if (!d)
                throw Unreadable{QStringLiteral("a project date is not an internet date-time")};
            p.date = *d;
            hasDate = true;
        } else {
            const auto d = v.isString() ? parseDay(v.toString()) : std::nullopt;
            if (!d)
                throw Unreadable{QStringLiteral("a payment date is not a calendar day")};
            QDate& day = key == QLatin1String("pendingSince") ? p.pendingSince
                         : key == QLatin1String("dueDate")    ? p.dueDate
                                                              : p.paidOn;
            day = *d;
        }
    }
    if (!hasName || !hasFee)
        throw Unreadable{QStringLiteral("a project lacks “name” or “fee”")};
    if (!hasId)
        p.id = QUuid::createUuid();
    if (!hasStatus)
        p.status = Status::ongoing;
    if (!hasDate)
        p.date = QDateTime::currentDateTime();
    return p;
}

// A large list is read in two halves at once: reading the parsed values costs about as
// much as parsing, and the halves share nothing but the read-only parsed document.
QVector<Project> decodeProjects(const QJsonArray& a)
{
    constexpr qsizetype kSplitFrom = 20000;
    const qsizetype n = a.size();
    QVector<Project> out(n);
    Project* const dest = out.data(); // taken once: no detach checks from two threads
    const auto decodeRange = [&a, dest](qsizetype from, qsizetype to) {
        for (qsizetype i = from; i < to; ++i)
            dest[i] = decodeProject(a.at(i));
    };
    if (n < kSplitFrom || std::thread::hardware_concurrency() < 2) {
        decodeRange(0, n);
        return out;
    }
    const qsizetype half = n / 2;
    std::exception_ptr failure;
    std::thread second([&] {
        try {
            decodeRange(half, n);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    try {
        decodeRange(0, half);
    } catch (...) {
        second.join();
        throw;
    }
    second.join();
    if (failure)
        std::rethrow_exception(failure);
    return out;
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
        d.projects = decodeProjects(v.toArray());
    }
    if (present(o, QStringLiteral("clientTerms"))) {
        const QJsonValue v = o.value(QStringLiteral("clientTerms"));
        if (!v.isObject())
            throw Unreadable{QStringLiteral("“clientTerms” is not an object")};
        // Entries that are no whole number of days from 0 to the maximum are dropped, and the
        // default terms are never stored.
        const QJsonObject terms = v.toObject();
        for (auto it = terms.begin(); it != terms.end(); ++it) {
            const double days = it->isDouble() ? it->toDouble() : -1;
            if (days >= 0 && days <= AppData::kMaxTermsDays && days == std::floor(days) &&
                int(days) != AppData::kDefaultTermsDays)
                d.clientTerms.insert(it.key(), int(days));
        }
    }
    if (present(o, QStringLiteral("forecastPendingPercent")))
        d.forecastPendingPercent = numberValue(o.value(QStringLiteral("forecastPendingPercent")),
                                               QStringLiteral("forecastPendingPercent"));
    if (present(o, QStringLiteral("forecastOngoingPercent")))
        d.forecastOngoingPercent = numberValue(o.value(QStringLiteral("forecastOngoingPercent")),
                                               QStringLiteral("forecastOngoingPercent"));
    static const QStringList known = {QStringLiteral("currency"),
                                      QStringLiteral("taxRate"),
                                      QStringLiteral("targetGoal"),
                                      QStringLiteral("layout"),
                                      QStringLiteral("columnOrder"),
                                      QStringLiteral("columnColors"),
                                      QStringLiteral("clients"),
                                      QStringLiteral("categories"),
                                      QStringLiteral("projects"),
                                      QStringLiteral("clientTerms"),
                                      QStringLiteral("forecastPendingPercent"),
                                      QStringLiteral("forecastOngoingPercent")};
    for (auto it = o.constBegin(); it != o.constEnd(); ++it) {
        if (!known.contains(it.key()))
            d.extra.insert(it.key(), it.value());
    }
    return d;
}

} // namespace

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

} // namespace Oracle
