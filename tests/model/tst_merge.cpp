#include "TestMain.h"
#include "TestProjects.h"

#include "model/DocumentMerge.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QSet>
#include <algorithm>

using DocumentDiff::ProjectField;
using DocumentMerge::merge;

namespace {

const QVector<ProjectField> kFields{ProjectField::name,   ProjectField::client,       ProjectField::category,
                                    ProjectField::fee,    ProjectField::outsource,    ProjectField::status,
                                    ProjectField::date,   ProjectField::pendingSince, ProjectField::dueDate,
                                    ProjectField::paidOn, ProjectField::other};

const char* fieldName(ProjectField f)
{
    static const char* names[] = {"name", "client",       "category", "fee",    "outsource", "status",
                                  "date", "pendingSince", "dueDate",  "paidOn", "other"};
    return names[int(f)];
}

bool differs(const Project& a, const Project& b, ProjectField f)
{
    switch (f) {
    case ProjectField::name:
        return a.name != b.name;
    case ProjectField::client:
        return a.client != b.client;
    case ProjectField::category:
        return a.category != b.category;
    case ProjectField::fee:
        return a.fee != b.fee;
    case ProjectField::outsource:
        return a.outsource != b.outsource;
    case ProjectField::status:
        return a.status != b.status;
    case ProjectField::date:
        return a.date != b.date;
    case ProjectField::pendingSince:
        return a.pendingSince != b.pendingSince;
    case ProjectField::dueDate:
        return a.dueDate != b.dueDate;
    case ProjectField::paidOn:
        return a.paidOn != b.paidOn;
    case ProjectField::other:
        return !sameMembers(a.extra, b.extra);
    }
    return true;
}

// Undefined stands for a missing member.
bool sameValue(const QJsonValue& a, const QJsonValue& b)
{
    if (a.isUndefined() || b.isUndefined())
        return a.isUndefined() == b.isUndefined();
    return sameMembers(QJsonObject{{QStringLiteral("k"), a}}, QJsonObject{{QStringLiteral("k"), b}});
}

const Project* byId(const AppData& d, const QUuid& id)
{
    for (const Project& p : d.projects) {
        if (p.id == id)
            return &p;
    }
    return nullptr;
}

QVector<QUuid> ids(const AppData& d)
{
    QVector<QUuid> out;
    for (const Project& p : d.projects)
        out.append(p.id);
    return out;
}

QString names(const AppData& d)
{
    QStringList out;
    for (const Project& p : d.projects)
        out.append(p.name);
    return out.join(QLatin1Char(' '));
}

Project project(const QString& name, double fee = 100)
{
    return TestProjects::make(name, fee, TestProjects::noon(QDate(2026, 3, 15)), Status::ongoing,
                              QStringLiteral("Acme"), QStringLiteral("Web"));
}

AppData documentOf(const QStringList& projectNames)
{
    AppData d;
    d.clients = QStringList{QStringLiteral("Acme")};
    d.categories = QStringList{QStringLiteral("Web")};
    for (const QString& n : projectNames)
        d.projects.append(project(n));
    return d;
}

Project& named(AppData& d, const QString& name)
{
    for (Project& p : d.projects) {
        if (p.name == name)
            return p;
    }
    qFatal("no project %s", qPrintable(name));
}

void removeNamed(AppData& d, const QString& name)
{
    d.projects.removeIf([&](const Project& p) { return p.name == name; });
}

// The projects of a document by id, whatever their order.
QVector<Project> sortedById(const AppData& d)
{
    QVector<Project> out = d.projects;
    std::sort(out.begin(), out.end(), [](const Project& a, const Project& b) { return a.id < b.id; });
    return out;
}

QStringList sortedList(QStringList l)
{
    l.sort();
    return l;
}

} // namespace

class TestMerge final : public QObject
{
    Q_OBJECT

private slots:
    // One side unchanged since base: the merge is the other side's document exactly, whatever the
    // other did (reordered, added, deleted, edited, settings, directories).
    void unchangedSideGivesTheOtherExactly()
    {
        const AppData base = AppData::sample();
        QVERIFY(base.projects.size() > 5);
        AppData changed = base;
        std::reverse(changed.projects.begin(), changed.projects.end());
        changed.projects.removeAt(2);
        changed.projects.insert(1, project(QStringLiteral("New one")));
        changed.projects[3].fee += 10;
        changed.projects[4].extra.insert(QStringLiteral("later"), QJsonArray{1, 2});
        changed.currency = QStringLiteral("€");
        changed.taxRate = 18;
        changed.clients.append(QStringLiteral("Zeta"));
        changed.categories.removeFirst();
        changed.extra.insert(QStringLiteral("theme"), QStringLiteral("dusk"));
        for (bool newer : {true, false}) {
            const auto keepMine = merge(base, changed, base, newer);
            QCOMPARE(keepMine.merged, changed);
            QCOMPARE(ids(keepMine.merged), ids(changed));
            QCOMPARE(keepMine.theirsPreferred, changed);
            QVERIFY(keepMine.conflicts.isEmpty());
            QVERIFY(keepMine.keptDespiteDeletion.isEmpty());
            const auto takeTheirs = merge(base, base, changed, newer);
            QCOMPARE(takeTheirs.merged, changed);
            QCOMPARE(ids(takeTheirs.merged), ids(changed));
            QCOMPARE(takeTheirs.theirsPreferred, changed);
            QVERIFY(takeTheirs.conflicts.isEmpty());
        }
        // Both made the same changes: that document, nothing in conflict.
        const auto same = merge(base, changed, changed, false);
        QCOMPARE(same.merged, changed);
        QVERIFY(same.conflicts.isEmpty());
    }

