#include "TestMain.h"

#include "StatsFixture.h"
#include "StatsTestData.h"
#include "i18n/CurrencyRate.h"
#include "model/Store.h"
#include "stats/CategoryCard.h"
#include "stats/CategoryRowsView.h"
#include "stats/KPICard.h"
#include "stats/MonthlyChart.h"
#include "stats/StatsHeader.h"
#include "stats/StatsView.h"
#include "ui/PillOption.h"
#include "ui/PillSegment.h"
#include "ui/Theme.h"

#include <QLabel>
#include <QVBoxLayout>

using StatsTestData::project;

class TestStatsView final : public QObject
{
    Q_OBJECT

private:
    StatsFixture m_fixture;
    Store* m_store = nullptr;

    void setProjects(const QVector<Project>& projects) { m_fixture.setProjects(projects); }

    static QStringList texts(const KPICard* card) { return {card->title(), card->value(), card->detail()}; }

    // A project of `client` moved to Pending on `pending` and to Paid `days` later, as the board does it.
    void paidAfter(const QString& name, const QString& client, const QDate& pending, int days)
    {
        Project p = project(name, 100, pending.year(), pending.month(), Status::ongoing, client);
        m_store->save(p);
        QDate today = pending;
        m_store->setToday([&today] { return today; });
        m_store->move(p.id, Status::pending);
        today = pending.addDays(days);
        m_store->move(p.id, Status::paid);
        m_store->setToday({});
    }

private slots:
    void init()
    {
        m_fixture.reset();
        m_store = m_fixture.store.get();
    }

    void noPaidProjects()
    {
        setProjects({project("Waiting", 9000, 2025, 3, Status::pending),
                     project("Busy", 7000, 2025, 4, Status::ongoing)});
        StatsView view(*m_store);
        view.show();
        QCOMPARE(texts(view.card(0)), (QStringList{"2025 Net Revenue", "$0", "0 paid projects"}));
        QCOMPARE(texts(view.card(1)), (QStringList{"Peak Revenue Month", "None", "$0"}));
        QCOMPARE(texts(view.card(2)), (QStringList{"Highest Paid Client", "None", "$0 total billed"}));
        QCOMPARE(texts(view.card(3)), (QStringList{"Highest Value Project", "None", "$0"}));
        QCOMPARE(view.card(0)->icon(), QStringLiteral("building.columns"));
        QCOMPARE(view.card(1)->icon(), QStringLiteral("calendar.badge.checkmark"));
        QCOMPARE(view.card(2)->icon(), QStringLiteral("crown"));
        QCOMPARE(view.card(3)->icon(), QStringLiteral("trophy"));

        m_store->setLanguage(AppLanguage::tr);
        QCOMPARE(texts(view.card(0)), (QStringList{"2025 Net Gelir", "0 ₺", "0 ödenen proje"}));
        QCOMPARE(texts(view.card(1)), (QStringList{"En İyi Ay", "Yok", "0 ₺"}));
        // Titles read as section labels, with Turkish casing, cut short with an ellipsis.
        view.card(1)->resize(400, view.card(1)->height());
        QCOMPARE(view.card(1)->shownTitle(), QStringLiteral("EN İYİ AY"));
        view.card(2)->resize(150, view.card(2)->height());
        QVERIFY(view.card(2)->shownTitle().endsWith(QChar(0x2026)));
        QVERIFY(view.card(2)->shownTitle().startsWith(QStringLiteral("EN")));
        QCOMPARE(texts(view.card(2)), (QStringList{"En Çok Kazandıran Müşteri", "Yok", "Toplam: 0 ₺"}));
        QCOMPARE(texts(view.card(3)), (QStringList{"En Yüksek Bütçeli Proje", "Yok", "0 ₺"}));
        m_store->ui().setStatsAllTime(true);
        QCOMPARE(view.card(0)->title(), QStringLiteral("Tüm Zamanlar Net Gelir"));
    }

