#include "TestMain.h"

#include "OracleNoon.h"
#include "model/Amount.h"
#include "model/AppData.h"
#include "model/DataFile.h"
#include "model/HexColor.h"
#include "model/Project.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTimeZone>
#include <clocale>
#include <string>

namespace {
// Sets the local time zone for one scope.
class ZoneScope
{
public:
    explicit ZoneScope(const char* zone) : m_previous(qgetenv("TZ")) { qputenv("TZ", zone); }
    ~ZoneScope() { qputenv("TZ", m_previous); }

private:
    QByteArray m_previous;
};
} // namespace

class TestRecords final : public QObject
{
    Q_OBJECT
private slots:
    void amountParse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("some");
        QTest::addColumn<double>("value");
        QTest::newRow("eu grouping") << "1.234,56" << true << 1234.56;
        QTest::newRow("us grouping") << "1,234.5" << true << 1234.5;
        QTest::newRow("three digits is grouping") << "1.234" << true << 1234.0;
        QTest::newRow("trailing comma") << "12," << true << 12.0;
        QTest::newRow("leading point") << ".5" << true << 0.5;
        QTest::newRow("sign and spaces") << "$ 1 500" << true << 1500.0;
        QTest::newRow("minus dropped") << "-50" << true << 50.0;
        QTest::newRow("comma decimal") << "0,5" << true << 0.5;
        QTest::newRow("millions") << "1.000.000" << true << 1000000.0;
        QTest::newRow("last separator decides") << "1.5.25" << true << 15.25;
        QTest::newRow("lira sign") << "4.120 ₺" << true << 4120.0;
        QTest::newRow("non-ASCII digits dropped") << "١٢3" << true << 3.0;
        QTest::newRow("letters") << "abc," << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("only separators") << ".,." << false << 0.0;
        QTest::newRow("too large") << QString(400, QLatin1Char('9')) << false << 0.0;
    }
    void amountParse()
    {
        QFETCH(QString, text);
        QFETCH(bool, some);
        QFETCH(double, value);
        // The application loads the system locale into the C library; the reading must not
        // follow it. Each locale is loaded for real (LOCPATH, compiled by tools/locales.sh).
        const std::string before = std::setlocale(LC_ALL, nullptr);
        qputenv("LOCPATH", TB_LOCPATH);
        for (const char* name :
             {"C", "C.UTF-8", "en_US.UTF-8", "de_DE.UTF-8", "tr_TR.UTF-8", "fr_FR.UTF-8"}) {
            QVERIFY2(std::setlocale(LC_ALL, name), name);
            const auto result = Amount::parse(text);
            QVERIFY2(result.has_value() == some, name);
            if (some)
                QVERIFY2(*result == value,
                         qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(name)).arg(*result)));
        }
        std::setlocale(LC_ALL, before.c_str());
    }

    void fieldAmounts()
    {
        // Untouched: the stored amount itself, never a rounded or re-converted one.
        QCOMPARE(Amount::fromField(QStringLiteral("5014"), QStringLiteral("5014"), 100.004, 50.1413),
                 100.004);
        // Typed: converted back.
        QCOMPARE(Amount::fromField(QStringLiteral("4.120"), QStringLiteral("5014"), 100.004, 41.2), 100.0);
        QCOMPARE(Amount::fromField(QStringLiteral("250"), QString(), std::nullopt, 1.0), 250.0);
        QVERIFY(!Amount::fromField(QStringLiteral("abc"), QString(), std::nullopt, 1.0));
        QVERIFY(!Amount::fromField(QStringLiteral("10"), QString(), std::nullopt, 0.0));
        // A division that overflows is no amount: an infinity could never be saved.
        const QString huge = QStringLiteral("1") + QString(305, QLatin1Char('0'));
        QVERIFY(Amount::parse(huge));
        QVERIFY(!Amount::fromField(huge, QString(), std::nullopt, 0.0001));
        // Nothing above the documented bound is taken, typed or converted.
        QCOMPARE(Amount::fromField(QStringLiteral("1000000000000"), QString(), std::nullopt, 1.0), 1e12);
        QVERIFY(!Amount::fromField(QStringLiteral("1000000000001"), QString(), std::nullopt, 1.0));
        QVERIFY(!Amount::fromField(QStringLiteral("1000000"), QString(), std::nullopt, 1e-7));
        // A stored amount beyond it, left untouched, still comes back as it is.
        QCOMPARE(Amount::fromField(QStringLiteral("x"), QStringLiteral("x"), 1e300, 1.0), 1e300);
    }

    void hexColors()
    {
        const Rgb green = HexColor::fromHex(QStringLiteral("#009764"));
        QCOMPARE(green, (Rgb{0, 0x97 / 255.0, 0x64 / 255.0}));
        QCOMPARE(HexColor::fromHex(QStringLiteral("009764")), green);
        QCOMPARE(HexColor::fromHex(QStringLiteral("  #009764 \n")), green);
        const Rgb black{};
        QCOMPARE(HexColor::fromHex(QString()), black);
        QCOMPARE(HexColor::fromHex(QStringLiteral("#")), black);
        QCOMPARE(HexColor::fromHex(QStringLiteral("xyz")), black);
        QCOMPARE(HexColor::fromHex(QStringLiteral("#12G456")), black);
        // No shorthand: #FFF is 0x000FFF.
        QCOMPARE(HexColor::fromHex(QStringLiteral("#FFF")), (Rgb{0, 15 / 255.0, 1}));
        // Only the last six digits of a longer text count.
        QCOMPARE(HexColor::fromHex(QStringLiteral("#80E11D48")), HexColor::fromHex(QStringLiteral("E11D48")));
        QCOMPARE(HexColor::fromHex(QStringLiteral("+e11d48")), HexColor::fromHex(QStringLiteral("E11D48")));
        // More than 64 bits is not a number.
        QCOMPARE(HexColor::fromHex(QStringLiteral("#1234567890ABCDEF12")), black);

        QCOMPARE(HexColor::toHex(HexColor::fromHex(QStringLiteral("#e11d48"))), QStringLiteral("#E11D48"));
        QCOMPARE(HexColor::toHex(Rgb{1, 0.5, 0}), QStringLiteral("#FF8000"));
        QCOMPARE(HexColor::toHex(Rgb{qQNaN(), 0, 0}), QStringLiteral("#FFFFFF"));
    }

    void noonKeepsTheLocalDay()
    {
        // TZ is Europe/Istanbul (UTC+3) for the test run.
        const QDateTime lateEvening(QDate(2025, 12, 31), QTime(23, 59), Qt::LocalTime);
        const QDateTime noon = atNoon(lateEvening);
        QCOMPARE(noon.date(), QDate(2025, 12, 31));
        QCOMPARE(noon.time(), QTime(12, 0));
        const QDateTime early(QDate(2026, 3, 15), QTime(0, 0, 1), Qt::LocalTime);
        QCOMPARE(atNoon(early).toUTC(), QDateTime(QDate(2026, 3, 15), QTime(9, 0), Qt::UTC));
        QCOMPARE(atNoon(QDateTime()), QDateTime());
    }

    void noonWhereTheClocksChangeAtNoon()
    {
        // Three hours behind UTC; summer time (two behind) starts at 12:00 on the second Sunday
        // of March and ends at 13:00 on the first Sunday of November.
        ZoneScope zone("AAA+3BBB,M3.2.0/12,M11.1.0/13");
        const QDateTime utc = [](int month, int day, int hour) {
            return QDateTime(QDate(2026, month, day), QTime(hour, 0), Qt::UTC);
        }(3, 8, 11); // 08:00 local, before the skip
        // 12:00 never happens on 8 March: the first time after the skip is 13:00 summer time.
        const QDateTime spring = atNoon(utc);
        QCOMPARE(spring.toUTC(), QDateTime(QDate(2026, 3, 8), QTime(15, 0), Qt::UTC));
        QCOMPARE(spring.toLocalTime().time(), QTime(13, 0));
        QCOMPARE(atNoon(spring), spring);
        // 12:00 happens twice on 1 November: the first, still in summer time, is taken.
        const QDateTime autumn = atNoon(QDateTime(QDate(2026, 11, 1), QTime(20, 0), Qt::UTC));
        QCOMPARE(autumn.toUTC(), QDateTime(QDate(2026, 11, 1), QTime(14, 0), Qt::UTC));
        QCOMPARE(atNoon(autumn), autumn);
        QCOMPARE(atNoon(QDateTime(QDate(2026, 11, 1), QTime(23, 0), Qt::UTC)), autumn);
        // An ordinary day.
        QCOMPARE(atNoon(QDateTime(QDate(2026, 6, 1), QTime(1, 0), Qt::UTC)).toUTC(),
                 QDateTime(QDate(2026, 5, 31), QTime(14, 0), Qt::UTC));
    }

    // The noons now come from the C library's offsets, asked directly: they must be the ones Qt's
    // local time gave, around every change of the clocks from 1890 on in zones with odd rules, at
    // the ends of the calendar and beyond them.
    void noonAsQtWorksItOut()
    {
        QVector<qint64> around; // seconds either side of a change
        for (qint64 h : {0, 1, 5, 6, 7, 11, 12, 13, 23, 25})
            for (qint64 m : {0, 30})
                around << h * 3600 + m * 60 << -(h * 3600 + m * 60) << h * 3600 + m * 60 - 1;
        QVector<qint64> extremes;
        for (const QDate day :
             {QDate(1, 1, 1), QDate(1, 1, 2), QDate(9999, 12, 30), QDate(9999, 12, 31), QDate(-1, 12, 31),
              QDate(0, 1, 1), QDate(10000, 1, 1), QDate(-4713, 1, 2), QDate(1969, 12, 31), QDate(1970, 1, 1),
              QDate(2038, 1, 19), QDate(2106, 2, 7)})
            for (int hour : {0, 1, 11, 12, 13, 23})
                extremes << QDateTime(day, QTime(hour, 0, 59), Qt::UTC).toMSecsSinceEpoch();
        QRandomGenerator random(20261208);
        for (int i = 0; i < 300; ++i)
            extremes << QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch() +
                            qint64(random.bounded(3.15e14));
        const auto same = [](const QDateTime& moment, const char* zone) {
            const QDateTime now = atNoon(moment), before = Oracle::atNoon(moment);
            if (now.isValid() == before.isValid() && now.timeSpec() == before.timeSpec() &&
                (!now.isValid() || now.toMSecsSinceEpoch() == before.toMSecsSinceEpoch()))
                return true;
            qWarning("%s: %s gives %s, before %s", zone, qPrintable(moment.toString(Qt::ISODateWithMs)),
                     qPrintable(now.toString(Qt::ISODateWithMs)),
                     qPrintable(before.toString(Qt::ISODateWithMs)));
            return false;
        };
        int compared = 0;
        for (const char* name :
             {"Europe/Istanbul", "America/New_York", "Europe/Dublin", "Australia/Lord_Howe", "Pacific/Apia",
              "America/Sao_Paulo", "Africa/Casablanca", "Europe/Moscow", "America/St_Johns", "Asia/Kathmandu",
              "Pacific/Kiritimati", "UTC"}) {
            ZoneScope zone(name);
            const QTimeZone tz(name);
            QVERIFY2(tz.isValid(), name);
            const QDateTime from(QDate(1890, 1, 1), QTime(0, 0), Qt::UTC),
                to(QDate(2045, 1, 1), QTime(0, 0), Qt::UTC);
            QVector<qint64> instants = extremes;
            for (const QTimeZone::OffsetData& change : tz.transitions(from, to))
                for (const qint64 s : around)
                    instants << change.atUtc.toMSecsSinceEpoch() + s * 1000;
            for (qint64 day = from.toMSecsSinceEpoch(); day < to.toMSecsSinceEpoch();
                 day += qint64(997) * 3600 * 1000)
                instants << day;
            for (const qint64 ms : instants) {
                for (const Qt::TimeSpec spec : {Qt::UTC, Qt::LocalTime}) {
                    QVERIFY(same(QDateTime::fromMSecsSinceEpoch(ms, spec), name));
                    ++compared;
                }
            }
        }
        // A rule of one's own: summer time starts at noon and ends at 13:00.
        ZoneScope zone("AAA+3BBB,M3.2.0/12,M11.1.0/13");
        for (const QDate day :
             {QDate(2026, 3, 8), QDate(2026, 11, 1), QDate(1999, 3, 14), QDate(2099, 11, 1)})
            for (int minutes = -36 * 60; minutes <= 36 * 60; minutes += 17) {
                QVERIFY(same(QDateTime(day, QTime(12, 0), Qt::UTC).addSecs(minutes * 60), "rule"));
                ++compared;
            }
        QVERIFY(compared > 50000);
    }

    void everyDateReadCanBeWrittenAndReadBack()
    {
        const QDateTime first(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
        const QDateTime last(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);
        QVector<QDateTime> moments;
        // The ends of the range, where a day's noon may lie outside it in some zones.
        for (int hours : {0, 1, 11, 13, 23, 30, 47})
            moments << first.addSecs(hours * 3600) << last.addSecs(-hours * 3600);
        QRandomGenerator random(20261207);
        const qint64 span = first.secsTo(last);
        for (int i = 0; i < 400; ++i)
            moments << first.addSecs(qint64(random.bounded(double(span))));
        for (const char* name : {"UTC", "Europe/Istanbul", "Pacific/Kiritimati", "Etc/GMT+12",
                                 "America/New_York", "Asia/Kathmandu", "AAA+3BBB,M3.2.0/12,M11.1.0/13"}) {
            ZoneScope zone(name);
            AppData read;
            for (const QDateTime& m : moments) {
                Project p;
                p.id = QUuid::createUuid();
                p.date = m;
                read.projects << p;
            }
            const std::optional<QByteArray> file = DataFile::encode(read);
            QVERIFY2(file, name);
            // What a start does: read, move dates to noon, save; the next start must read that.
            const auto repaired = [](std::optional<AppData> d) {
                if (d) {
                    for (Project& p : d->projects)
                        p.date = atNoon(p.date);
                }
                return d;
            };
            const std::optional<AppData> once = repaired(DataFile::decode(*file));
            QVERIFY2(once, name);
            QString error;
            const std::optional<QByteArray> written = DataFile::encode(*once, &error);
            QVERIFY2(written, qPrintable(QLatin1String(name) + QLatin1String(": ") + error));
            const std::optional<AppData> back = DataFile::decode(*written);
            QVERIFY2(back, name);
            QCOMPARE(*back, *once);
            QCOMPARE(*repaired(back), *once);
            // The editor's days: noon of each is a moment the file can hold.
            for (const QDate day : {QDate(100, 1, 1), QDate(9998, 12, 31)})
                QVERIFY2(isWritable(atNoon(QDateTime(day, QTime(12, 0)))), name);
        }
        // Beyond the range the writer refuses instead of writing what the reader would reject.
        AppData beyond;
        Project late;
        late.date = last.addSecs(1);
        beyond.projects << late;
        QString error;
        QVERIFY(!DataFile::encode(beyond, &error));
        QVERIFY(!error.isEmpty());
    }

    void uuidTexts()
    {
        const QUuid id = QUuid::createUuid();
        const QString text = uuidText(id);
        QCOMPARE(text, text.toUpper());
        QCOMPARE(text.size(), 36);
        QCOMPARE(uuidFromText(text), std::optional<QUuid>(id));
        QCOMPARE(uuidFromText(text.toLower()), std::optional<QUuid>(id));
        QVERIFY(uuidFromText(QStringLiteral("00000000-0000-0000-0000-000000000000")).has_value());
        QVERIFY(!uuidFromText(QLatin1Char('{') + text + QLatin1Char('}')));
        QVERIFY(!uuidFromText(QString(text).remove(QLatin1Char('-'))));
        QVERIFY(!uuidFromText(QString(text).replace(0, 1, QStringLiteral("G"))));
        QVERIFY(!uuidFromText(QString(text).replace(8, 1, QStringLiteral("x"))));
    }

    void columnOrderNormalisation()
    {
        using S = Status;
        QCOMPARE(normalizedColumnOrder({}), (QVector<S>{S::paid, S::pending, S::ongoing}));
        QCOMPARE(normalizedColumnOrder({S::ongoing, S::ongoing}),
                 (QVector<S>{S::ongoing, S::paid, S::pending}));
        QCOMPARE(normalizedColumnOrder({S::pending, S::paid, S::pending, S::ongoing}),
                 (QVector<S>{S::pending, S::paid, S::ongoing}));
    }

    void emptyDocument()
    {
        const AppData d = AppData::empty();
        QCOMPARE(d.currency, QStringLiteral("$"));
        QCOMPARE(d.taxRate, 20.0);
        QCOMPARE(d.targetGoal, 120000.0);
        QCOMPARE(d.layout, BoardLayout::columns);
        QCOMPARE(d.columnOrder, (QVector<Status>{Status::paid, Status::pending, Status::ongoing}));
        QVERIFY(d.columnColors.isEmpty() && d.clients.isEmpty() && d.categories.isEmpty() &&
                d.projects.isEmpty());
    }

    void sampleStudio()
    {
        const AppData a = AppData::sample();
        const AppData b = AppData::sample();
        QCOMPARE(a.projects.size(), 37);
        QCOMPARE(a.clients.size(), 19);
        QCOMPARE(a.categories.size(), 6);
        const int year = QDate::currentDate().year();
        QMap<Status, double> fees;
        double outsourced = 0;
        QSet<int> years;
        QSet<QUuid> ids;
        for (const Project& p : a.projects) {
            years.insert(p.year());
            ids.insert(p.id);
            QVERIFY(a.clients.contains(p.client));
            QVERIFY(a.categories.contains(p.category));
            QCOMPARE(p.date.toLocalTime().time(), QTime(12, 0));
            QCOMPARE(p.date.toLocalTime().date().day(), 15);
            if (p.year() == year) {
                fees[p.status] += p.fee;
                if (p.status == Status::paid)
                    outsourced += p.outsource;
            }
        }
        QCOMPARE(fees[Status::paid], 60400.0);
        QCOMPARE(outsourced, 600.0);
        QCOMPARE(fees[Status::pending], 19300.0);
        QCOMPARE(fees[Status::ongoing], 31100.0);
        QCOMPARE(years, (QSet<int>{year, year - 1, year - 2}));
        QCOMPARE(ids.size(), 37);
        for (const Project& p : b.projects)
            QVERIFY(!ids.contains(p.id));
        QCOMPARE(a.projects.first().name, QStringLiteral("Aura Brand Identity"));
        QCOMPARE(a.projects.last().name, QStringLiteral("Solis Wellness Brand Guide"));
    }
};

TB_TEST_MAIN(TestRecords)
#include "tst_records.moc"