    // Additions are kept; a deletion wins over an untouched project and loses to an edited one,
    // from either side; the same id added on both sides is one project.
    void additionsAndDeletions()
    {
        const AppData base = documentOf({"A", "B", "C", "D", "E"});
        AppData mine = base;
        AppData theirs = base;
        mine.projects.prepend(project(QStringLiteral("mine new")));
        theirs.projects.prepend(project(QStringLiteral("theirs new")));
        removeNamed(mine, QStringLiteral("A"));   // untouched there: gone
        removeNamed(theirs, QStringLiteral("B")); // untouched here: gone
        removeNamed(mine, QStringLiteral("C"));   // edited there: kept as edited
        named(theirs, QStringLiteral("C")).fee = 900;
        removeNamed(theirs, QStringLiteral("D")); // edited here: kept as edited
        named(mine, QStringLiteral("D")).status = Status::paid;
        named(mine, QStringLiteral("E")).name = QStringLiteral("E2"); // a plain edit beside them
        const QUuid c = named(theirs, QStringLiteral("C")).id;
        const QUuid d = named(mine, QStringLiteral("D")).id;

        const auto r = merge(base, mine, theirs, true);
        // C follows its neighbour there, "theirs new".
        QCOMPARE(names(r.merged), QStringLiteral("theirs new C mine new D E2"));
        QCOMPARE(byId(r.merged, c)->fee, 900.0);
        QCOMPARE(byId(r.merged, d)->status, Status::paid);
        QVERIFY(r.conflicts.isEmpty());
        QCOMPARE(r.theirsPreferred, r.merged);
        QCOMPARE(
            sortedList({uuidText(c), uuidText(d)}),
            sortedList({uuidText(r.keptDespiteDeletion.value(0)), uuidText(r.keptDespiteDeletion.value(1))}));
        QCOMPARE(r.keptDespiteDeletion.size(), 2);
        // Deleted on both sides: gone, and not reported.
        AppData both = base;
        removeNamed(both, QStringLiteral("A"));
        AppData bothToo = both;
        bothToo.taxRate = 5;
        const auto gone = merge(base, both, bothToo, true);
        QVERIFY(!byId(gone.merged, base.projects.at(0).id));
        QVERIFY(gone.keptDespiteDeletion.isEmpty());

        // The same id added on both sides: one copy when equal; otherwise mine per field, the
        // conflict recorded with both versions and the other side's values preferred there.
        const Project twin = project(QStringLiteral("Twin"), 300);
        AppData m2 = base;
        AppData t2 = base;
        m2.projects.prepend(twin);
        t2.projects.append(twin);
        t2.taxRate = 1; // so that neither side equals base alone
        const auto once = merge(base, m2, t2, true);
        QCOMPARE(once.merged.projects.size(), base.projects.size() + 1);
        QCOMPARE(*byId(once.merged, twin.id), twin);
        QVERIFY(once.conflicts.isEmpty());
        Project theirTwin = twin;
        theirTwin.fee = 450;
        theirTwin.extra.insert(QStringLiteral("x"), 1);
        t2.projects.last() = theirTwin;
        const auto differ = merge(base, m2, t2, true);
        QCOMPARE(differ.merged.projects.size(), base.projects.size() + 1);
        QCOMPARE(*byId(differ.merged, twin.id), twin);
        QCOMPARE(*byId(differ.theirsPreferred, twin.id), theirTwin);
        QCOMPARE(differ.conflicts.size(), 1);
        QCOMPARE(differ.conflicts.at(0).id, twin.id);
        QCOMPARE(differ.conflicts.at(0).fields,
                 (QVector<ProjectField>{ProjectField::fee, ProjectField::other}));
        QCOMPARE(differ.conflicts.at(0).mine, twin);
        QCOMPARE(differ.conflicts.at(0).theirs, theirTwin);
        QVERIFY(differ.keptDespiteDeletion.isEmpty());
    }