    void keyFiguresFollowTheStore()
    {
        setProjects({project("Logo", 1000, 2025, 2, Status::paid, "Zeta", "Branding", 200),
                     project("Site", 500, 2025, 6, Status::paid, "alpha", "Web", 0),
                     project("Old", 300, 2024, 6, Status::paid, "alpha", "Web", 0)});
        StatsView view(*m_store);
        view.show();
        // Net subtracts outsourcing; the client total uses fees.
        using TestEnv::localized;
        QCOMPARE(texts(view.card(0)),
                 (QStringList{"2025 Net Revenue", localized("$1,300"), "2 paid projects"}));
        QCOMPARE(texts(view.card(1)),
                 (QStringList{"Peak Revenue Month", TestEnv::pick("February", "Februar", "Şubat"),
                              localized("$1,000")}));
        QCOMPARE(texts(view.card(2)),
                 (QStringList{"Highest Paid Client", "Zeta", localized("$1,000 total billed")}));
        QCOMPARE(texts(view.card(3)), (QStringList{"Highest Value Project", "Logo", localized("$1,000")}));
        QCOMPARE(view.card(0)->accessibleName(),
                 "2025 Net Revenue, " + TestEnv::localized(QStringLiteral("$1,300")) + ", 2 paid projects");

        m_store->setActiveYear(2024);
        QCOMPARE(texts(view.card(0)), (QStringList{"2024 Net Revenue", "$300", "1 paid project"}));
        m_store->setLanguage(AppLanguage::tr);
        QCOMPARE(texts(view.card(0)), (QStringList{"2024 Net Gelir", "9.750 ₺", "1 ödenen proje"}));
        QCOMPARE(texts(view.card(2)), (QStringList{"En Çok Kazandıran Müşteri", "alpha", "Toplam: 9.750 ₺"}));
        QCOMPARE(view.card(1)->value(), QStringLiteral("Haziran"));

        // A new project shows at once.
        m_store->save(project("Poster", 5000, 2024, 1));
        QCOMPARE(view.card(3)->value(), QStringLiteral("Poster"));
        QCOMPARE(view.card(0)->detail(), QStringLiteral("2 ödenen proje"));
    }

    void averageDaysToPayFollowsTheRange()
    {
        StatsView view(*m_store);
        view.show();
        KPICard* days = view.card(4);
        QCOMPARE(days->icon(), QStringLiteral("calendar"));
        // Paid projects without both days count for nothing.
        setProjects({project("Old paid", 500, 2025, 3)});
        QCOMPARE(texts(days), (QStringList{"Average Days to Pay", "—", "No payment days yet"}));

        // 2025: 12 + 1 + 30 days (Feb 28 to Mar 30 across the month end) = 43 / 3, shown whole.
        paidAfter("a", "Acme", QDate(2025, 1, 10), 12);
        paidAfter("b", "Acme", QDate(2025, 6, 30), 1);
        paidAfter("c", "Zed", QDate(2025, 2, 28), 30);
        // 2024, a leap year: Feb 20 to Mar 1 is 10 days.
        paidAfter("d", "Old", QDate(2024, 2, 20), 10);
        m_store->setActiveYear(2025); // a saved project brings its own year forward
        QCOMPARE(m_store->daysToPay(false).count, 3);
        QCOMPARE(texts(days), (QStringList{"Average Days to Pay", "14 days", "from 3 paid projects"}));
        QCOMPARE(days->accessibleName(),
                 QStringLiteral("Average Days to Pay, 14 days, from 3 paid projects"));

        m_store->ui().setStatsAllTime(true);
        QCOMPARE(days->value(), QStringLiteral("13 days")); // 53 / 4
        QCOMPARE(days->detail(), QStringLiteral("from 4 paid projects"));
        m_store->ui().setStatsAllTime(false);
        m_store->setActiveYear(2024);
        QCOMPARE(texts(days), (QStringList{"Average Days to Pay", "10 days", "from 1 paid project"}));

        m_store->setLanguage(AppLanguage::tr);
        QCOMPARE(texts(days), (QStringList{"Ortalama Ödeme Süresi", "10 gün", "1 ödenen projeden"}));
        days->resize(400, days->height());
        QCOMPARE(days->shownTitle(), QStringLiteral("ORTALAMA ÖDEME SÜRESİ"));
        m_store->setActiveYear(2023);
        QCOMPARE(texts(days), (QStringList{"Ortalama Ödeme Süresi", "—", "Henüz ödeme günü yok"}));
        m_store->setLanguage(AppLanguage::en);

        // One day, singular; a project paid before it was pending counts as 0 days.
        paidAfter("e", "One", QDate(2026, 5, 4), 1);
        m_store->setActiveYear(2026);
        QCOMPARE(days->value(), QStringLiteral("1 day"));
        Project early = project("f", 100, 2026, 5, Status::paid, "One");
        early.pendingSince = QDate(2026, 5, 10);
        early.paidOn = QDate(2026, 5, 8);
        m_store->save(early);
        m_store->setActiveYear(2026);
        QCOMPARE(days->value(), QStringLiteral("1 day")); // 0.5 rounds up
        QCOMPARE(view.payers()->rows()->figuresText(0), QStringLiteral("1 day"));
    }

