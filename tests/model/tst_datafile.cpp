#include "TestMain.h"

#include "model/DataFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>
#include <clocale>
#include <string>

namespace {

QByteArray doc(const QByteArray& projectsJson, const QByteArray& extra = {})
{
    return "{" + extra + (extra.isEmpty() ? "" : ",") + "\"projects\": [" + projectsJson + "]}";
}

const QByteArray kId = "5F1C5A8E-3B1D-4C2A-9E3F-1A2B3C4D5E6F";

QByteArray project(const QByteArray& fields)
{
    return "{\"id\":\"" + kId + "\",\"name\":\"Logo\",\"fee\":100" + (fields.isEmpty() ? "" : ",") + fields +
           "}";
}

QByteArray dataFile(const char* name)
{
    QFile f(QStringLiteral(TB_MODEL_DATA "/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestDataFile final : public QObject
{
    Q_OBJECT
private slots:
    void writesKeysInOrderWithExactForms()
    {
        AppData d;
        d.clients = {QStringLiteral("Acme")};
        d.columnColors.insert(QStringLiteral("paid"), QStringLiteral("#e11d48"));
        d.targetGoal = 120000;
        d.taxRate = 17.5;
        Project p;
        p.id = QUuid::fromString(QStringLiteral("{5f1c5a8e-3b1d-4c2a-9e3f-1a2b3c4d5e6f}"));
        p.name = QStringLiteral("Ünïcode “name”");
        p.fee = 1234.56;
        p.outsource = 8500;
        p.status = Status::pending;
        // Noon of 15 March 2026 three hours ahead of UTC.
        p.date = QDateTime(QDate(2026, 3, 15), QTime(12, 0), QTimeZone(3 * 3600));
        d.projects = {p};
        const QByteArray json = *DataFile::encode(d);
        const QString text = QString::fromUtf8(json);

        const QStringList rootKeys{"categories", "clients",  "columnColors", "columnOrder", "currency",
                                   "layout",     "projects", "targetGoal",   "taxRate"};
        qsizetype last = -1;
        for (const QString& key : rootKeys) {
            const qsizetype at = text.indexOf(QStringLiteral("\n    \"%1\":").arg(key));
            QVERIFY2(at > last, qPrintable(key));
            last = at;
        }
        const QStringList projectKeys{"category", "client", "date",      "fee",
                                      "id",       "name",   "outsource", "status"};
        last = text.indexOf(QStringLiteral("\"projects\""));
        for (const QString& key : projectKeys) {
            const qsizetype at = text.indexOf(QStringLiteral("\"%1\":").arg(key), last);
            QVERIFY2(at > last, qPrintable(key));
            last = at;
        }
        QVERIFY(text.contains(QStringLiteral("\"date\": \"2026-03-15T09:00:00Z\"")));
        QVERIFY(text.contains(QStringLiteral("\"id\": \"5F1C5A8E-3B1D-4C2A-9E3F-1A2B3C4D5E6F\"")));
        QVERIFY(text.contains(QStringLiteral("\"fee\": 1234.56")));
        QVERIFY(text.contains(QStringLiteral("\"outsource\": 8500\n")) ||
                text.contains(QStringLiteral("\"outsource\": 8500,")));
        QVERIFY(text.contains(QStringLiteral("\"targetGoal\": 120000")));
        QVERIFY(text.contains(QStringLiteral("\"taxRate\": 17.5")));
        QVERIFY(text.contains(QStringLiteral("\"paid\": \"#e11d48\"")));
        QVERIFY(text.contains(QStringLiteral("Ünïcode “name”")));
        QVERIFY(json.count('\n') > 20); // pretty-printed, one member per line

        const AppData back = *DataFile::decode(json);
        QCOMPARE(back, d);
    }

    // The exact bytes the program has always written: a document that uses nothing new must
    // not change by a single byte when the format gains optional members.
    void writesTheSameBytesAsBefore()
    {
        AppData d;
        d.clients = {QStringLiteral("Acme"), QStringLiteral("Büro \"Nord\"")};
        d.categories = {QStringLiteral("Logo")};
        d.columnColors.insert(QStringLiteral("paid"), QStringLiteral("#e11d48"));
        d.taxRate = 17.5;
        d.currency = QStringLiteral("₺");
        d.layout = BoardLayout::table;
        Project p;
        p.id = QUuid::fromString(QStringLiteral("{5f1c5a8e-3b1d-4c2a-9e3f-1a2b3c4d5e6f}"));
        p.name = QStringLiteral("Ünïcode “name”\n\t\\");
        p.client = QStringLiteral("Acme");
        p.category = QStringLiteral("Logo");
        p.fee = 1234.56;
        p.outsource = 1e-7;
        p.status = Status::pending;
        p.date = QDateTime(QDate(2026, 3, 15), QTime(12, 0), QTimeZone(3 * 3600));
        d.projects = {p, p};
        d.projects[1].fee = 0;
        d.projects[1].status = Status::paid;
        d.projects[1].date = QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
        const QByteArray expected = dataFile("written-before.json");
        QCOMPARE(*DataFile::encode(d), expected);
        QCOMPARE(*DataFile::encode(*DataFile::decode(expected)), expected);
    }

    // Members this version does not know, of every JSON type, at the top and in projects: read,
    // kept through a change of the known ones, and written back where their keys sort.
    void unknownMembersAreWrittenBack()
    {
        const QByteArray written = dataFile("unknown-members.json");
        QVERIFY(!written.isEmpty());
        const std::optional<AppData> read = DataFile::decode(written);
        QVERIFY(read);
        QCOMPARE(read->extra.size(), 6);
        QCOMPARE(read->extra.value(QStringLiteral("version")).toInteger(), 3);
        // "dueDate" was unknown to earlier versions; it is read as the project's due day now and
        // written back in the same place.
        QCOMPARE(read->projects.at(0).extra.size(), 4);
        QVERIFY(!read->projects.at(0).extra.contains(QStringLiteral("dueDate")));
        QCOMPARE(read->projects.at(0).dueDate, QDate(2026, 4, 14));
        QCOMPARE(read->projects.at(0).extra.value(QStringLiteral("invoice")).toInteger(), 9007199254740993);
        QVERIFY(read->projects.at(0).extra.value(QStringLiteral("zzz")).isNull());
        QCOMPARE(*DataFile::encode(*read), written);

        // Kept through changes, and part of what makes two documents equal.
        AppData changed = *read;
        changed.projects[0].name = QStringLiteral("Changed");
        changed.taxRate = 18;
        const QByteArray again = *DataFile::encode(changed);
        QVERIFY(again.contains("\"invoice\": 9007199254740993"));
        QVERIFY(again.contains("\"currencyFormat\": {\n        \"decimals\": 2"));
        changed.projects[0].extra.remove(QStringLiteral("zzz"));
        QVERIFY(changed != *DataFile::decode(again));
        QCOMPARE(*DataFile::decode(again), *DataFile::decode(again));

        // A kept member named as a known one (only possible by building it so) is not written twice.
        AppData odd;
        odd.extra.insert(QStringLiteral("currency"), QStringLiteral("€"));
        const QByteArray oddJson = *DataFile::encode(odd);
        QCOMPARE(oddJson.count("\"currency\""), 1);
        QCOMPARE(DataFile::decode(oddJson)->currency, QStringLiteral("$"));
    }

    void writtenTheSameUnderEveryLocale()
    {
        AppData d;
        d.taxRate = 17.5;
        d.targetGoal = 1234567.89;
        d.clients = {QStringLiteral("İzmir Tasarım")};
        Project p;
        p.id = QUuid::fromString(QStringLiteral("{5f1c5a8e-3b1d-4c2a-9e3f-1a2b3c4d5e6f}"));
        p.name = QStringLiteral("Işık");
        p.fee = 1234.56;
        p.outsource = 0.1;
        p.date = QDateTime(QDate(2026, 3, 15), QTime(9, 0), Qt::UTC);
        d.projects = {p};
        const std::string before = std::setlocale(LC_ALL, nullptr);
        const QLocale qtBefore;
        std::setlocale(LC_ALL, "C");
        QLocale::setDefault(QLocale::c());
        const QByteArray reference = *DataFile::encode(d);
        QVERIFY(reference.contains("\"fee\": 1234.56"));
        qputenv("LOCPATH", TB_LOCPATH);
        for (const char* name : {"en_US.UTF-8", "de_DE.UTF-8", "tr_TR.UTF-8", "fr_FR.UTF-8"}) {
            QVERIFY2(std::setlocale(LC_ALL, name), name);
            QLocale::setDefault(QLocale(QString::fromLatin1(name).left(5)));
            QVERIFY2(DataFile::encode(d) == reference, name);
            QCOMPARE(*DataFile::decode(reference), d);
        }
        std::setlocale(LC_ALL, before.c_str());
        QLocale::setDefault(qtBefore);
    }

    void numbersReadBackExactly()
    {
        AppData d;
        const double values[] = {0.1, 1.0 / 3.0, 1e21, 123456789.123456789, 5e-324, 1.7976931348623157e308};
        for (double v : values) {
            Project p;
            p.id = QUuid::createUuid();
            p.fee = v;
            p.date = QDateTime(QDate(2025, 1, 2), QTime(9, 0), Qt::UTC);
            d.projects.append(p);
        }
        const AppData back = *DataFile::decode(*DataFile::encode(d));
        for (int i = 0; i < d.projects.size(); ++i)
            QCOMPARE(back.projects.at(i).fee, d.projects.at(i).fee);
    }

    void nonFiniteNumbersFailTheWrite()
    {
        AppData d;
        d.taxRate = qInf();
        QString error;
        QVERIFY(!DataFile::encode(d, &error));
        QVERIFY(!error.isEmpty());
        d.taxRate = 20;
        Project p;
        p.fee = qQNaN();
        d.projects = {p};
        QVERIFY(!DataFile::encode(d));
    }

    void defaults()
    {
        const auto empty = DataFile::decode("{}");
        QVERIFY(empty);
        QCOMPARE(*empty, AppData::empty());
        const auto nulls =
            DataFile::decode(R"({"currency":null,"taxRate":null,"projects":null,"columnOrder":null})");
        QVERIFY(nulls);
        QCOMPARE(*nulls, AppData::empty());

        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        const auto d = DataFile::decode(doc(R"({"name":"Bare","fee":5})"));
        QVERIFY(d);
        const Project& p = d->projects.first();
        QCOMPARE(p.status, Status::ongoing);
        QCOMPARE(p.client, QString());
        QCOMPARE(p.category, QString());
        QCOMPARE(p.outsource, 0.0);
        QVERIFY(!p.id.isNull());
        QVERIFY(p.date >= before && p.date <= QDateTime::currentDateTimeUtc().addSecs(1));
        // Ids read in either case; a time-zone offset is accepted.
        const auto lower =
            DataFile::decode(doc("{\"id\":\"" + kId.toLower() +
                                 "\",\"name\":\"x\",\"fee\":1,\"date\":\"2026-03-15T12:00:00+03:00\"}"));
        QVERIFY(lower);
        QCOMPARE(uuidText(lower->projects.first().id), QString::fromLatin1(kId));
        QCOMPARE(lower->projects.first().date, QDateTime(QDate(2026, 3, 15), QTime(9, 0), Qt::UTC));
        // Unknown keys are ignored.
        QVERIFY(DataFile::decode(R"({"theme":"dark","projects":[]})"));
        QCOMPARE(DataFile::decode(R"({"columnOrder":[]})")->columnOrder, AppData::empty().columnOrder);
        QCOMPARE(DataFile::decode(R"({"columnOrder":["ongoing","ongoing"]})")->columnOrder,
                 (QVector<Status>{Status::ongoing, Status::paid, Status::pending}));
    }

    void largeDocumentsReadInFull()
    {
        // Large lists are read in parts; a bad project anywhere still fails the whole file.
        AppData d;
        for (int i = 0; i < 50000; ++i) {
            Project p;
            p.id = QUuid::createUuid();
            p.name = QString::number(i);
            p.fee = i;
            p.date = QDateTime(QDate(2020, 1, 1), QTime(9, 0), Qt::UTC).addDays(i % 1000);
            d.projects.append(p);
        }
        const QByteArray json = *DataFile::encode(d);
        const auto back = DataFile::decode(json);
        QVERIFY(back);
        QCOMPARE(*back, d);
        for (const qsizetype at : {qsizetype(10), json.size() - 400}) {
            QByteArray broken = json;
            const qsizetype status = broken.indexOf("\"ongoing\"", at);
            QVERIFY(status > 0);
            broken.replace(status, 9, "\"ongoin\"");
            QVERIFY(!DataFile::decode(broken));
        }
    }

    void datesWrittenAsTheirUtcInstant()
    {
        // Local noons over six decades of the test zone, and every quarter hour of the days around
        // each change of offset: repeated wall times (one with the daylight flag, one without)
        // and skipped ones. Each must be written as its own instant, whatever the cache shares.
        QVector<QDateTime> moments;
        const QDateTime first(QDate(1970, 1, 1), QTime(12, 0), Qt::LocalTime);
        int lastOffset = first.offsetFromUtc();
        bool zoneChanges = false;
        for (QDate day(1970, 1, 1); day.year() < 2030; day = day.addDays(1)) {
            const QDateTime noon(day, QTime(12, 0), Qt::LocalTime);
            moments.append(noon);
            if (noon.offsetFromUtc() == lastOffset)
                continue;
            lastOffset = noon.offsetFromUtc();
            zoneChanges = true;
            const qint64 from = noon.addDays(-2).toMSecsSinceEpoch();
            for (qint64 ms = from; ms < from + 3 * 86400000LL; ms += 15 * 60000)
                moments.append(QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime));
        }
        // Wall time -> which daylight flags it was seen with (1 standard, 2 daylight).
        QHash<QDateTime, int> flags;
        for (const QDateTime& m : std::as_const(moments))
            flags[QDateTime(m.date(), m.time(), Qt::UTC)] |= m.isDaylightTime() ? 2 : 1;
        if (zoneChanges)
            QVERIFY2(std::count(flags.cbegin(), flags.cend(), 3) > 0, "no repeated local time was checked");
        // The same wall time in other forms: none may take a local time's text.
        const QDate day(2026, 3, 15);
        moments << QDateTime(day, QTime(12, 0), Qt::UTC) << QDateTime(day, QTime(12, 0), QTimeZone(3600))
                << QDateTime(day, QTime(12, 0), QTimeZone("America/New_York"))
                << QDateTime(day, QTime(12, 0), Qt::LocalTime);
        AppData d;
        for (const QDateTime& m : std::as_const(moments)) {
            Project p;
            p.id = QUuid::createUuid();
            p.date = m;
            d.projects.append(p);
        }
        const QJsonArray written = QJsonDocument::fromJson(*DataFile::encode(d))
                                       .object()
                                       .value(QStringLiteral("projects"))
                                       .toArray();
        QCOMPARE(written.size(), moments.size());
        for (qsizetype i = 0; i < moments.size(); ++i) {
            const QString text = written.at(i).toObject().value(QStringLiteral("date")).toString();
            QCOMPARE(text, moments.at(i).toUTC().toString(Qt::ISODate));
        }
    }

    void unreadable_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("not json") << QByteArray("{\"projects\": [");
        QTest::newRow("array at top") << QByteArray("[]");
        QTest::newRow("empty file") << QByteArray("");
        QTest::newRow("no fee") << doc(R"({"name":"x"})");
        QTest::newRow("no name") << doc(R"({"fee":1})");
        QTest::newRow("null name") << doc(R"({"name":null,"fee":1})");
        QTest::newRow("fee as text") << doc(R"({"name":"x","fee":"100"})");
        QTest::newRow("unknown status") << doc(project(R"("status":"cancelled")"));
        QTest::newRow("status not text") << doc(project(R"("status":1)"));
        QTest::newRow("bad id") << doc(R"({"id":"not-a-uuid","name":"x","fee":1})");
        QTest::newRow("braced id") << doc("{\"id\":\"{" + kId + "}\",\"name\":\"x\",\"fee\":1}");
        QTest::newRow("date without zone") << doc(project(R"("date":"2026-03-15T12:00:00")"));
        QTest::newRow("date with fraction") << doc(project(R"("date":"2026-03-15T12:00:00.5Z")"));
        QTest::newRow("date only") << doc(project(R"("date":"2026-03-15")"));
        QTest::newRow("impossible date") << doc(project(R"("date":"2026-02-30T12:00:00Z")"));
        QTest::newRow("date as number") << doc(project(R"("date":0)"));
        QTest::newRow("layout unknown") << QByteArray(R"({"layout":"grid"})");
        QTest::newRow("column order holds a layout") << QByteArray(R"({"columnOrder":["table"]})");
        QTest::newRow("colour not text") << QByteArray(R"({"columnColors":{"paid":1}})");
        QTest::newRow("client not text") << QByteArray(R"({"clients":["a",2]})");
        QTest::newRow("clients not list") << QByteArray(R"({"clients":"a"})");
        QTest::newRow("tax as text") << QByteArray(R"({"taxRate":"20"})");
        QTest::newRow("project not object") << doc("1");
        QTest::newRow("infinite number") << doc(R"({"name":"x","fee":1e999})");
        QTest::newRow("infinite target") << QByteArray(R"({"targetGoal":-1e400})");
        QTest::newRow("due date with time") << doc(project(R"("dueDate":"2026-03-15T12:00:00Z")"));
        QTest::newRow("due date short month") << doc(project(R"("dueDate":"2026-3-15")"));
        QTest::newRow("paid on impossible day") << doc(project(R"("paidOn":"2025-02-29")"));
        QTest::newRow("paid on year 0") << doc(project(R"("paidOn":"0000-01-01")"));
        QTest::newRow("pending since number") << doc(project(R"("pendingSince":20260315)"));
        QTest::newRow("pending since non-ASCII digit")
            << doc(project("\"pendingSince\":\"2026-03-1\u0661\""));
        QTest::newRow("pending since slashes") << doc(project(R"("pendingSince":"2026/03/15")"));
        QTest::newRow("terms not object") << QByteArray(R"({"clientTerms":[45]})");
        QTest::newRow("forecast weight as text") << QByteArray(R"({"forecastPendingPercent":"90"})");
    }

    // Payment days and terms: read strictly, written only when set and where their keys sort,
    // and a document without them written exactly as before.
    void paymentFields()
    {
        AppData d;
        d.clients = {QStringLiteral("Acme")};
        Project p;
        p.id = QUuid::fromString(QStringLiteral("{5f1c5a8e-3b1d-4c2a-9e3f-1a2b3c4d5e6f}"));
        p.name = QStringLiteral("Site");
        p.client = QStringLiteral("Acme");
        p.fee = 10;
        p.status = Status::pending;
        p.date = QDateTime(QDate(2026, 3, 15), QTime(9, 0), Qt::UTC);
        d.projects = {p};
        const QByteArray plain = *DataFile::encode(d);
        for (const char* key : {"dueDate", "paidOn", "pendingSince", "clientTerms", "forecast"})
            QVERIFY2(!plain.contains(key), key);

        d.projects[0].pendingSince = QDate(2024, 2, 29);
        d.projects[0].dueDate = QDate(2024, 3, 30);
        d.projects[0].paidOn = QDate(9, 1, 2); // a year of one digit still takes four
        d.clientTerms.insert(QStringLiteral("Acme"), 45);
        d.clientTerms.insert(QStringLiteral("Bolt"), 0);
        d.clientTerms.insert(QStringLiteral("Same"), AppData::kDefaultTermsDays); // never written
        d.forecastPendingPercent = 85.5;
        d.forecastOngoingPercent = 0;
        const QByteArray written = *DataFile::encode(d);
        const QByteArray expectedProject = "            \"date\": \"2026-03-15T09:00:00Z\",\n"
                                           "            \"dueDate\": \"2024-03-30\",\n"
                                           "            \"fee\": 10,\n"
                                           "            \"id\": \"5F1C5A8E-3B1D-4C2A-9E3F-1A2B3C4D5E6F\",\n"
                                           "            \"name\": \"Site\",\n"
                                           "            \"outsource\": 0,\n"
                                           "            \"paidOn\": \"0009-01-02\",\n"
                                           "            \"pendingSince\": \"2024-02-29\",\n"
                                           "            \"status\": \"pending\"\n";
        QVERIFY2(written.contains(expectedProject), written.constData());
        QVERIFY2(written.contains("    \"categories\": [],\n    \"clientTerms\": {\n        \"Acme\": 45,\n"
                                  "        \"Bolt\": 0\n    },\n    \"clients\": ["),
                 written.constData());
        QVERIFY2(written.contains("    \"currency\": \"$\",\n    \"forecastOngoingPercent\": 0,\n"
                                  "    \"forecastPendingPercent\": 85.5,\n    \"layout\""),
                 written.constData());
        const std::optional<AppData> back = DataFile::decode(written);
        QVERIFY(back);
        d.clientTerms.remove(QStringLiteral("Same"));
        QCOMPARE(*back, d);
        QCOMPARE(*DataFile::encode(*back), written);

        // Null takes the default; terms that are no whole number of days from 0 to 3650 are
        // dropped and the document stays readable.
        const std::optional<AppData> lenient = DataFile::decode(
            R"({"clientTerms":{"A":45,"B":12.5,"C":-1,"D":"14","E":3651,"F":null,"G":30,"H":3650,"I":7.0},)"
            R"("forecastPendingPercent":null,"projects":[{"name":"x","fee":1,"dueDate":null,"paidOn":null}]})");
        QVERIFY(lenient);
        QCOMPARE(lenient->clientTerms,
                 (QMap<QString, int>{
                     {QStringLiteral("A"), 45}, {QStringLiteral("H"), 3650}, {QStringLiteral("I"), 7}}));
        QVERIFY(!lenient->forecastPendingPercent);
        QVERIFY(!lenient->projects.at(0).dueDate.isValid() && !lenient->projects.at(0).paidOn.isValid());
        QCOMPARE(lenient->termsDays(QStringLiteral("A")), 45);
        QCOMPARE(lenient->termsDays(QStringLiteral("B")), AppData::kDefaultTermsDays);

        // A day outside the years the file holds fails the write instead of making it unreadable.
        d.projects[0].dueDate = QDate(10000, 1, 1);
        QString error;
        QVERIFY(!DataFile::encode(d, &error));
        QVERIFY(!error.isEmpty());
    }
    void unreadable()
    {
        QFETCH(QByteArray, json);
        QString error;
        QVERIFY(!DataFile::decode(json, &error));
        QVERIFY(!error.isEmpty());
    }
};

TB_TEST_MAIN(TestDataFile)
#include "tst_datafile.moc"