    // Field by field: a change on one side is taken from that side, the same change on both is
    // that value, different changes keep mine and are reported; kept members key by key.
    void fieldsMergeOneByOne()
    {
        AppData base = documentOf({"A", "B", "C"});
        named(base, QStringLiteral("A")).extra =
            QJsonObject{{QStringLiteral("tag"), QStringLiteral("t")}, {QStringLiteral("n"), 1}};
        AppData mine = base;
        AppData theirs = base;
        const QDateTime later = TestProjects::noon(QDate(2026, 9, 1));
        // A: every field changed on one side or the other, or on both alike.
        Project& ma = named(mine, QStringLiteral("A"));
        Project& ta = named(theirs, QStringLiteral("A"));
        ma.client = QStringLiteral("Birch");
        ma.fee = 250;
        ta.category = QStringLiteral("Print");
        ta.outsource = 40;
        ta.status = Status::pending;
        ma.date = later;
        ta.date = later;
        ma.extra.remove(QStringLiteral("tag"));
        ta.extra.insert(QStringLiteral("n"), 2);
        ta.extra.insert(QStringLiteral("new"), QJsonObject{{QStringLiteral("deep"), true}});
        // B: changed differently on both sides, fields and one member.
        Project& mb = named(mine, QStringLiteral("B"));
        Project& tb = named(theirs, QStringLiteral("B"));
        mb.name = QStringLiteral("B mine");
        tb.name = QStringLiteral("B theirs");
        mb.fee = 1;
        tb.fee = 2;
        mb.status = Status::paid;
        tb.client = QStringLiteral("Cobalt"); // one-sided beside the conflicts
        mb.extra.insert(QStringLiteral("k"), QStringLiteral("m"));
        tb.extra.insert(QStringLiteral("k"), QStringLiteral("t"));
        const Project mineB = mb;
        const Project theirsB = tb;

        const auto r = merge(base, mine, theirs, false);
        const Project& a = *byId(r.merged, ma.id);
        QCOMPARE(a.name, QStringLiteral("A"));
        QCOMPARE(a.client, QStringLiteral("Birch"));
        QCOMPARE(a.category, QStringLiteral("Print"));
        QCOMPARE(a.fee, 250.0);
        QCOMPARE(a.outsource, 40.0);
        QCOMPARE(a.status, Status::pending);
        QCOMPARE(a.date, later);
        QVERIFY(sameMembers(
            a.extra, QJsonObject{{QStringLiteral("n"), 2},
                                 {QStringLiteral("new"), QJsonObject{{QStringLiteral("deep"), true}}}}));
        QCOMPARE(*byId(r.theirsPreferred, ma.id), a);

        const Project& b = *byId(r.merged, mb.id);
        QCOMPARE(b.name, QStringLiteral("B mine"));
        QCOMPARE(b.fee, 1.0);
        QCOMPARE(b.status, Status::paid);
        QCOMPARE(b.client, QStringLiteral("Cobalt"));
        QCOMPARE(b.extra.value(QStringLiteral("k")).toString(), QStringLiteral("m"));
        const Project& bt = *byId(r.theirsPreferred, mb.id);
        QCOMPARE(bt.name, QStringLiteral("B theirs"));
        QCOMPARE(bt.fee, 2.0);
        QCOMPARE(bt.status, Status::paid);
        QCOMPARE(bt.client, QStringLiteral("Cobalt"));
        QCOMPARE(bt.extra.value(QStringLiteral("k")).toString(), QStringLiteral("t"));
        QCOMPARE(r.conflicts.size(), 1);
        QCOMPARE(r.conflicts.at(0).id, mb.id);
        QCOMPARE(r.conflicts.at(0).fields,
                 (QVector<ProjectField>{ProjectField::name, ProjectField::fee, ProjectField::other}));
        QCOMPARE(r.conflicts.at(0).mine, mineB);
        QCOMPARE(r.conflicts.at(0).theirs, theirsB);
        QCOMPARE(*byId(r.merged, named(base, QStringLiteral("C")).id), named(base, QStringLiteral("C")));

        // Members read from a file equal those built in memory: the other side's copy, parsed
        // again, is no change, so this computer's edit of a member goes through unopposed.
        AppData parsedBase = documentOf({"P"});
        parsedBase.projects[0].extra =
            QJsonObject{{QStringLiteral("label"), QStringLiteral("çay ☕")},
                        {QStringLiteral("list"), QJsonArray{1.5, QStringLiteral("x")}}};
        AppData parsedMine = parsedBase;
        parsedMine.projects[0].extra.insert(QStringLiteral("label"), QStringLiteral("tea"));
        AppData parsedTheirs = parsedBase;
        parsedTheirs.projects[0].extra =
            QJsonDocument::fromJson(QJsonDocument(parsedBase.projects[0].extra).toJson()).object();
        parsedTheirs.projects[0].name = QStringLiteral("P2");
        const auto p = merge(parsedBase, parsedMine, parsedTheirs, true);
        QVERIFY(p.conflicts.isEmpty());
        QCOMPARE(p.merged.projects.at(0).name, QStringLiteral("P2"));
        QCOMPARE(p.merged.projects.at(0).extra.value(QStringLiteral("label")).toString(),
                 QStringLiteral("tea"));
        QCOMPARE(p.merged.projects.at(0).extra.size(), 2);
    }

