// When projects are paid: the days every status move sets and its undo puts back, payment terms,
// what is overdue and its texts, days to pay, and the forecast.
#include "TestMain.h"

#include "StoreTestUtil.h"
#include "model/Payments.h"

#include <QTimeZone>

using namespace StoreTestUtil;

namespace {
QString card(const Project& p)
{
    return QStringLiteral("card:") + uuidText(p.id);
}

Payments::StatusDays days(Status s, QDate since = {}, QDate due = {}, QDate paid = {})
{
    return {s, since, due, paid};
}

Project pendingDue(const QDate& due, double fee = 100, const QString& name = QStringLiteral("P"))
{
    Project p = makeProject(name, Status::pending, fee, QDate(2026, 1, 10));
    p.dueDate = due;
    return p;
}
} // namespace

class TestPayments final : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Store> m_store;
    QDate m_today{2026, 3, 10};

    Store& store() { return *m_store; }
    const Project& at(int i) const { return m_store->data().projects.at(i); }
    Payments::StatusDays daysOf(int i) const { return Payments::StatusDays::of(at(i)); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<Store>(m_dir->path(), false);
        m_store->setLanguage(AppLanguage::en);
        m_today = QDate(2026, 3, 10);
        m_store->setToday([this] { return m_today; });
        m_store->update([](AppData& d) {
            d = AppData::empty();
            d.clients = {QStringLiteral("Acme"), QStringLiteral("Bolt")};
            d.clientTerms.insert(QStringLiteral("Acme"), 45);
            d.projects = {makeProject(QStringLiteral("Site"), Status::ongoing, 4300, QDate(2026, 2, 1),
                                      QStringLiteral("Acme")),
                          makeProject(QStringLiteral("Logo"), Status::ongoing, 900, QDate(2026, 2, 2),
                                      QStringLiteral("Bolt"))};
        });
        m_store->setActiveYear(2026);
    }

    // Every transition by every path, each undone back to exactly what it found.
    void transitionsAndTheirUndo()
    {
        const QUuid site = at(0).id;
        const Payments::StatusDays fresh = daysOf(0);
        QCOMPARE(fresh, days(Status::ongoing));

        // Into Pending by the menu: today and the client's 45 days.
        store().move(site, Status::pending);
        QCOMPARE(daysOf(0), days(Status::pending, m_today, QDate(2026, 4, 24)));
        QVERIFY(store().ui().toast()->canUndo);
        QVERIFY(store().canUndoMove());
        store().undo(); // Ctrl+Z takes the move back
        QCOMPARE(daysOf(0), fresh);
        QVERIFY(!store().canUndoMove());

        // Into Pending by a drop, days later: set days are kept on Paid and cleared by Paid's leaving.
        QVERIFY(store().handleDrop({card(at(0))}, Status::pending));
        const Payments::StatusDays pending = days(Status::pending, m_today, QDate(2026, 4, 24));
        QCOMPARE(daysOf(0), pending);
        m_today = QDate(2026, 4, 2);
        QVERIFY(store().handleDrop({card(at(0))}, Status::paid));
        QCOMPARE(daysOf(0), days(Status::paid, QDate(2026, 3, 10), QDate(2026, 4, 24), m_today));
        store().undoMove();
        QCOMPARE(daysOf(0), pending);
        store().move(site, Status::paid);
        const Payments::StatusDays paid = daysOf(0);

        // Out of Paid into Pending: paidOn cleared, the cycle's own days kept.
        m_today = QDate(2026, 4, 5);
        store().move(site, Status::pending);
        QCOMPARE(daysOf(0), pending);
        store().undoMove();
        QCOMPARE(daysOf(0), paid);

        // Back to In the Works clears everything, from Paid as from Pending.
        store().move(site, Status::ongoing);
        QCOMPARE(daysOf(0), days(Status::ongoing));
        store().undo();
        QCOMPARE(daysOf(0), paid);

        // Straight into Paid from In the Works: only paidOn.
        QVERIFY(store().handleDrop({card(at(1))}, Status::paid));
        QCOMPARE(daysOf(1), days(Status::paid, {}, {}, m_today));
        store().undo();
        QCOMPARE(daysOf(1), days(Status::ongoing));

        // A drop of several cards is undone as one, each exactly.
        QVERIFY(store().handleDrop({card(at(0)), card(at(1))}, Status::ongoing));
        QCOMPARE(daysOf(0), days(Status::ongoing));
        store().undo();
        QCOMPARE(daysOf(0), paid);
        QCOMPARE(daysOf(1), days(Status::ongoing));

        // The editor: a change of status moves like the board; days it was given are kept.
        Project edited = at(1);
        edited.status = Status::pending;
        store().save(edited);
        QCOMPARE(daysOf(1), days(Status::pending, m_today, m_today.addDays(30)));
        edited = at(1);
        edited.status = Status::paid;
        edited.paidOn = QDate(2026, 4, 1); // typed in the editor
        store().save(edited);
        QCOMPARE(daysOf(1), days(Status::paid, m_today, m_today.addDays(30), QDate(2026, 4, 1)));
        edited = at(1);
        edited.dueDate = QDate(2026, 4, 20); // the same status: kept exactly as given
        store().save(edited);
        QCOMPARE(at(1).dueDate, QDate(2026, 4, 20));
        QCOMPARE(at(1).paidOn, QDate(2026, 4, 1));
        // A new project saved as Pending starts its cycle today.
        Project created =
            makeProject(QStringLiteral("New"), Status::pending, 10, m_today, QStringLiteral("Acme"));
        store().save(created);
        QCOMPARE(store().data().projects.first().dueDate, m_today.addDays(45));

        // An undo after the project was edited no longer takes the move back; a deletion after a
        // move is what Undo takes back.
        store().move(site, Status::ongoing);
        store().deleteProject(at(1).id);
        QVERIFY(!store().canUndoMove());
        const qsizetype before = store().data().projects.size();
        store().undo();
        QCOMPARE(store().data().projects.size(), before + 1);
        QCOMPARE(daysOf(store().data().projects.indexOf(
                     *std::find_if(store().data().projects.begin(), store().data().projects.end(),
                                   [&](const Project& p) { return p.id == site; }))),
                 days(Status::ongoing));

        // Moving to the status it has changes no day (Paid keeps its paidOn).
        store().move(site, Status::paid);
        const QDate paidDay = m_today;
        m_today = m_today.addDays(3);
        store().move(site, Status::paid);
        const auto it = std::find_if(store().data().projects.begin(), store().data().projects.end(),
                                     [&](const Project& p) { return p.id == site; });
        QCOMPARE(it->paidOn, paidDay);

        // The board's cached lists carry the days a move set.
        store().move(site, Status::ongoing);
        QVERIFY(!store().projects(Status::pending).isEmpty()); // the lists built before the move
        QVERIFY(!store().yearProjects().isEmpty());
        store().move(site, Status::pending);
        const QVector<Project> inPending = store().projects(Status::pending);
        const auto moved =
            std::find_if(inPending.begin(), inPending.end(), [&](const Project& p) { return p.id == site; });
        QVERIFY(moved != inPending.end());
        QCOMPARE(moved->pendingSince, m_today);
        QVERIFY(store().yearProjects().contains(*moved));
    }

    // A document that uses none of the new members is written exactly as before, also after a
    // project went to Pending and came back.
    void filesWithoutTheFieldsStayByteIdentical()
    {
        store().update([](AppData& d) { d.clientTerms.clear(); });
        store().flushPendingSave();
        const QString file = m_dir->filePath(QStringLiteral("tallybrook.json"));
        const QByteArray before = readFile(file);
        QVERIFY(!before.isEmpty());
        QVERIFY(!before.contains("clientTerms"));
        store().move(at(0).id, Status::pending);
        store().flushPendingSave();
        QVERIFY(readFile(file).contains("\"pendingSince\": \"2026-03-10\""));
        store().undo();
        store().flushPendingSave();
        QCOMPARE(readFile(file), before);
        store().move(at(0).id, Status::paid);
        store().move(at(0).id, Status::ongoing);
        store().flushPendingSave();
        QCOMPARE(readFile(file), before);
    }

    // Terms per client: clamped, the default never stored, carried by a rename, dropped by a
    // removal; 0 is due on receipt.
    void paymentTerms()
    {
        QCOMPARE(store().paymentTerms(QStringLiteral("Acme")), 45);
        QCOMPARE(store().paymentTerms(QStringLiteral("Nobody")), 30);
        store().setPaymentTerms(QStringLiteral("Bolt"), 0);
        store().setPaymentTerms(QStringLiteral("Acme"), 99999);
        QCOMPARE(store().paymentTerms(QStringLiteral("Acme")), AppData::kMaxTermsDays);
        store().setPaymentTerms(QStringLiteral("Acme"), -5);
        QCOMPARE(store().paymentTerms(QStringLiteral("Acme")), 0);
        store().setPaymentTerms(QStringLiteral("Acme"), 30);
        QVERIFY(!store().data().clientTerms.contains(QStringLiteral("Acme")));
        store().setPaymentTerms(QStringLiteral("Acme"), 60);

        store().move(at(1).id, Status::pending); // Bolt: due on receipt
        QCOMPARE(at(1).dueDate, m_today);
        QCOMPARE(store().dueText(at(1)), QStringLiteral("Due today"));

        store().editClient(QStringLiteral("Acme"), QStringLiteral("Acme Ltd"));
        QCOMPARE(store().paymentTerms(QStringLiteral("Acme Ltd")), 60);
        QVERIFY(!store().data().clientTerms.contains(QStringLiteral("Acme")));
        store().editClient(QStringLiteral("Acme Ltd"), QStringLiteral("Bolt")); // refused: exists
        QCOMPARE(store().paymentTerms(QStringLiteral("Acme Ltd")), 60);
        QCOMPARE(store().paymentTerms(QStringLiteral("Bolt")), 0);
        store().removeClient(QStringLiteral("Acme Ltd"));
        QVERIFY(!store().data().clients.contains(QStringLiteral("Acme Ltd")));
        QCOMPARE(store().paymentTerms(QStringLiteral("Acme Ltd")), 30);

        QCOMPARE(Payments::termsText(0, AppLanguage::en), QStringLiteral("due on receipt"));
        QCOMPARE(Payments::termsText(0, AppLanguage::tr), QStringLiteral("teslimde ödeme"));
        QCOMPARE(Payments::termsText(45, AppLanguage::en), QStringLiteral("45-day terms"));
        QCOMPARE(Payments::termsText(45, AppLanguage::tr), QStringLiteral("45 gün vade"));
    }

    // Overdue counts calendar days: across month ends, leap days and a change of clocks.
    void overdueArithmetic()
    {
        const auto overdue = [](const QDate& due, const QDate& today) {
            return Payments::daysOverdue(pendingDue(due), today);
        };
        QCOMPARE(overdue(QDate(2026, 1, 31), QDate(2026, 2, 1)), 1);
        QCOMPARE(overdue(QDate(2026, 1, 31), QDate(2026, 3, 1)), 29);
        QCOMPARE(overdue(QDate(2024, 2, 28), QDate(2024, 3, 1)), 2); // through 29 February
        QCOMPARE(overdue(QDate(2023, 2, 28), QDate(2023, 3, 1)), 1);
        QCOMPARE(overdue(QDate(2024, 2, 29), QDate(2025, 3, 1)), 366);
        QCOMPARE(overdue(QDate(2025, 12, 31), QDate(2026, 1, 1)), 1);
        QCOMPARE(overdue(QDate(2026, 3, 10), QDate(2026, 3, 10)), std::nullopt); // due today
        QCOMPARE(overdue(QDate(2026, 3, 11), QDate(2026, 3, 10)), std::nullopt);
        Project paid = pendingDue(QDate(2026, 1, 1));
        paid.status = Status::paid;
        QCOMPARE(Payments::daysOverdue(paid, QDate(2026, 3, 1)), std::nullopt); // never when paid
        QCOMPARE(Payments::daysOverdue(pendingDue(QDate()), QDate(2026, 3, 1)), std::nullopt);

        // 30 days' terms from 31 January fall on 2 March, and in a leap year on 1 March.
        Project p = makeProject(QStringLiteral("P"), Status::ongoing, 1, QDate(2026, 1, 31));
        Payments::applyMove(p, Status::pending, QDate(2026, 1, 31), 30);
        QCOMPARE(p.dueDate, QDate(2026, 3, 2));
        p = makeProject(QStringLiteral("P"), Status::ongoing, 1, QDate(2024, 1, 31));
        Payments::applyMove(p, Status::pending, QDate(2024, 1, 31), 30);
        QCOMPARE(p.dueDate, QDate(2024, 3, 1));

        // Hour by hour over the spring and autumn changes in Berlin: the days overdue follow the
        // local calendar day, one step at each local midnight and never two.
        const QTimeZone berlin("Europe/Berlin");
        QVERIFY(berlin.isValid());
        for (const QDate& change : {QDate(2026, 3, 29), QDate(2026, 10, 25)}) {
            const Project due = pendingDue(change.addDays(-1));
            QDateTime t(change.addDays(-1), QTime(0, 30), berlin);
            std::optional<int> last;
            for (int hour = 0; hour < 96; ++hour, t = t.addSecs(3600)) {
                const QDate today = t.date();
                const std::optional<int> d = Payments::daysOverdue(due, today);
                QCOMPARE(d.value_or(0), int(change.addDays(-1).daysTo(today)));
                if (last)
                    QVERIFY(d.value_or(0) - *last <= 1);
                last = d.value_or(0);
            }
            // 95 hours on: the spring's short day reaches a fourth midnight, the autumn's long one not.
            QCOMPARE(*last, change.month() == 3 ? 4 : 3);
        }
    }

    void dueTexts()
    {
        const QDate today(2026, 2, 27);
        const auto text = [&](int offset, AppLanguage l) {
            return Payments::dueText(pendingDue(today.addDays(offset)), today, l);
        };
        QCOMPARE(text(5, AppLanguage::en), QStringLiteral("Due in 5 days"));
        QCOMPARE(text(1, AppLanguage::en), QStringLiteral("Due in 1 day"));
        QCOMPARE(text(0, AppLanguage::en), QStringLiteral("Due today"));
        QCOMPARE(text(-1, AppLanguage::en), QStringLiteral("1 day overdue"));
        QCOMPARE(text(-12, AppLanguage::en), QStringLiteral("12 days overdue"));
        QCOMPARE(text(5, AppLanguage::tr), QStringLiteral("5 gün içinde"));
        QCOMPARE(text(1, AppLanguage::tr), QStringLiteral("1 gün içinde"));
        QCOMPARE(text(0, AppLanguage::tr), QStringLiteral("Bugün ödenmeli"));
        QCOMPARE(text(-1, AppLanguage::tr), QStringLiteral("1 gün gecikti"));
        QCOMPARE(text(-12, AppLanguage::tr), QStringLiteral("12 gün gecikti"));
        // Nothing for Paid, In the Works, or a Pending project without a due day.
        Project p = pendingDue(today.addDays(-3));
        p.status = Status::paid;
        p.paidOn = today;
        QVERIFY(Payments::dueText(p, today, AppLanguage::en).isEmpty());
        p.status = Status::ongoing;
        QVERIFY(Payments::dueText(p, today, AppLanguage::en).isEmpty());
        QVERIFY(Payments::dueText(pendingDue(QDate()), today, AppLanguage::tr).isEmpty());

        QVERIFY(Payments::dueDateValid(pendingDue(QDate())));
        Project q = pendingDue(QDate(2026, 3, 1));
        q.pendingSince = QDate(2026, 3, 1);
        QVERIFY(Payments::dueDateValid(q));
        q.pendingSince = QDate(2026, 3, 2);
        QVERIFY(!Payments::dueDateValid(q));
    }

    // The summary, the chase list (most days overdue first) and its text, for the active year.
    void overdueListAndText()
    {
        store().update([](AppData& d) {
            d.projects = {pendingDue(QDate(2026, 3, 1), 1300, QStringLiteral("Late")),
                          pendingDue(QDate(2026, 2, 20), 3000, QStringLiteral("Later")),
                          pendingDue(QDate(2026, 3, 10), 500, QStringLiteral("Today")),
                          pendingDue(QDate(2026, 1, 1), 700, QStringLiteral("Last year"))};
            d.projects[0].client = QStringLiteral("Acme");
            d.projects[1].client = QStringLiteral("Bolt");
            d.projects[3].date = TestProjects::noon(QDate(2025, 6, 1));
            d.projects.append(pendingDue(QDate(2026, 1, 1), 50, QStringLiteral("Paid")));
            d.projects.last().status = Status::paid;
        });
        const Payments::Overdue o = store().overdue();
        QCOMPARE(o.count, 2);
        QCOMPARE(o.amount, 4300.0);
        QCOMPARE(o.projects.size(), 2);
        QCOMPARE(o.projects.at(0).project.name, QStringLiteral("Later"));
        QCOMPARE(o.projects.at(0).days, 18);
        QCOMPARE(o.projects.at(1).days, 9);
        QCOMPARE(o.projects.at(1).termsDays, 45);

        QCOMPARE(store().overdueSummary(),
                 QStringLiteral("Overdue: %1 in 2 projects").arg(store().money(4300)));
        QCOMPARE(store().chaseListText(),
                 QStringLiteral(
                     "Overdue: %1 in 2 projects\n\n- Later · Bolt · %2 · 18 days overdue · 30-day terms\n"
                     "- Late · Acme · %3 · 9 days overdue · 45-day terms\n")
                     .arg(store().money(4300), store().money(3000), store().money(1300)));
        store().setLanguage(AppLanguage::tr);
        QVERIFY(store().money(4300).endsWith(QStringLiteral("₺")));
        QCOMPARE(store().overdueSummary(),
                 QStringLiteral("Gecikmede: %1 · 2 proje").arg(store().money(4300)));
        QVERIFY(store().chaseListText().contains(
            QStringLiteral("- Late · Acme · %1 · 9 gün gecikti · 45 gün vade\n").arg(store().money(1300))));

        m_today = QDate(2026, 3, 1); // "Late" falls due today
        store().setLanguage(AppLanguage::en);
        QCOMPARE(store().overdueSummary(),
                 QStringLiteral("Overdue: %1 in 1 project").arg(store().money(3000)));
        m_today = QDate(2026, 2, 1);
        QVERIFY(store().overdueSummary().isEmpty());
        QVERIFY(store().chaseListText().isEmpty());
    }

    void averageDaysToPay()
    {
        const auto paid = [](const QString& client, const QDate& since, const QDate& on, int year = 2026) {
            Project p = makeProject(QStringLiteral("P"), Status::paid, 1, QDate(year, 2, 1), client);
            p.pendingSince = since;
            p.paidOn = on;
            return p;
        };
        QVector<Project> list;
        list << paid(QStringLiteral("A"), QDate(2026, 1, 31), QDate(2026, 3, 2))       // 30
             << paid(QStringLiteral("A"), QDate(2026, 2, 28), QDate(2026, 3, 10))      // 10
             << paid(QStringLiteral("B"), QDate(2024, 2, 28), QDate(2024, 3, 1))       // 2, leap year
             << paid(QStringLiteral("C"), QDate(2026, 3, 5), QDate(2026, 3, 1))        // paid before: 0
             << paid(QStringLiteral("D"), QDate(), QDate(2026, 3, 1))                  // not counted
             << paid(QStringLiteral("E"), QDate(2025, 1, 1), QDate(2025, 3, 2), 2025); // 60, other year
        list[2].date = TestProjects::noon(QDate(2026, 2, 1));
        Project pending = paid(QStringLiteral("F"), QDate(2026, 1, 1), QDate(2026, 2, 1));
        pending.status = Status::pending; // not counted
        list << pending;
        for (const QString c : {"G", "H", "I", "J"})
            list << paid(c, QDate(2026, 1, 1), QDate(2026, 1, 1).addDays(c.at(0).unicode() - 'G' + 1));

        const Payments::DaysToPay year = Payments::daysToPay(list, false, 2026);
        QCOMPARE(year.count, 8);
        QCOMPARE(*year.averageDays, (30 + 10 + 2 + 0 + 1 + 2 + 3 + 4) / 8.0);
        QCOMPARE(year.clients.size(), 7);
        QCOMPARE(year.clients.first(), (Payments::ClientDays{QStringLiteral("A"), 20, 2}));
        const QVector<Payments::ClientDays> top = year.slowest();
        QCOMPARE(top.size(), 5);
        QCOMPARE(top.at(1).client, QStringLiteral("J"));
        QCOMPARE(top.at(3).client, QStringLiteral("B")); // 2 days, before H by name
        QCOMPARE(top.at(4).client, QStringLiteral("H"));
        QCOMPARE(year.clients.last(), (Payments::ClientDays{QStringLiteral("C"), 0, 1}));

        const Payments::DaysToPay all = Payments::daysToPay(list, true, 2026);
        QCOMPARE(all.count, 9);
        QCOMPARE(all.clients.first().client, QStringLiteral("E"));
        QVERIFY(!Payments::daysToPay(list, false, 2020).averageDays);
        QVERIFY(Payments::daysToPay(list, false, 2020).slowest().isEmpty());
    }

    void forecast()
    {
        store().update([](AppData& d) {
            d.targetGoal = 120000;
            d.projects = {makeProject(QStringLiteral("a"), Status::paid, 10000, QDate(2026, 2, 1)),
                          makeProject(QStringLiteral("b"), Status::pending, 4000, QDate(2026, 2, 1)),
                          makeProject(QStringLiteral("c"), Status::ongoing, 6000, QDate(2026, 2, 1)),
                          makeProject(QStringLiteral("d"), Status::paid, 99999, QDate(2025, 2, 1))};
        });
        Payments::Forecast f = store().forecast();
        QCOMPARE(f.amount, 16600.0);
        QVERIFY(qAbs(f.fraction - 16600.0 / 120000) < 1e-12);
        QCOMPARE(store().forecastText(),
                 QStringLiteral("Forecast: %1 · 14% of target").arg(store().money(16600)));
        store().setLanguage(AppLanguage::tr);
        QCOMPARE(store().forecastText(),
                 QStringLiteral("Tahmin: %1 · hedefe oranı %14").arg(store().money(16600)));

        // Weights: clamped, written only once set.
        QVERIFY(!store().data().forecastPendingPercent);
        store().setForecastWeights(150, -10);
        QCOMPARE(*store().data().forecastPendingPercent, 100.0);
        QCOMPARE(*store().data().forecastOngoingPercent, 0.0);
        QCOMPARE(store().forecast().amount, 14000.0);
        store().update([](AppData& d) { d.forecastOngoingPercent = 250; }); // as a file may hold it
        QCOMPARE(store().forecastOngoingPercent(), 100.0);
        QCOMPARE(store().forecast().amount, 20000.0);
        // Shown in whole units: 10,000 + 90 % of 4,001 + 50 % of 6,000 is 16,600.9.
        store().setForecastWeights(90, 50);
        store().update([](AppData& d) {
            d.forecastOngoingPercent = 50;
            d.projects.append(makeProject(QStringLiteral("e"), Status::pending, 1, QDate(2026, 3, 1)));
        });
        QVERIFY(qFuzzyCompare(store().forecast().amount, 16600.9));
        store().setLanguage(AppLanguage::en);
        QCOMPARE(store().forecastText(),
                 QStringLiteral("Forecast: %1 · 14% of target").arg(store().money(16601)));
        store().setLanguage(AppLanguage::tr);
        store().update([](AppData& d) { d.projects.removeLast(); });

        // Hidden without a target.
        store().setTargetGoal(0);
        QVERIFY(!store().forecast().shown);
        QVERIFY(store().forecastText().isEmpty());
        QCOMPARE(Payments::forecast({}, 90, 50, 120000).amount, 0.0);
    }
};

TB_TEST_MAIN(TestPayments)
#include "tst_payments.moc"
