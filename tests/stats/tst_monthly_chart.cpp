#include "TestMain.h"

#include "stats/MonthlyChart.h"
#include "ui/Theme.h"

#include <QAccessible>
#include <QSignalSpy>

using StatsFigures::MonthTotal;

namespace {

QVector<MonthTotal> months(const QVector<double>& values)
{
    QVector<MonthTotal> out;
    for (int i = 0; i < 12; ++i)
        out << MonthTotal{i, StatsFigures::shortMonthName(AppLanguage::en, i + 1), values.value(i)};
    return out;
}

QStringList money(const QVector<MonthTotal>& list)
{
    QStringList out;
    for (const MonthTotal& m : list)
        out << QStringLiteral("$%1").arg(m.value);
    return out;
}

void hover(QWidget& w, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, w.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &move);
}

QColor pixel(const QImage& image, QPointF at)
{
    return image.pixelColor(at.toPoint());
}

} // namespace

class TestMonthlyChart final : public QObject
{
    Q_OBJECT

private slots:
    void emptyMonthsShowEqualStubs()
    {
        MonthlyChart chart;
        chart.resize(720, MonthlyChart::kHeight);
        const QVector<MonthTotal> empty = months({});
        chart.setMonths(empty, StatsFigures::peakBar(empty), money(empty));
        QCOMPARE(chart.scaleMax(), 1150.0);
        const qreal stub = chart.plotRect().height() * 60 / 1150;
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(chart.barRect(i).height(), stub);
            QCOMPARE(chart.barColor(i), Theme::bar());
        }
        // A highest total of 1000 or less keeps the same scale.
        QVector<MonthTotal> small = months({0, 0, 1000});
        chart.setMonths(small, StatsFigures::peakBar(small), money(small));
        QCOMPARE(chart.scaleMax(), 1150.0);
    }

    void barsInMonthOrderOnTheScale()
    {
        MonthlyChart chart;
        chart.resize(720, MonthlyChart::kHeight);
        const QVector<MonthTotal> list = months({500, 2000, 0, 2000, 100});
        chart.setMonths(list, StatsFigures::peakBar(list), money(list));
        QCOMPARE(chart.scaleMax(), 2300.0);
        const QRectF plot = chart.plotRect();
        QCOMPARE(chart.height(), 230);
        QVERIFY(plot.height() > 180 && plot.height() < 230);
        for (int i = 0; i < 12; ++i) {
            const QRectF bar = chart.barRect(i);
            QCOMPARE(bar.width(), 26.0);
            QCOMPARE(bar.bottom(), plot.bottom());
            // Centred in its twelfth of the width, January first.
            QCOMPARE(bar.center().x(), plot.left() + (i + 0.5) * plot.width() / 12);
        }
        QCOMPARE(chart.barRect(1).height(), plot.height() * 2000 / 2300);
        QCOMPARE(chart.barRect(0).height(), plot.height() * 500 / 2300);
        // Empty months and small values both stand at 6 % of the top.
        QCOMPARE(chart.barRect(2).height(), plot.height() * 120 / 2300);
        QCOMPARE(chart.barRect(4).height(), plot.height() * 120 / 2300);
        // The earlier of two equal highest months is the peak.
        QCOMPARE(chart.barColor(1), Theme::brand());
        QCOMPARE(chart.barColor(3), Theme::bar());

        const QImage image = chart.grab().toImage();
        QCOMPARE(pixel(image, chart.barRect(1).center()), Theme::brand());
        QCOMPARE(pixel(image, chart.barRect(3).center()), Theme::bar());
    }

    void hoverRecoloursAndShowsTheAmount()
    {
        MonthlyChart chart;
        chart.resize(720, MonthlyChart::kHeight);
        const QVector<MonthTotal> list = months({500, 2000, 0, 300});
        chart.setMonths(list, StatsFigures::peakBar(list), money(list));
        chart.show();
        QSignalSpy spy(&chart, &MonthlyChart::selectedMonthChanged);

        hover(chart, chart.barRect(3).center().toPoint());
        QCOMPARE(chart.selectedMonth(), QStringLiteral("Apr"));
        QCOMPARE(chart.barColor(3), Theme::barHover());
        QRectF bubble = chart.bubbleRect();
        QCOMPARE(bubble.bottom(), chart.barRect(3).top() - 6);
        QCOMPARE(bubble.center().x(), chart.barRect(3).center().x());
        QImage image = chart.grab().toImage();
        QCOMPARE(pixel(image, chart.barRect(3).center()), Theme::barHover());
        QCOMPARE(pixel(image, QPointF(bubble.left() + 3, bubble.center().y())), Theme::ink());

        // A stub shows the real amount, not its height.
        hover(chart, QPoint(int(chart.barRect(2).center().x()), 5));
        QCOMPARE(chart.selectedMonth(), QStringLiteral("Mar"));
        QCOMPARE(chart.moneyText(chart.selectedIndex()), QStringLiteral("$0"));

        // The peak keeps its colour under the pointer and still shows its bubble.
        hover(chart, chart.barRect(1).center().toPoint());
        QCOMPARE(chart.barColor(1), Theme::brand());
        QVERIFY(!chart.bubbleRect().isEmpty());
        QCOMPARE(spy.count(), 3);

        // Over the month labels below the plot nothing is selected.
        hover(chart, QPoint(int(chart.barRect(3).center().x()), chart.height() - 3));
        QCOMPARE(chart.selectedMonth(), QString());
        QVERIFY(chart.bubbleRect().isEmpty());
        hover(chart, QPoint(int(chart.barRect(3).center().x()), int(chart.plotRect().bottom()) - 1));
        QCOMPARE(chart.selectedMonth(), QStringLiteral("Apr"));

        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&chart, &leave);
        QCOMPARE(chart.selectedMonth(), QString());
        QVERIFY(chart.bubbleRect().isEmpty());
        QCOMPARE(chart.barColor(3), Theme::bar());
        image = chart.grab().toImage();
        QCOMPARE(pixel(image, chart.barRect(3).center()), Theme::bar());
    }

    void labelsAndAccessibility()
    {
        MonthlyChart chart;
        chart.resize(720, MonthlyChart::kHeight);
        QVector<MonthTotal> list = months({10, 20});
        list[0].label = QStringLiteral("Oca");
        chart.setMonths(list, StatsFigures::peakBar(list), money(list));
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&chart);
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Monthly revenue chart"));
        QCOMPARE(a->childCount(), 12);
        QCOMPARE(a->child(0)->text(QAccessible::Name), QStringLiteral("Oca"));
        QCOMPARE(a->child(1)->text(QAccessible::Name), QStringLiteral("Feb"));
        QCOMPARE(a->child(1)->text(QAccessible::Value), QStringLiteral("$20"));
        QCOMPARE(a->indexOfChild(a->child(7)), 7);
        QCOMPARE(a->child(7)->parent(), a);
        // A narrow chart writes fewer labels rather than overlapping them; the bars stay.
        chart.resize(12 * 28, MonthlyChart::kHeight);
        QCOMPARE(chart.barRect(11).width(), 26.0);
    }
};

TB_WIDGET_TEST_MAIN(TestMonthlyChart)
#include "tst_monthly_chart.moc"