    // Mine's order; each project only the other side has follows its nearest preceding
    // neighbour there that is in the result, or opens the list.
    void orderFollowsMineWithTheirsAdditionsAfterTheirNeighbours()
    {
        const AppData base = documentOf({"A", "B", "C", "D"});
        AppData mine = base;
        AppData theirs = base;
        std::swap(mine.projects[0], mine.projects[3]); // D B C A
        mine.projects.prepend(project(QStringLiteral("m1")));
        removeNamed(mine, QStringLiteral("C"));
        // Theirs: t1 A t2 t3 B C t4 D. C, deleted here and untouched there, is gone: t4 follows B.
        theirs.projects.insert(0, project(QStringLiteral("t1")));
        theirs.projects.insert(2, project(QStringLiteral("t2")));
        theirs.projects.insert(3, project(QStringLiteral("t3")));
        theirs.projects.insert(6, project(QStringLiteral("t4")));
        QCOMPARE(names(theirs), QStringLiteral("t1 A t2 t3 B C t4 D"));
        const auto r = merge(base, mine, theirs, true);
        QCOMPARE(names(r.merged), QStringLiteral("t1 m1 D B t4 A t2 t3"));
        QCOMPARE(r.theirsPreferred, r.merged);
        // The same inputs, the same result.
        QCOMPARE(ids(merge(base, mine, theirs, true).merged), ids(r.merged));

        // A project mine deleted and theirs edited goes back where theirs has it.
        AppData m2 = base;
        removeNamed(m2, QStringLiteral("C"));
        AppData t2 = base;
        named(t2, QStringLiteral("C")).fee = 5;
        t2.projects.prepend(project(QStringLiteral("first")));
        const auto back = merge(base, m2, t2, true);
        QCOMPARE(names(back.merged), QStringLiteral("first A B C D"));
        QCOMPARE(back.keptDespiteDeletion, QVector<QUuid>{named(t2, QStringLiteral("C")).id});
    }

    // Clients and categories: kept by both or added by either, removals by either side applied;
    // mine's order, then the other side's new entries in its order.
    void directoriesMergeAsSets()
    {
        AppData base = documentOf({"A"});
        base.clients = QStringList{"Acme", "Birch", "Cobalt", "Dune", "Elm"};
        base.categories = QStringList{"Web", "Print"};
        AppData mine = base;
        AppData theirs = base;
        mine.clients = QStringList{"Elm", "New mine", "Acme", "Cobalt", "Dune", "Shared new"};
        theirs.clients = QStringList{"Acme", "Birch", "Elm", "Zed", "Shared new", "Yew"};
        // Mine removed Birch, theirs removed Cobalt and Dune; both added "Shared new".
        theirs.categories.append(QStringLiteral("Motion"));
        mine.categories.removeAll(QStringLiteral("Print"));
        const auto r = merge(base, mine, theirs, true);
        QCOMPARE(r.merged.clients, (QStringList{"Elm", "New mine", "Acme", "Shared new", "Zed", "Yew"}));
        QCOMPARE(r.merged.categories, (QStringList{"Web", "Motion"}));
        QCOMPARE(r.theirsPreferred.clients, r.merged.clients);
        // Case is not folded here: "acme" is a new entry beside "Acme".
        AppData t2 = base;
        t2.clients.append(QStringLiteral("acme"));
        const auto cased = merge(base, mine, t2, true);
        QVERIFY(cased.merged.clients.contains(QStringLiteral("acme")));
        QVERIFY(cased.merged.clients.contains(QStringLiteral("Acme")));
    }

