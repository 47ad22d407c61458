#include "TestMain.h"

#include "model/Amount.h"
#include "model/AppData.h"
#include "model/HexColor.h"
#include "model/Project.h"

#include <QSet>

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
        const auto result = Amount::parse(text);
        QCOMPARE(result.has_value(), some);
        if (some)
            QCOMPARE(*result, value);
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
