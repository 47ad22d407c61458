#include "TestMain.h"

#include "StoreTestUtil.h"

#include <QJsonObject>
#include <QSignalSpy>

using namespace StoreTestUtil;

namespace {
QString card(const Project& p)
{
    return QStringLiteral("card:") + uuidText(p.id);
}
} // namespace

class TestStoreOperations final : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Store> m_store;

    Store& store() { return *m_store; }
    QVector<QString> names() const
    {
        QVector<QString> out;
        for (const Project& p : m_store->data().projects)
            out.append(p.name);
        return out;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<Store>(m_dir->path(), false);
        m_store->setLanguage(AppLanguage::en);
        const QDate day(QDate::currentDate().year(), 5, 15);
        m_store->update([&](AppData& d) {
            d = AppData::empty();
            d.clients = {QStringLiteral("Acme Corp"), QStringLiteral("ACME"), QStringLiteral("beta")};
            d.categories = {QStringLiteral("Branding")};
            for (const char* n : {"P1", "P2", "P3", "P4", "P5"})
                d.projects.append(
                    makeProject(QString::fromLatin1(n), Status::ongoing, 100, day, "Acme Corp"));
        });
        m_store->flushPendingSave();
        m_store->ui().expireToast();
    }

    void savingProjects()
    {
        Project p = makeProject("New", Status::pending, 50, QDate(2025, 2, 15), "acme corp", "print");
        store().save(p);
        QCOMPARE(store().data().projects.first().name, QStringLiteral("New"));
        QCOMPARE(store().data().projects.first().client, QStringLiteral("Acme Corp"));
        QCOMPARE(store().data().clients.size(), 3);
        QCOMPARE(store().data().categories, (QStringList{"Branding", "print"})); // new entry appended
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Project added"));
        QVERIFY(store().hasPendingSave());

        p.name = QStringLiteral("Renamed");
        p.client = QStringLiteral("Brand New");
        store().setLanguage(AppLanguage::tr);
        store().save(p);
        QCOMPARE(store().data().projects.first().name, QStringLiteral("Renamed")); // keeps its place
        QCOMPARE(store().data().projects.size(), 6);
        QCOMPARE(store().data().clients.last(), QStringLiteral("Brand New"));
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Proje güncellendi"));
        store().save(makeProject("Other", Status::paid, 1, QDate(2025, 2, 15)));
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Proje eklendi"));
        // An empty client is a name like any other: added once.
        QCOMPARE(store().data().clients.last(), QString());
        store().flushPendingSave();
        QCOMPARE(readDocument(store().fileURL()), store().data());

        // Saved into another year, the project takes the board with it.
        const int year = store().activeYear();
        store().save(makeProject("Next year", Status::ongoing, 5, QDate(year + 1, 3, 1)));
        QCOMPARE(store().activeYear(), year + 1);
        store().save(makeProject("Same year", Status::ongoing, 5, QDate(year + 1, 4, 1)));
        QCOMPARE(store().activeYear(), year + 1);
    }

    // Settings of the document change only through operations that check them, save them and
    // say so only when something really changed.
    void documentSettings()
    {
        QSignalSpy changes(&store(), &Store::dataChanged);
        store().setTaxRate(150);
        QCOMPARE(store().data().taxRate, 100.0);
        store().setTaxRate(-3);
        QCOMPARE(store().data().taxRate, 0.0);
        store().setTaxRate(qQNaN());
        store().setTaxRate(qInf());
        QCOMPARE(store().data().taxRate, 0.0);
        QCOMPARE(changes.count(), 2);
        store().setTaxRate(-1); // clamps to the rate it already has
        QCOMPARE(changes.count(), 2);
        store().setTaxRate(17.5);
        QCOMPARE(store().data().taxRate, 17.5);
        QCOMPARE(changes.count(), 3);

        store().setBoardLayout(BoardLayout::table);
        store().setBoardLayout(BoardLayout::table);
        QCOMPARE(store().data().layout, BoardLayout::table);
        QCOMPARE(changes.count(), 4);

        store().setTargetGoal(2500.5);
        store().setTargetGoal(2500.5);
        store().setTargetGoal(qInf());
        QCOMPARE(store().data().targetGoal, 2500.5);
        QCOMPARE(changes.count(), 5);
        QVERIFY(!store().ui().toast());

        store().setCurrency(QStringLiteral("€"));
        QCOMPARE(store().data().currency, QStringLiteral("€"));
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Currency changed to €"));
        store().ui().expireToast();
        store().setCurrency(QStringLiteral("€")); // nothing to confirm
        QVERIFY(!store().ui().toast());
        QCOMPARE(changes.count(), 6);
        store().setLanguage(AppLanguage::tr);
        store().setCurrency(QStringLiteral("$"));
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Para birimi $ olarak güncellendi"));

        store().flushPendingSave();
        const AppData written = readDocument(store().fileURL());
        QCOMPARE(written.taxRate, 17.5);
        QCOMPARE(written.layout, BoardLayout::table);
        QCOMPARE(written.targetGoal, 2500.5);
        QCOMPARE(written.currency, QStringLiteral("$"));

        // The user's choice of language is confirmed in the new language.
        store().chooseLanguage(AppLanguage::en);
        QCOMPARE(store().language(), AppLanguage::en);
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Language set to English"));
        store().chooseLanguage(AppLanguage::tr);
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Uygulama dili Türkçe olarak değiştirildi"));
    }

    // Hiding the search clears it, whoever hides it: a filter nobody sees hides projects.
    void hiddenSearchFiltersNothing()
    {
        UiState& ui = store().ui();
        ui.setSearchVisible(true);
        ui.setSearchQuery(QStringLiteral("P1"));
        QCOMPARE(store().visibleProjects().size(), 1);
        QSignalSpy cleared(&ui, &UiState::searchQueryChanged);
        ui.setSearchVisible(false);
        QCOMPARE(cleared.count(), 1);
        QVERIFY(ui.searchQuery().isEmpty());
        QCOMPARE(store().visibleProjects().size(), 5);
    }

    void deleteAndUndo()
    {
        const Project third = store().data().projects.at(2);
        QSignalSpy data(&store(), &Store::dataChanged);
        store().deleteProject(third.id);
        QCOMPARE(data.size(), 1);
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Deleted \"P3\""));
        QVERIFY(store().ui().toast()->canUndo);
        QCOMPARE(store().ui().toastLifeMs(), 5000);
        store().undoDelete();
        QCOMPARE(names(), (QVector<QString>{"P1", "P2", "P3", "P4", "P5"}));
        QCOMPARE(store().data().projects.at(2), third); // same id
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Restored \"P3\""));
        QVERIFY(!store().ui().toast()->canUndo);
        QVERIFY(!store().lastDeleted());

        // Two deletions: only the second comes back.
        const Project p1 = store().data().projects.at(0);
        const Project p5 = store().data().projects.at(4);
        store().deleteProject(p1.id);
        store().deleteProject(p5.id);
        store().undoDelete();
        QCOMPARE(names(), (QVector<QString>{"P2", "P3", "P4", "P5"}));
        store().undoDelete(); // nothing left to undo
        QCOMPARE(names().size(), 4);

        // The list shrank meanwhile: the project goes back at the end.
        const Project last = store().data().projects.last();
        store().deleteProject(last.id);
        store().update([](AppData& d) { d.projects.remove(0, 2); });
        QCOMPARE(names(), (QVector<QString>{"P4"}));
        store().undoDelete();
        QCOMPARE(names(), (QVector<QString>{"P4", "P5"}));

        // Unknown id: nothing, no toast.
        store().ui().expireToast();
        store().deleteProject(QUuid::createUuid());
        QVERIFY(!store().ui().toast());
    }

    void movesAndDrops()
    {
        const Project p = store().data().projects.at(1);
        store().move(p.id, Status::ongoing); // same status still confirms and saves
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Moved to In the Works"));
        QVERIFY(store().hasPendingSave());
        store().flushPendingSave();
        store().ui().expireToast();

        QVERIFY(!store().handleDrop({card(p)}, Status::ongoing)); // own column: nothing
        QVERIFY(!store().ui().toast());
        QVERIFY(!store().hasPendingSave());
        store().setLanguage(AppLanguage::tr); // "Moved to" stays English
        QVERIFY(store().handleDrop({QStringLiteral("junk"), card(p).toLower()}, Status::paid));
        QCOMPARE(store().data().projects.at(1).status, Status::paid);
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Moved to Paid"));
        QVERIFY(!store().handleDrop({QStringLiteral("card:nope"),
                                     QStringLiteral("card:") + uuidText(QUuid::createUuid()),
                                     QStringLiteral("col:done"), QStringLiteral("col:")},
                                    Status::pending));

        using S = Status;
        QVERIFY(store().handleDrop({QStringLiteral("col:paid")}, S::ongoing));
        QCOMPARE(store().data().columnOrder, (QVector<S>{S::pending, S::ongoing, S::paid}));
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Column order updated"));
        QVERIFY(store().handleDrop({QStringLiteral("col:paid")}, S::pending));
        QCOMPARE(store().data().columnOrder, (QVector<S>{S::paid, S::pending, S::ongoing}));
        QVERIFY(store().handleDrop({QStringLiteral("col:ongoing")}, S::paid));
        QCOMPARE(store().data().columnOrder, (QVector<S>{S::ongoing, S::paid, S::pending}));
        QVERIFY(!store().handleDrop({QStringLiteral("col:paid")}, S::paid));
    }

    // Members of the file a later version wrote survive a restart and every operation on the
    // projects that hold them.
    void unknownMembersSurviveOperations()
    {
        const QUuid id = store().data().projects.at(1).id;
        store().update([&](AppData& d) {
            d.extra.insert(QStringLiteral("version"), 3);
            d.projects[1].extra.insert(QStringLiteral("invoice"), QJsonObject{{QStringLiteral("no"), 7}});
        });
        store().flushPendingSave();
        m_store = std::make_unique<Store>(m_dir->path(), false);
        QCOMPARE(store().data().extra.value(QStringLiteral("version")).toInteger(), 3);
        const QJsonObject kept = store().data().projects.at(1).extra;
        QCOMPARE(kept.value(QStringLiteral("invoice")).toObject().value(QStringLiteral("no")).toInteger(), 7);

        store().move(id, Status::paid);
        store().deleteProject(id);
        store().undoDelete();
        store().removeClient(QStringLiteral("Acme Corp"));
        store().setTaxRate(12);
        store().flushPendingSave();
        const AppData onDisk = readDocument(store().fileURL());
        QCOMPARE(onDisk.projects.at(1).id, id);
        QCOMPARE(onDisk.projects.at(1).status, Status::paid);
        QCOMPARE(onDisk.projects.at(1).extra, kept);
        QCOMPARE(onDisk.extra.value(QStringLiteral("version")).toInteger(), 3);
        for (qsizetype i = 0; i < onDisk.projects.size(); ++i)
            QVERIFY(i == 1 || onDisk.projects.at(i).extra.isEmpty());
    }

    void trashDrops()
    {
        const Project a = store().data().projects.at(0);
        const Project b = store().data().projects.at(1);
        QVERIFY(!store().handleTrashDrop({QStringLiteral("col:paid"), QStringLiteral("card:bad")}));
        QCOMPARE(names().size(), 5);
        QVERIFY(store().handleTrashDrop({QStringLiteral("x"), card(a), card(b)}));
        QCOMPARE(names(), (QVector<QString>{"P2", "P3", "P4", "P5"})); // only the first
        QVERIFY(store().ui().toast()->canUndo);
        store().ui().expireToast();
        QVERIFY(store().handleTrashDrop({card(a)})); // a valid id of no project: true, nothing deleted
        QCOMPARE(names().size(), 4);
        QVERIFY(!store().ui().toast());
    }

    void columnMovesAndSorting()
    {
        using S = Status;
        store().moveColumn(S::paid, -1);
        QVERIFY(!store().ui().toast());
        QVERIFY(!store().hasPendingSave());
        store().moveColumn(S::ongoing, 1);
        QVERIFY(!store().ui().toast());
        store().moveColumn(S::paid, 1);
        QCOMPARE(store().data().columnOrder, (QVector<S>{S::pending, S::paid, S::ongoing}));
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Column order updated"));

        store().ui().setSort(SortField::name);
        store().ui().setSort(SortField::name);
        QCOMPARE(store().ui().sortField(), SortField::name);
        QVERIFY(!store().ui().sortAscending());
        store().ui().setSort(SortField::fee);
        QCOMPARE(store().ui().sortField(), SortField::fee);
        QVERIFY(store().ui().sortAscending());
    }

    void directories()
    {
        store().addClient(QStringLiteral("  Acme corp\t"));
        QVERIFY(!store().ui().toast());
        QCOMPARE(store().data().clients.size(), 3);
        store().addClient(QStringLiteral("   "));
        QVERIFY(!store().ui().toast());
        store().addClient(QStringLiteral(" Delta "));
        QCOMPARE(store().data().clients.last(), QStringLiteral("Delta"));
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Client \"Delta\" added"));
        store().setLanguage(AppLanguage::tr);
        store().addCategory(QStringLiteral("Print"));
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Kategori \"Print\" eklendi"));
        store().setLanguage(AppLanguage::en);

        // Rename into an existing name that differs by more than case.
        store().editClient(QStringLiteral("Acme Corp"), QStringLiteral("BETA"));
        QCOMPARE(store().ui().toast()->message, QStringLiteral("\"BETA\" already exists"));
        QCOMPARE(store().data().projects.first().client, QStringLiteral("Acme Corp"));
        // Case-only rename skips the duplicate check.
        store().editClient(QStringLiteral("Acme Corp"), QStringLiteral(" ACME CORP "));
        QCOMPARE(store().data().clients.first(), QStringLiteral("ACME CORP"));
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Client updated"));
        for (const Project& p : store().data().projects)
            QCOMPARE(p.client, QStringLiteral("ACME CORP"));
        store().editClient(QStringLiteral("ACME CORP"), QStringLiteral("Gamma"));
        QCOMPARE(store().data().clients.first(), QStringLiteral("Gamma"));
        store().ui().expireToast();
        store().editClient(QStringLiteral("Gamma"), QStringLiteral(" "));
        QVERIFY(!store().ui().toast());

        store().removeClient(QStringLiteral("Gamma"));
        QVERIFY(!store().data().clients.contains(QStringLiteral("Gamma")));
        QCOMPARE(store().data().projects.first().client, QStringLiteral("Gamma")); // projects keep their text
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Client removed from the list"));
        store().ui().expireToast();
        store().removeCategory(QStringLiteral("Nothing"));
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Category removed from the list"));
        store().setLanguage(AppLanguage::tr);
        store().editCategory(QStringLiteral("Branding"), QStringLiteral("Marka"));
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Kategori adı güncellendi"));
        QCOMPARE(store().data().categories.first(), QStringLiteral("Marka"));
    }

    void turkishCaseAndUnicodeBlanks()
    {
        const bool systemTurkish = QLocale::system().language() == QLocale::Turkish;
        store().update([](AppData& d) {
            d.clients = {QStringLiteral("İzmir Tasarım"), QStringLiteral("Işık Ajans")};
            d.categories = {QStringLiteral("Branding")};
        });
        // An English interface on a system that is not Turkish keeps the ordinary rules: İ and i,
        // I and ı are different letters there.
        QCOMPARE(store().turkishCase(), systemTurkish);
        if (!systemTurkish) {
            store().addClient(QStringLiteral("IŞIK AJANS"));
            QCOMPARE(store().data().clients.size(), 3);
            store().removeClient(QStringLiteral("IŞIK AJANS"));
        }

        store().setLanguage(AppLanguage::tr);
        QVERIFY(store().turkishCase());
        store().ui().expireToast();
        store().addClient(QStringLiteral("IŞIK AJANS"));
        store().addClient(QStringLiteral("ışık ajans"));
        QVERIFY(!store().ui().toast());
        QCOMPARE(store().data().clients, (QStringList{"İzmir Tasarım", "Işık Ajans"}));
        // A project typed in small letters takes the stored spelling instead of a second client;
        // names typed in English on the Turkish system still pair I with i.
        store().save(
            makeProject("Afiş", Status::ongoing, 10, QDate(2025, 4, 15), "izmir tasarım", "BRANDING"));
        QCOMPARE(store().data().projects.first().client, QStringLiteral("İzmir Tasarım"));
        QCOMPARE(store().data().projects.first().category, QStringLiteral("Branding"));
        QCOMPARE(store().data().clients.size(), 2);
        QCOMPARE(store().data().categories.size(), 1);
        // A rename that differs only in Turkish case is no clash with itself.
        store().editClient(QStringLiteral("Işık Ajans"), QStringLiteral("IŞIK AJANS"));
        QCOMPARE(store().data().clients.last(), QStringLiteral("IŞIK AJANS"));
        store().editClient(QStringLiteral("IŞIK AJANS"), QStringLiteral("İZMİR TASARIM"));
        QCOMPARE(store().ui().toast()->message, QStringLiteral("\"İZMİR TASARIM\" zaten mevcut"));

        // No-break, thin and ideographic spaces are blanks at the ends like spaces and tabs.
        store().addCategory(QStringLiteral("\u00A0Print\u2009\u3000\t"));
        QCOMPARE(store().data().categories.last(), QStringLiteral("Print"));
        store().addCategory(QStringLiteral("\u202Fprint\u00A0"));
        QCOMPARE(store().data().categories.size(), 2);
        store().addCategory(QStringLiteral("\u00A0\u2007"));
        QCOMPARE(store().data().categories.size(), 2);
    }

    void coloursEraseAndSample()
    {
        QSignalSpy data(&store(), &Store::dataChanged);
        store().setColumnColor(Status::pending, HexColor::fromHex(QStringLiteral("#e11d48")));
        QCOMPARE(store().data().columnColors.value(QStringLiteral("pending")), QStringLiteral("#E11D48"));
        QVERIFY(!store().ui().toast());
        QVERIFY(store().hasPendingSave());
        store().resetColumnColors();
        QVERIFY(store().data().columnColors.isEmpty());
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Colors reset to defaults"));

        store().deleteProject(store().data().projects.first().id);
        store().update([](AppData& d) {
            d.currency = QStringLiteral("€");
            d.taxRate = 5;
        });
        store().setActiveYear(1999);
        store().eraseAll();
        QCOMPARE(store().data(), AppData::empty());
        QVERIFY(!store().lastDeleted());
        QCOMPARE(store().activeYear(), 1999);
        QCOMPARE(store().ui().toast()->message, QStringLiteral("All data deleted"));

        store().deleteProject(QUuid()); // nothing
        store().restoreSample();
        QCOMPARE(store().data().projects.size(), 37);
        QCOMPARE(store().activeYear(), QDate::currentDate().year());
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Sample data restored"));
        const QUuid firstId = store().data().projects.first().id;
        store().restoreSample();
        QVERIFY(store().data().projects.first().id != firstId);
        QVERIFY(data.size() >= 6);
        store().flushPendingSave();
        QCOMPARE(readDocument(store().fileURL()), store().data());
    }
};

TB_TEST_MAIN(TestStoreOperations)
#include "tst_store_operations.moc"