    // Settings are never conflicts: one side's change is taken, and where both changed one
    // differently the newer writer wins; top-level kept members key by key.
    void settingsGoToTheNewerWriter()
    {
        AppData base = documentOf({"A"});
        base.extra = QJsonObject{{QStringLiteral("a"), 1}, {QStringLiteral("b"), 1}};
        AppData mine = base;
        AppData theirs = base;
        mine.currency = QStringLiteral("€");
        theirs.currency = QStringLiteral("₺");
        mine.taxRate = 18;
        theirs.targetGoal = 50000;
        theirs.layout = BoardLayout::table;
        mine.columnOrder = normalizedColumnOrder({Status::ongoing});
        theirs.columnOrder = normalizedColumnOrder({Status::pending});
        theirs.columnColors.insert(QStringLiteral("paid"), QStringLiteral("#112233"));
        mine.extra.insert(QStringLiteral("a"), 2);
        theirs.extra.insert(QStringLiteral("a"), 3);
        theirs.extra.insert(QStringLiteral("b"), 4);
        theirs.extra.insert(QStringLiteral("c"), 5);
        // Terms client by client: one side's change of a client is kept beside the other's.
        base.clientTerms = {{QStringLiteral("Acme"), 45}, {QStringLiteral("Bolt"), 10}};
        mine.clientTerms = {
            {QStringLiteral("Acme"), 60}, {QStringLiteral("Bolt"), 10}, {QStringLiteral("Cog"), 5}};
        theirs.clientTerms = {{QStringLiteral("Acme"), 15}}; // Bolt back to the default
        mine.forecastPendingPercent = 80;
        theirs.forecastOngoingPercent = 40;
        theirs.forecastPendingPercent = 70;
        for (bool mineNewer : {true, false}) {
            const auto r = merge(base, mine, theirs, mineNewer);
            const AppData& d = r.merged;
            QCOMPARE(d.clientTerms, (QMap<QString, int>{{QStringLiteral("Acme"), mineNewer ? 60 : 15},
                                                        {QStringLiteral("Cog"), 5}}));
            QCOMPARE(d.forecastPendingPercent, std::optional<double>(mineNewer ? 80 : 70));
            QCOMPARE(d.forecastOngoingPercent, std::optional<double>(40));
            QCOMPARE(d.currency, mineNewer ? QStringLiteral("€") : QStringLiteral("₺"));
            QCOMPARE(d.columnOrder, mineNewer ? mine.columnOrder : theirs.columnOrder);
            QCOMPARE(d.taxRate, 18.0);
            QCOMPARE(d.targetGoal, 50000.0);
            QCOMPARE(d.layout, BoardLayout::table);
            QCOMPARE(d.columnColors, theirs.columnColors);
            QVERIFY(sameMembers(d.extra, QJsonObject{{QStringLiteral("a"), mineNewer ? 2 : 3},
                                                     {QStringLiteral("b"), 4},
                                                     {QStringLiteral("c"), 5}}));
            QVERIFY(r.conflicts.isEmpty());
            QCOMPARE(r.theirsPreferred, d);
        }
    }

    // A document with a repeated id (not made by a load, which gives repeats ids of their own):
    // copies are matched by their turn, so none is folded into another or lost.
    void repeatedIdsAreNeverFolded()
    {
        AppData base = documentOf({"A", "B"});
        base.projects[1].id = base.projects[0].id;
        AppData mine = base;
        AppData theirs = base;
        mine.projects[1].fee = 7;
        theirs.projects[0].name = QStringLiteral("A2");
        theirs.projects.append(project(QStringLiteral("C")));
        const auto r = merge(base, mine, theirs, true);
        QCOMPARE(names(r.merged), QStringLiteral("A2 B C"));
        QCOMPARE(r.merged.projects.at(1).fee, 7.0);
        QCOMPARE(r.merged.projects.at(0).fee, 100.0);
        QVERIFY(r.conflicts.isEmpty());
    }