    void peakMonthKeepsYearsApartInAllTime()
    {
        setProjects({project("a", 500, 2024, 3), project("b", 600, 2025, 3), project("c", 1000, 2025, 4)});
        m_store->ui().setStatsAllTime(true);
        StatsView view(*m_store);
        view.show();
        QCOMPARE(view.card(0)->title(), QStringLiteral("All-Time Net Revenue"));
        QCOMPARE(view.card(1)->value(), TestEnv::pick("April 2025", "April 2025", "Nisan 2025"));
        QCOMPARE(view.chart()->months()[2].value, 1100.0);
        QCOMPARE(view.chart()->barColor(2), Theme::brand());
        m_store->setLanguage(AppLanguage::tr);
        QCOMPARE(view.card(1)->value(), QStringLiteral("Nisan 2025"));
        m_store->ui().setStatsAllTime(false);
        QCOMPARE(view.card(1)->value(), QStringLiteral("Nisan"));
        QCOMPARE(view.chart()->barColor(3), Theme::brand());
        QCOMPARE(view.chart()->barColor(2), Theme::bar());
    }

    void pageTextsAndRange()
    {
        StatsView view(*m_store);
        view.resize(1200, 800);
        view.show();
        QCOMPARE(view.header()->title(), QStringLiteral("Financial Performance & Analytics"));
        QCOMPARE(view.header()->subtitle(),
                 QStringLiteral("Realized revenues, peak production months, and high-value accounts"));
        QCOMPARE(view.chartTitle(), QStringLiteral("Monthly Revenue Distribution"));
        QCOMPARE(view.chartHint(), QStringLiteral("Hover over any month to view earned revenue."));
        PillSegment* range = view.header()->range();
        QCOMPARE(range->options().size(), 2);
        QCOMPARE(range->options()[0].label, QStringLiteral("Selected Year"));
        QCOMPARE(range->options()[1].label, QStringLiteral("All Time"));
        QCOMPARE(range->selectedIndex(), 0);

        m_store->setLanguage(AppLanguage::tr);
        QCOMPARE(view.header()->title(), QStringLiteral("Finansal Performans"));
        QCOMPARE(view.header()->subtitle(),
                 QStringLiteral("Gerçekleşen gelirler, en verimli aylar ve yüksek bütçeli müşteriler"));
        QCOMPARE(view.chartTitle(), QStringLiteral("Aylara Göre Gelir Dağılımı"));
        QCOMPARE(view.chartHint(),
                 QStringLiteral("Kazandığınız bedeli görmek için ilgili ayın üzerine gelin."));
        QCOMPARE(range->options()[0].label, QStringLiteral("Seçilen Yıl"));
        QCOMPARE(range->options()[1].label, QStringLiteral("Tüm Zamanlar"));

        // Clicking the range writes the store, and the store moves the pill.
        QTest::mouseClick(range->optionButton(1), Qt::LeftButton);
        QVERIFY(m_store->ui().statsAllTime());
        QCOMPARE(view.card(0)->title(), QStringLiteral("Tüm Zamanlar Net Gelir"));
        m_store->ui().setStatsAllTime(false);
        QCOMPARE(range->selectedIndex(), 0);
    }

