// The Store keeps the board's project lists between changes and, when a card only changes its
// status, moves it between those lists instead of building them again. These tests compare every
// list and figure with a plain recomputation from the document after many random operations.
#include "BoardData.h"
#include "TestMain.h"

#include "model/Text.h"

#include <QRandomGenerator>

using namespace BoardFixture;

namespace {
struct Expected
{
    QVector<Project> year;
    QVector<Project> visible;
    QVector<QVector<Project>> byStatus = QVector<QVector<Project>>(3);
    QVector<Project> paid;
    QVector<double> totals{0, 0, 0};
};

Expected recompute(const Store& s)
{
    Expected e;
    const QString q = Text::trimBlanks(s.ui().searchQuery()).toLower();
    for (const Project& p : s.data().projects) {
        if (p.year() != s.activeYear())
            continue;
        e.year.append(p);
        e.totals[int(p.status)] += p.fee;
        if (p.status == Status::paid)
            e.paid.append(p);
        if (q.isEmpty() || p.name.toLower().contains(q) || p.client.toLower().contains(q) ||
            p.category.toLower().contains(q)) {
            e.visible.append(p);
            e.byStatus[int(p.status)].append(p);
        }
    }
    return e;
}

QString mismatch(const Store& s)
{
    const Expected e = recompute(s);
    if (s.yearProjects() != e.year)
        return QStringLiteral("yearProjects");
    if (s.visibleProjects() != e.visible)
        return QStringLiteral("visibleProjects");
    if (s.paidThisYear() != e.paid)
        return QStringLiteral("paidThisYear");
    for (Status st : StatusInfo::all) {
        if (s.projects(st) != e.byStatus[int(st)])
            return QStringLiteral("projects(") + StatusInfo::rawValue(st) + QLatin1Char(')');
        if (s.total(st) != e.totals[int(st)])
            return QStringLiteral("total(") + StatusInfo::rawValue(st) + QLatin1Char(')');
    }
    double all = 0;
    double profit = 0;
    for (const Project& p : e.year)
        all += p.fee;
    for (const Project& p : e.paid)
        profit += p.fee - p.outsource;
    if (s.collectionRate() != (all > 0 ? e.totals[0] / all : 0))
        return QStringLiteral("collectionRate");
    if (s.netAfterTax() != profit - profit * s.data().taxRate / 100)
        return QStringLiteral("netAfterTax");
    return {};
}
} // namespace

class TestBoardLists : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void listsEqualARecomputationAfterRandomChanges()
    {
        QVector<Project> projects;
        const QStringList words{QStringLiteral("Logo"), QStringLiteral("Site"),
                                QStringLiteral("Book"), QStringLiteral("Poster"),
                                QStringLiteral("App"),  QStringLiteral("İzmir Işık")};
        QRandomGenerator rng(7);
        for (int i = 0; i < 60; ++i) {
            projects.append(project(words.at(i % words.size()) + QString::number(i),
                                    StatusInfo::all[size_t(rng.bounded(3))], 100 + rng.bounded(900),
                                    rng.bounded(3) == 0 ? 50 : 0, QStringLiteral("Client %1").arg(i % 4),
                                    QStringLiteral("Cat"), -int(rng.bounded(2))));
        }
        auto s = store(m_dir, projects);
        // Some filter alike (blanks, case), some narrow or widen another, some are not ASCII.
        const QStringList queries{QString(),
                                  QStringLiteral("logo"),
                                  QStringLiteral(" 1"),
                                  QStringLiteral("client 2"),
                                  QStringLiteral("zzz"),
                                  QStringLiteral("   "),
                                  QStringLiteral(" LOGO "),
                                  QStringLiteral("l"),
                                  QStringLiteral("lo"),
                                  QStringLiteral("İ"),
                                  QStringLiteral("ışık"),
                                  QStringLiteral("izmir")};

        auto anyId = [&] {
            const QVector<Project>& all = s->data().projects;
            return all.isEmpty() ? QUuid::createUuid() : all.at(int(rng.bounded(int(all.size())))).id;
        };
        for (int step = 0; step < 3000; ++step) {
            // Warm some of the lists first, so the next change meets a partly filled cache.
            const int warm = int(rng.bounded(8));
            if (warm & 1)
                s->projects(StatusInfo::all[size_t(rng.bounded(3))]);
            if (warm & 2)
                s->paidThisYear();
            if (warm & 4)
                s->yearProjects();
            // A list handed out before a change keeps what it held.
            const Status heldStatus = StatusInfo::all[size_t(rng.bounded(3))];
            const QVector<Project> held = s->projects(heldStatus);
            const Expected before = recompute(*s);

            const Status to = StatusInfo::all[size_t(rng.bounded(3))];
            switch (rng.bounded(12)) {
            case 0:
            case 1:
            case 2:
                s->move(anyId(), to);
                break;
            case 3:
            case 4:
                s->handleDrop({QStringLiteral("card:") + uuidText(anyId()),
                               QStringLiteral("card:") + uuidText(anyId())},
                              to);
                break;
            case 5:
                s->deleteProject(anyId());
                break;
            case 6:
                s->undoDelete();
                break;
            case 7: {
                if (s->data().projects.isEmpty())
                    break;
                Project p = s->data().projects.at(int(rng.bounded(int(s->data().projects.size()))));
                p.fee += 10;
                p.status = to;
                // A renamed project is found by its new name under the same search.
                if (rng.bounded(3) == 0)
                    p.name = words.at(int(rng.bounded(int(words.size())))) + QString::number(step);
                if (rng.bounded(2))
                    p.date = p.date.addYears(rng.bounded(2) ? 1 : -1);
                s->save(p);
                break;
            }
            case 8:
                // Typing: the lists of one search read, then another search.
                s->ui().setSearchQuery(queries.at(int(rng.bounded(int(queries.size())))));
                s->projects(StatusInfo::all[size_t(rng.bounded(3))]);
                s->visibleProjects();
                s->ui().setSearchQuery(queries.at(int(rng.bounded(int(queries.size())))));
                break;
            case 9:
                s->setActiveYear(Store::currentYear() - int(rng.bounded(2)));
                break;
            case 10:
                s->handleDrop({QStringLiteral("col:") + StatusInfo::rawValue(to)}, StatusInfo::all[0]);
                break;
            case 11:
                s->update([&](AppData& d) { d.taxRate = rng.bounded(100); });
                break;
            }
            QCOMPARE(held, before.byStatus[int(heldStatus)]);
            const QString wrong = mismatch(*s);
            if (!wrong.isEmpty())
                QFAIL(qPrintable(QStringLiteral("step %1: %2").arg(step).arg(wrong)));
        }
    }

    void aStatusChangeOutsideTheActiveYearTouchesNoList()
    {
        const Project old = project(QStringLiteral("Old"), Status::pending, 10, 0, QStringLiteral("A"),
                                    QStringLiteral("B"), -1);
        const Project now = project(QStringLiteral("Now"), Status::pending, 20);
        auto s = store(m_dir, {old, now});
        QCOMPARE(s->projects(Status::pending).size(), 1);
        s->move(old.id, Status::paid);
        QCOMPARE(s->projects(Status::paid).size(), 0);
        QCOMPARE(s->paidThisYear().size(), 0);
        QCOMPARE(mismatch(*s), QString());
        s->setActiveYear(Store::currentYear() - 1);
        QCOMPARE(s->paidThisYear().size(), 1);
        QCOMPARE(mismatch(*s), QString());
    }
};

TB_TEST_MAIN(TestBoardLists)
#include "tst_board_lists.moc"
