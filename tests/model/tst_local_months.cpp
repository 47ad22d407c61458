#include "TestMain.h"

#include "model/LocalMonths.h"

#include <QRandomGenerator>

namespace {

LocalMonths::YearMonth expected(const QDateTime& t)
{
    const QDate day = t.toLocalTime().date();
    return day.isValid() ? LocalMonths::YearMonth{day.year(), day.month()} : LocalMonths::YearMonth{};
}

// Instants around every month start of a few years, plus the odd far date.
QVector<QDateTime> instants()
{
    QVector<QDateTime> out;
    for (int year : {1911, 1932, 1969, 2011, 2015, 2024, 2025, 2038}) {
        for (int month = 1; month <= 12; ++month) {
            const QDateTime start(QDate(year, month, 1), QTime(0, 0), Qt::UTC);
            for (qint64 m = -3 * 24 * 60; m <= 3 * 24 * 60; m += 47)
                out << start.addSecs(m * 60);
        }
    }
    QRandomGenerator random(7);
    for (int i = 0; i < 3000; ++i)
        out << QDateTime::fromMSecsSinceEpoch(
            qint64(random.bounded(400.0 * 365 * 86400) - 200.0 * 365 * 86400) * 1000, Qt::UTC);
    out << QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC) << QDateTime(QDate(1, 1, 2), QTime(23, 0), Qt::UTC)
        << QDateTime(QDate(9999, 12, 31), QTime(23, 0), Qt::UTC) << QDateTime();
    return out;
}

} // namespace

class TestLocalMonths final : public QObject
{
    Q_OBJECT

private slots:
    void matchesLocalConversionInEveryZone_data()
    {
        QTest::addColumn<QByteArray>("zone");
        // Daylight saving on month starts, half-hour and 45-minute offsets, the date line
        // moved both ways, the widest offsets, and a rule written out in full.
        for (const char* zone : {"Europe/Istanbul", "America/Sao_Paulo", "Australia/Lord_Howe",
                                 "Pacific/Apia", "Pacific/Kwajalein", "Pacific/Kiritimati",
                                 "Pacific/Pago_Pago", "Asia/Kathmandu", "America/St_Johns", "Asia/Tehran",
                                 "UTC", "XXX-14YYY-15,M3.1.0/0,M11.1.0/0", "WWW+12VVV+11,M3.1.0/0,M11.1.0/0"})
            QTest::newRow(zone) << QByteArray(zone);
    }

    void matchesLocalConversionInEveryZone()
    {
        QFETCH(QByteArray, zone);
        const QByteArray previous = qgetenv("TZ");
        qputenv("TZ", zone);
        LocalMonths months;
        int checked = 0;
        for (const QDateTime& utc : instants()) {
            // The same instant held in UTC, in local time and at a fixed offset.
            for (const QDateTime& t : {utc, utc.toLocalTime(), utc.toOffsetFromUtc(-5 * 3600 - 1800)}) {
                const LocalMonths::YearMonth got = months.of(t);
                const LocalMonths::YearMonth want = expected(t);
                if (got.year != want.year || got.month != want.month)
                    QFAIL(qPrintable(QStringLiteral("%1 in %2: %3-%4, expected %5-%6")
                                         .arg(t.toString(Qt::ISODateWithMs), QString::fromLatin1(zone))
                                         .arg(got.year)
                                         .arg(got.month)
                                         .arg(want.year)
                                         .arg(want.month)));
                ++checked;
            }
            // Asked again (now from the remembered border instants), the answer stays.
            const LocalMonths::YearMonth again = months.of(utc);
            QCOMPARE(again.month, expected(utc).month);
        }
        QVERIFY(checked > 10000);
        qputenv("TZ", previous);
    }

    void convertsOnlyNearMonthBorders()
    {
        LocalMonths months;
        // Noon in mid-month: no conversion at all.
        for (int day = 3; day <= 26; ++day)
            months.of(QDateTime(QDate(2025, 5, day), QTime(12, 0), Qt::UTC));
        QCOMPARE(months.conversions(), 0);
        // On the first of a month each distinct instant is converted once.
        const QDateTime border(QDate(2025, 6, 1), QTime(1, 0), Qt::UTC);
        for (int i = 0; i < 5; ++i)
            months.of(border);
        months.of(border.addSecs(60));
        QCOMPARE(months.conversions(), 2);
        // Dates held in local time need no conversion.
        months.of(QDateTime(QDate(2025, 6, 1), QTime(0, 30), Qt::LocalTime));
        QCOMPARE(months.conversions(), 2);
        const LocalMonths::YearMonth none = months.of(QDateTime());
        QCOMPARE(none.month, 0);
    }
};

TB_TEST_MAIN(TestLocalMonths)
#include "tst_local_months.moc"