    void layoutOfTheCards()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        // Built apart and then placed in a window, as the main window does with its pages.
        auto* view = new StatsView(*m_store);
        layout->addWidget(view);
        window.resize(1300, 900);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int width = view->card(0)->width();
        for (int i = 1; i < 5; ++i) {
            QVERIFY(qAbs(view->card(i)->width() - width) <= 1);
            QCOMPARE(view->card(i)->x() - view->card(i - 1)->geometry().right() - 1, 16);
        }
        auto* chartTitle = view->findChild<QLabel*>(QStringLiteral("chartTitle"));
        QVERIFY(chartTitle);
        QCOMPARE(chartTitle->pos(), QPoint(28, 28));
        QCOMPARE(view->chart()->height(), 230);
        auto* categoryPanel = view->findChild<QWidget*>(QStringLiteral("categoryPanel"));
        QCOMPARE(categoryPanel->width(), 320);
        QCOMPARE(view->categories()->pos(), QPoint(24, 24));
        QCOMPARE(categoryPanel->x() -
                     view->findChild<QWidget*>(QStringLiteral("chartCard"))->geometry().right() - 1,
                 24);
        // The slowest payers sit under the categories, in the same column.
        auto* payersPanel = view->findChild<QWidget*>(QStringLiteral("payersPanel"));
        QCOMPARE(payersPanel->width(), 320);
        QCOMPARE(payersPanel->x(), categoryPanel->x());
        QCOMPARE(payersPanel->y() - categoryPanel->geometry().bottom() - 1, 24);
        QCOMPARE(view->payers()->pos(), QPoint(24, 24));

        // The narrowest window: too little room for five titles in a row, so three above two, each
        // row filling the page; nothing wider than the page.
        QCOMPARE(view->card(4)->y(), view->card(0)->y());
        window.resize(1040, 680);
        QCoreApplication::processEvents();
        QCOMPARE(view->card(2)->y(), view->card(0)->y());
        QCOMPARE(view->card(3)->y() - view->card(0)->geometry().bottom() - 1, 16);
        QCOMPARE(view->card(4)->y(), view->card(3)->y());
        QCOMPARE(view->card(2)->geometry().right(), view->card(4)->geometry().right());
        QVERIFY(view->card(0)->width() >= 220);
        QCOMPARE(view->card(2)->shownTitle(), QStringLiteral("HIGHEST PAID CLIENT"));
        QCOMPARE(view->card(4)->shownTitle(), QStringLiteral("AVERAGE DAYS TO PAY"));
        window.resize(1300, 900);
        QCoreApplication::processEvents();
        QCOMPARE(view->card(4)->y(), view->card(0)->y());
        QVERIFY(payersPanel->geometry().right() < view->width());
        QVERIFY(view->card(4)->geometry().right() < view->width());
    }

    void hoverAndPopoverLastOneShowing()
    {
        QVector<Project> projects;
        for (int i = 0; i < 7; ++i)
            projects << project(QString::number(i), 100.0 * (i + 1), 2025, 1 + i, Status::paid, "C",
                                QStringLiteral("Category %1").arg(i));
        setProjects(projects);
        StatsView view(*m_store);
        view.resize(1200, 800);
        view.show();
        view.chart()->setSelectedIndex(2);
        view.categories()->setShowAllCategories(true);
        QVERIFY(view.categories()->showAllCategories());
        view.hide();
        QVERIFY(!view.payers()->showAllCategories());
        QCOMPARE(view.chart()->selectedMonth(), QString());
        QVERIFY(!view.categories()->showAllCategories());

        // Changes while hidden are applied when the page shows again.
        m_store->update([](AppData& d) { d.projects.removeLast(); });
        QCOMPARE(view.card(0)->detail(), QStringLiteral("7 paid projects"));
        view.show();
        QCOMPARE(view.card(0)->detail(), QStringLiteral("6 paid projects"));

        // So is a live rate that arrives while another tab is shown.
        m_store->setLanguage(AppLanguage::tr);
        QCOMPARE(view.card(0)->value(), m_store->money(2100));
        view.hide();
        CurrencyRate::setUsdToTry(40);
        view.show();
        QCOMPARE(view.card(0)->value(), QStringLiteral("84.000 ₺"));
        CurrencyRate::setUsdToTry(32.5);
        QCOMPARE(view.card(0)->value(), QStringLiteral("68.250 ₺"));
    }
};

TB_WIDGET_TEST_MAIN(TestStatsView)
#include "tst_stats_view.moc"