    // Swapping the sides changes only who wins conflicts: without conflicting fields the same
    // projects with the same values, the same directories, and with the writer's flag swapped
    // the same settings.
    void symmetricApartFromConflicts()
    {
        const AppData base = AppData::sample();
        AppData mine = base;
        AppData theirs = base;
        mine.projects[0].fee = 1;
        mine.projects[1].status = Status::paid;
        theirs.projects[1].name = QStringLiteral("Renamed");
        theirs.projects[2].date = TestProjects::noon(QDate(2020, 1, 2));
        const QUuid goneHere = base.projects.at(5).id;
        const QUuid goneThere = base.projects.at(6).id;
        const QUuid editedThere = base.projects.at(8).id; // kept although mine deletes it
        mine.projects.removeIf([&](const Project& p) { return p.id == goneHere || p.id == editedThere; });
        theirs.projects.removeIf([&](const Project& p) { return p.id == goneThere; });
        theirs.projects[7].fee = 9;
        QCOMPARE(theirs.projects.at(7).id, editedThere);
        mine.projects.prepend(project(QStringLiteral("mine")));
        theirs.projects.insert(3, project(QStringLiteral("theirs")));
        mine.clients.append(QStringLiteral("M client"));
        theirs.clients.removeAt(0);
        theirs.categories.append(QStringLiteral("T category"));
        mine.currency = QStringLiteral("€");
        theirs.currency = QStringLiteral("£");
        theirs.taxRate = 3;
        const auto a = merge(base, mine, theirs, true);
        const auto b = merge(base, theirs, mine, false);
        QVERIFY(a.conflicts.isEmpty());
        QVERIFY(b.conflicts.isEmpty());
        QCOMPARE(sortedById(a.merged), sortedById(b.merged));
        QCOMPARE(a.merged.projects.size(), base.projects.size() - 2 + 2);
        QVERIFY(!byId(a.merged, goneHere) && !byId(a.merged, goneThere));
        QCOMPARE(sortedList(a.merged.clients), sortedList(b.merged.clients));
        QCOMPARE(sortedList(a.merged.categories), sortedList(b.merged.categories));
        QCOMPARE(a.merged.currency, QStringLiteral("€"));
        QCOMPARE(b.merged.currency, QStringLiteral("€"));
        QCOMPARE(a.merged.taxRate, 3.0);
        QCOMPARE(b.merged.taxRate, 3.0);
        QCOMPARE(a.keptDespiteDeletion, QVector<QUuid>{editedThere});
        QCOMPARE(byId(a.merged, editedThere)->fee, 9.0);
        QCOMPARE(b.keptDespiteDeletion, a.keptDespiteDeletion);
    }

    // Random edit scripts on both sides of a small document, checked against what each side did:
    // every addition kept, every deletion of an untouched project applied, every deleted but
    // edited project kept as edited, every one-sided field or member change taken, mine's value
    // for every conflicting field, the other preference differing exactly there, mine's order and
    // the other side's additions beside their neighbours. The scripts also move projects.
    void randomEditScripts()
    {
        QRandomGenerator rng(20261207);
        int conflictsSeen = 0;
        int keptSeen = 0;
        for (int round = 0; round < 200; ++round) {
            const AppData base = smallDocument(rng);
            const QUuid twinId = QUuid::createUuid();
            AppData mine = base;
            AppData theirs = base;
            const int mineEdits = int(rng.bounded(6));
            const int theirEdits = int(rng.bounded(6));
            for (int i = 0; i < mineEdits; ++i)
                randomEdit(mine, rng);
            for (int i = 0; i < theirEdits; ++i)
                randomEdit(theirs, rng);
            if (rng.bounded(4) == 0) {
                Project twin = randomProject(rng);
                twin.id = twinId;
                mine.projects.prepend(twin);
                if (rng.bounded(2) == 0)
                    editField(twin, kFields.at(int(rng.bounded(int(kFields.size())))), rng);
                theirs.projects.prepend(twin);
            }
            const bool mineNewer = rng.bounded(2) == 0;
            const auto r = merge(base, mine, theirs, mineNewer);
            const QString where = QStringLiteral("round %1").arg(round);
            checkMerge(base, mine, theirs, r, where);
            if (QTest::currentTestFailed())
                return;
            // Swapped sides differ only in who wins conflicts.
            const auto swapped = merge(base, theirs, mine, !mineNewer);
            QCOMPARE(swapped.conflicts.size(), r.conflicts.size());
            if (r.conflicts.isEmpty()) {
                QVERIFY2(sortedById(swapped.merged) == sortedById(r.merged), qPrintable(where));
                QCOMPARE(swapped.merged.currency, r.merged.currency);
            } else {
                QVERIFY2(sortedById(swapped.merged) == sortedById(r.theirsPreferred), qPrintable(where));
            }
            conflictsSeen += int(r.conflicts.size());
            keptSeen += int(r.keptDespiteDeletion.size());
        }
        // The scripts reach the interesting cases.
        QVERIFY(conflictsSeen > 10);
        QVERIFY(keptSeen > 10);
    }

private:
    static AppData smallDocument(QRandomGenerator& rng)
    {
        AppData d;
        d.clients = QStringList{"Acme", "Birch", "Cobalt"};
        d.categories = QStringList{"Web", "Print"};
        for (int i = 0; i < 8; ++i)
            d.projects.append(randomProject(rng));
        return d;
    }

    static Project randomProject(QRandomGenerator& rng)
    {
        Project p = project(QStringLiteral("P%1").arg(rng.bounded(1000)));
        if (rng.bounded(3) == 0)
            p.extra = QJsonObject{{QStringLiteral("tag"), QStringLiteral("t")}, {QStringLiteral("n"), 1}};
        return p;
    }

