#include "TestMain.h"
#include "tst_board_fixture.h"

#include "board/CardList.h"
#include "board/ChasePopover.h"
#include "board/ColumnModel.h"
#include "board/ProjectTable.h"
#include "board/SummaryPanel.h"
#include "board/SummaryParts.h"
#include "i18n/CurrencyRate.h"
#include "ui/Animations.h"

#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>

using namespace BoardFixture;

namespace {
enum ChaseRole { IdRole = Qt::UserRole + 1, AmountRole, DetailRole, DaysRole };
} // namespace

// What is owed, as the board, the table and the summary show it.
class TestOwedViews : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Store> m_store;
    QDate m_today;
    QUuid m_late, m_lateToo, m_soon, m_dueToday, m_older, m_paid;

    Project pending(const QString& name, double fee, int dueInDays, const QString& client)
    {
        Project p = project(name, Status::pending, fee, 0, client);
        p.pendingSince = m_today.addDays(dueInDays - 30);
        p.dueDate = m_today.addDays(dueInDays);
        return p;
    }

    int cardRow(const CardList& cards, const QUuid& id) const { return cards.rowOfProject(id); }

private slots:
    void initTestCase()
    {
        Animations::setEnabled(false);
        CurrencyRate::setUsdToTry(32.5);
    }

    void init()
    {
        m_today = QDate(Store::currentYear(), 6, 1);
        const Project late = pending(QStringLiteral("Late"), 4000, -12, QStringLiteral("Acme"));
        const Project lateToo = pending(QStringLiteral("Late too"), 300, -1, QStringLiteral("Beta"));
        const Project soon = pending(QStringLiteral("Soon"), 700, 5, QStringLiteral("Acme"));
        const Project dueToday = pending(QStringLiteral("Today"), 200, 0, QStringLiteral("Acme"));
        // Marked pending before due days were kept.
        const Project older = project(QStringLiteral("Older"), Status::pending, 100);
        Project paid = project(QStringLiteral("Paid"), Status::paid, 10000);
        paid.pendingSince = m_today.addDays(-60);
        paid.dueDate = m_today.addDays(-30);
        paid.paidOn = m_today.addDays(-20);
        m_late = late.id;
        m_lateToo = lateToo.id;
        m_soon = soon.id;
        m_dueToday = dueToday.id;
        m_older = older.id;
        m_paid = paid.id;
        m_store = store(m_dir, {late, lateToo, soon, dueToday, older, paid,
                                project(QStringLiteral("Work"), Status::ongoing, 6000)});
        m_store->setToday([this] { return m_today; });
        m_store->setPaymentTerms(QStringLiteral("Beta"), 14);
        m_store->setLanguage(AppLanguage::en);
    }

    void cleanup() { m_store.reset(); }

    void cardsAndRowsShowTheDueDays()
    {
        ColumnModel model(*m_store, Status::pending);
        CardList cards(*m_store, &model);
        const auto card = [&](const QUuid& id) { return cards.content(cards.rowOfProject(id)); };
        QCOMPARE(card(m_late).due, QStringLiteral("12 days overdue"));
        QVERIFY(card(m_late).overdue);
        QCOMPARE(card(m_lateToo).due, QStringLiteral("1 day overdue"));
        QVERIFY(card(m_lateToo).overdue);
        QCOMPARE(card(m_soon).due, QStringLiteral("Due in 5 days"));
        QVERIFY(!card(m_soon).overdue);
        QCOMPARE(card(m_dueToday).due, QStringLiteral("Due today"));
        QVERIFY(!card(m_dueToday).overdue);
        QVERIFY(card(m_older).due.isEmpty());
        // Read out with the rest of the card.
        QVERIFY(card(m_late).description().contains(QStringLiteral("12 days overdue")));
        // The due line makes a card taller; a card without one keeps its height.
        QVERIFY(ProjectCard::height(false, true) > ProjectCard::height(false, false));
        QCOMPARE(cards.itemRect(cards.rowOfProject(m_late)).height(), ProjectCard::height(false, true));
        QCOMPARE(cards.itemRect(cards.rowOfProject(m_older)).height(), ProjectCard::height(false, false));

        // A paid card shows nothing new, whatever days it keeps.
        ColumnModel paidModel(*m_store, Status::paid);
        CardList paidCards(*m_store, &paidModel);
        QVERIFY(paidCards.content(paidCards.rowOfProject(m_paid)).due.isEmpty());
        QCOMPARE(paidCards.itemRect(0).height(), ProjectCard::height(false, false));

        ProjectTable table(*m_store);
        const int row = table.rowOfProject(m_late);
        QCOMPARE(table.content(row).due, QStringLiteral("12 days overdue"));
        QVERIFY(table.content(row).overdue);
        QVERIFY(table.itemDescription(row).startsWith(QStringLiteral("12 days overdue")));
        QCOMPARE(table.itemRect(row).height(), ProjectRow::height(false, true));
        QVERIFY(table.content(table.rowOfProject(m_paid)).due.isEmpty());
        QCOMPARE(table.itemRect(table.rowOfProject(m_paid)).height(), ProjectRow::height(false, false));

        m_store->setLanguage(AppLanguage::tr);
        QCOMPARE(card(m_late).due, QStringLiteral("12 gün gecikti"));
        QCOMPARE(card(m_lateToo).due, QStringLiteral("1 gün gecikti"));
        QCOMPARE(card(m_soon).due, QStringLiteral("5 gün içinde"));
        QCOMPARE(card(m_dueToday).due, QStringLiteral("Bugün ödenmeli"));

        // The days follow the clock: a day later the due one is overdue.
        m_store->setLanguage(AppLanguage::en);
        m_today = m_today.addDays(1);
        QCOMPARE(card(m_dueToday).due, QStringLiteral("1 day overdue"));
        QCOMPARE(card(m_soon).due, QStringLiteral("Due in 4 days"));
    }

    void theOverdueLineOpensTheChaseList()
    {
        SummaryPanel panel(*m_store);
        OverdueButton* line = panel.overdueButton();
        QVERIFY(line->isVisibleTo(&panel));
        const QString summary = QStringLiteral("Overdue: %1 in 2 projects").arg(m_store->money(4300));
        QCOMPARE(line->text(), summary);
        QCOMPARE(line->accessibleName(), summary);
        QCOMPARE(line->focusPolicy(), Qt::TabFocus);

        QTest::mouseClick(line, Qt::LeftButton);
        ChasePopover* chase = panel.chaseList();
        QVERIFY(chase);
        QVERIFY(chase->isVisible());
        QCOMPARE(chase->summary()->text(), summary);
        QListWidget* rows = chase->list();
        QCOMPARE(rows->count(), 2);
        // Most days overdue first, each with its client's terms.
        QCOMPARE(rows->item(0)->text(), QStringLiteral("Late"));
        QCOMPARE(rows->item(0)->data(DaysRole).toString(), QStringLiteral("12 days overdue"));
        QCOMPARE(rows->item(0)->data(DetailRole).toString(), QStringLiteral("Acme · 30-day terms"));
        QCOMPARE(rows->item(0)->data(AmountRole).toString(), m_store->money(4000));
        QCOMPARE(rows->item(1)->text(), QStringLiteral("Late too"));
        QCOMPARE(rows->item(1)->data(DetailRole).toString(), QStringLiteral("Beta · 14-day terms"));
        QVERIFY(
            rows->item(1)->data(Qt::AccessibleTextRole).toString().contains(QStringLiteral("1 day overdue")));

        chase->copyButton()->click();
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(copied, m_store->chaseListText());
        QVERIFY(copied.startsWith(summary));
        QVERIFY(copied.indexOf(QStringLiteral("Late · Acme")) <
                copied.indexOf(QStringLiteral("Late too · Beta")));
        QVERIFY(m_store->ui().toast().has_value());

        // The keyboard opens a row with Return, in the editor; the list closes.
        rows->setCurrentRow(1);
        QTest::keyClick(rows, Qt::Key_Return);
        QVERIFY(m_store->ui().editor().has_value());
        QCOMPARE(m_store->ui().editor()->id, m_lateToo);
        QTRY_VERIFY(!panel.chaseList());

        // Paid ones leave the list; with none left the line goes.
        m_store->ui().setEditor(std::nullopt);
        panel.openChaseList();
        chase = panel.chaseList();
        m_store->move(m_late, Status::paid);
        QCOMPARE(chase->list()->count(), 1);
        QCOMPARE(line->text(), QStringLiteral("Overdue: %1 in 1 project").arg(m_store->money(300)));
        m_store->setLanguage(AppLanguage::tr);
        QCOMPARE(line->text(), QStringLiteral("Gecikmede: %1 · 1 proje").arg(m_store->money(300)));
        QCOMPARE(chase->copyButton()->text(), QStringLiteral("Metin Olarak Kopyala"));
        m_store->move(m_lateToo, Status::paid);
        QVERIFY(!line->isVisibleTo(&panel));
        QCOMPARE(chase->list()->count(), 0);
        QVERIFY(!chase->copyButton()->isEnabled());
        // A hidden line keeps its room: the panel does not jump.
        QVERIFY(line->sizePolicy().retainSizeWhenHidden());
    }

    // Left open over midnight, the texts counted in days follow the new day.
    void aNewDayRefreshesTheDays()
    {
        SummaryPanel panel(*m_store);
        QSignalSpy days(m_store.get(), &Store::dayChanged);
        m_store->checkDay();
        QCOMPARE(days.count(), 0);
        m_today = m_today.addDays(6);
        m_store->checkDay();
        QCOMPARE(days.count(), 1);
        // Soon and Today are overdue now too.
        QCOMPARE(panel.overdueButton()->text(),
                 QStringLiteral("Overdue: %1 in 4 projects").arg(m_store->money(5200)));
        m_store->checkDay();
        QCOMPARE(days.count(), 1);
    }

    void theForecastLine()
    {
        m_store = store(m_dir, {project(QStringLiteral("P"), Status::paid, 10000),
                                project(QStringLiteral("W"), Status::pending, 4000),
                                project(QStringLiteral("O"), Status::ongoing, 6000)});
        m_store->setLanguage(AppLanguage::en);
        m_store->setTargetGoal(120000);
        SummaryPanel panel(*m_store);
        QLabel* forecast = panel.forecastText();
        QVERIFY(forecast->isVisibleTo(&panel));
        QCOMPARE(forecast->text(), QStringLiteral("Forecast: %1 · 14% of target").arg(m_store->money(16600)));
        m_store->setForecastWeights(100, 0);
        QCOMPARE(forecast->text(), QStringLiteral("Forecast: %1 · 12% of target").arg(m_store->money(14000)));
        m_store->setLanguage(AppLanguage::tr);
        QVERIFY(forecast->text().startsWith(QStringLiteral("Tahmin: ")));
        m_store->setTargetGoal(0);
        QVERIFY(!forecast->isVisibleTo(&panel));
        // Nothing overdue: no line.
        QVERIFY(!panel.overdueButton()->isVisibleTo(&panel));
    }
};

TB_WIDGET_TEST_MAIN(TestOwedViews)
#include "tst_owed_views.moc"