    // Values from small pools, so that both sides often make the same change.
    static void editField(Project& p, ProjectField f, QRandomGenerator& rng)
    {
        const int v = int(rng.bounded(3));
        switch (f) {
        case ProjectField::name:
            p.name = QStringLiteral("name %1").arg(v);
            break;
        case ProjectField::client:
            p.client = QStringList{"Acme", "Birch", "Dune"}.at(v);
            break;
        case ProjectField::category:
            p.category = QStringList{"Web", "Print", "Motion"}.at(v);
            break;
        case ProjectField::fee:
            p.fee = 100 * (v + 2);
            break;
        case ProjectField::outsource:
            p.outsource = 10 * v;
            break;
        case ProjectField::status:
            p.status = StatusInfo::all[size_t(v)];
            break;
        case ProjectField::date:
            p.date = TestProjects::noon(QDate(2025, 1 + v, 1));
            break;
        case ProjectField::pendingSince: // unset is one of the values
            p.pendingSince = v == 0 ? QDate() : QDate(2025, 2, v);
            break;
        case ProjectField::dueDate:
            p.dueDate = v == 0 ? QDate() : QDate(2025, 3, v);
            break;
        case ProjectField::paidOn:
            p.paidOn = v == 0 ? QDate() : QDate(2025, 4, v);
            break;
        case ProjectField::other: {
            const QString key = QStringList{"tag", "n", "x"}.at(int(rng.bounded(3)));
            const QJsonValue values[] = {QJsonValue(v), QJsonValue(QStringLiteral("v%1").arg(v)),
                                         QJsonValue(QJsonArray{v, true})};
            if (rng.bounded(4) == 0)
                p.extra.remove(key);
            else
                p.extra.insert(key, values[rng.bounded(3)]);
            break;
        }
        }
    }

    static void randomEdit(AppData& d, QRandomGenerator& rng)
    {
        const int op = int(rng.bounded(7));
        if (op == 6 && d.projects.size() > 1) {
            d.projects.move(int(rng.bounded(int(d.projects.size()))),
                            int(rng.bounded(int(d.projects.size()))));
        } else if (op == 0 && !d.projects.isEmpty()) {
            d.projects.removeAt(int(rng.bounded(int(d.projects.size()))));
        } else if (op == 1) {
            d.projects.insert(rng.bounded(2) == 0 ? 0 : int(rng.bounded(int(d.projects.size()) + 1)),
                              randomProject(rng));
        } else if (!d.projects.isEmpty()) {
            editField(d.projects[int(rng.bounded(int(d.projects.size())))],
                      kFields.at(int(rng.bounded(int(kFields.size())))), rng);
        }
    }

    static QStringList memberKeys(const Project* a, const Project* b, const Project* c)
    {
        QStringList keys;
        for (const Project* p : {a, b, c}) {
            if (p)
                keys += p->extra.keys();
        }
        keys.sort();
        keys.removeDuplicates();
        return keys;
    }

    static void checkMerge(const AppData& base, const AppData& mine, const AppData& theirs,
                           const DocumentMerge::Result& r, const QString& where)
    {
        const auto fail = [&](const QString& what) {
            QFAIL(qPrintable(where + QStringLiteral(": ") + what));
        };
        QSet<QUuid> all;
        for (const AppData* d : {&base, &mine, &theirs}) {
            for (const Project& p : d->projects)
                all.insert(p.id);
        }
        // Each id at most once, at the same place in both preferences.
        QCOMPARE(r.theirsPreferred.projects.size(), r.merged.projects.size());
        QSet<QUuid> seen;
        for (qsizetype i = 0; i < r.merged.projects.size(); ++i) {
            const QUuid id = r.merged.projects.at(i).id;
            if (seen.contains(id) || r.theirsPreferred.projects.at(i).id != id)
                return fail(QStringLiteral("project %1 twice or out of place").arg(uuidText(id)));
            seen.insert(id);
        }
        QSet<QUuid> conflicted;
        for (const auto& c : r.conflicts) {
            if (conflicted.contains(c.id))
                return fail(QStringLiteral("conflict reported twice"));
            conflicted.insert(c.id);
        }
        for (const QUuid& id : std::as_const(all)) {
            const Project* b = byId(base, id);
            const Project* m = byId(mine, id);
            const Project* t = byId(theirs, id);
            const Project* out = byId(r.merged, id);
            const Project* alt = byId(r.theirsPreferred, id);
            const QString name = uuidText(id);
            const bool kept = r.keptDespiteDeletion.contains(id);
            if (!m || !t) {
                if (conflicted.contains(id))
                    return fail(name + QStringLiteral(" in conflict while on one side"));
                const Project* present = m ? m : t;
                if (!present) { // deleted on both sides
                    if (out || kept)
                        return fail(name + QStringLiteral(" deleted on both sides but kept"));
                    continue;
                }
                if (!b) { // added on one side
                    if (!out || *out != *present || kept)
                        return fail(name + QStringLiteral(" added on one side but not kept as it is"));
                } else if (*present == *b) {
                    if (out || kept)
                        return fail(name + QStringLiteral(" deleted and untouched, yet kept"));
                    continue;
                } else if (!out || *out != *present || !kept) {
                    return fail(name + QStringLiteral(" deleted and edited, not kept as edited"));
                }
                if (*alt != *out)
                    return fail(name + QStringLiteral(" differs between the preferences"));
                continue;
            }
            if (!out || kept)
                return fail(name + QStringLiteral(" on both sides, not kept plainly"));
            QVector<ProjectField> expectedConflicts;
            for (ProjectField f : kFields) {
                bool conflict = false;
                if (f == ProjectField::other) {
                    for (const QString& key : memberKeys(b, m, t)) {
                        const QJsonValue bv = b ? b->extra.value(key) : QJsonValue(QJsonValue::Undefined);
                        const QJsonValue mv = m->extra.value(key);
                        const QJsonValue tv = t->extra.value(key);
                        const bool mineChanged = !b || !sameValue(bv, mv);
                        const bool theirsChanged = !b || !sameValue(bv, tv);
                        const bool both = mineChanged && theirsChanged && !sameValue(mv, tv);
                        conflict = conflict || both;
                        const QJsonValue want = mineChanged ? mv : tv;
                        if (!sameValue(out->extra.value(key), want))
                            return fail(name + QStringLiteral(" member ") + key + QStringLiteral(" wrong"));
                        if (!sameValue(alt->extra.value(key), both ? tv : want))
                            return fail(name + QStringLiteral(" member ") + key +
                                        QStringLiteral(" wrong in theirs preferred"));
                    }
                } else {
                    const bool mineChanged = !b || differs(*b, *m, f);
                    const bool theirsChanged = !b || differs(*b, *t, f);
                    conflict = mineChanged && theirsChanged && differs(*m, *t, f);
                    const Project& want = mineChanged ? *m : *t;
                    if (differs(*out, want, f))
                        return fail(name + QStringLiteral(" field ") + QLatin1String(fieldName(f)) +
                                    QStringLiteral(" wrong"));
                    if (differs(*alt, conflict ? *t : want, f))
                        return fail(name + QStringLiteral(" field ") + QLatin1String(fieldName(f)) +
                                    QStringLiteral(" wrong in theirs preferred"));
                }
                if (conflict)
                    expectedConflicts.append(f);
                // The preferences differ exactly in the conflicting fields.
                if (differs(*out, *alt, f) != conflict)
                    return fail(name + QStringLiteral(" preferences differ outside the conflicts"));
            }
            QVector<ProjectField> reported;
            for (const auto& c : r.conflicts) {
                if (c.id == id) {
                    reported = c.fields;
                    if (c.mine != *m || c.theirs != *t)
                        return fail(name + QStringLiteral(" conflict without both versions"));
                }
            }
            if (reported != expectedConflicts)
                return fail(name + QStringLiteral(" conflicting fields wrong"));
        }
        // Nothing from nowhere.
        for (const Project& p : r.merged.projects) {
            if (!all.contains(p.id))
                return fail(QStringLiteral("a project from nowhere"));
        }
        // Each project only theirs has comes right after its nearest preceding project there that
        // is in the result, or first.
        QHash<QUuid, qsizetype> place;
        for (qsizetype i = 0; i < r.merged.projects.size(); ++i)
            place.insert(r.merged.projects.at(i).id, i);
        for (qsizetype i = 0; i < theirs.projects.size(); ++i) {
            const QUuid id = theirs.projects.at(i).id;
            if (byId(mine, id) || !place.contains(id))
                continue;
            qsizetype expected = 0;
            for (qsizetype j = i - 1; j >= 0; --j) {
                if (place.contains(theirs.projects.at(j).id)) {
                    expected = place.value(theirs.projects.at(j).id) + 1;
                    break;
                }
            }
            if (place.value(id) != expected)
                return fail(uuidText(id) + QStringLiteral(" not after its neighbour"));
        }
        // Mine's order is kept, unless mine is base: then theirs is taken whole, order and all.
        if (mine == base) {
            QCOMPARE(r.merged, theirs);
            return;
        }
        QVector<QUuid> mineOrder;
        for (const Project& p : r.merged.projects) {
            if (byId(mine, p.id))
                mineOrder.append(p.id);
        }
        QVector<QUuid> mineKept;
        for (const Project& p : mine.projects) {
            if (byId(r.merged, p.id))
                mineKept.append(p.id);
        }
        QCOMPARE(mineOrder, mineKept);
    }
};

TB_TEST_MAIN(TestMerge)
#include "tst_merge.moc"
