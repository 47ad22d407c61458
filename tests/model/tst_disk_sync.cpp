#include "TestMain.h"

#include "StoreTestUtil.h"
#include "model/AtomicWrite.h"

#include <QSignalSpy>

using namespace StoreTestUtil;

namespace {

const QDate kDay(2026, 5, 15);

// A sync engine's way of bringing the other computer's version: a new file renamed over the old.
void replaceFromOutside(const QString& path, const AppData& doc)
{
    QString error;
    QVERIFY2(AtomicWrite::write(path, *DataFile::encode(doc), &error), qPrintable(error));
}

QStringList names(const AppData& d)
{
    QStringList out;
    for (const Project& p : d.projects)
        out.append(p.name);
    out.sort();
    return out;
}

void setModified(const QString& path, const QDateTime& when)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
}

QDateTime modified(const QString& path)
{
    return QFileInfo(path).fileTime(QFileDevice::FileModificationTime);
}

const Project* byName(const AppData& d, const QString& name)
{
    for (const Project& p : d.projects) {
        if (p.name == name)
            return &p;
    }
    return nullptr;
}

} // namespace

class TestDiskSync final : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Store> m_store;

    Store& store() { return *m_store; }
    QString toast() const { return m_store->ui().toast() ? m_store->ui().toast()->message : QString(); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<Store>(m_dir->path(), false);
        m_store->setLanguage(AppLanguage::en);
        m_store->update([](AppData& d) {
            d = AppData::empty();
            d.clients = {QStringLiteral("Acme")};
            d.projects = {makeProject("Logo", Status::ongoing, 100, kDay, "Acme"),
                          makeProject("Poster", Status::pending, 200, kDay, "Acme")};
        });
        m_store->flushPendingSave();
        m_store->ui().expireToast();
    }

    void cleanup()
    {
        m_store.reset();
        m_dir.reset();
    }

    // The program's own saves are no outside change; another program's is loaded, by the watcher,
    // within two seconds, each time (the watch survives every rename over the file).
    void outsideChangesAreLoaded()
    {
        store().startWatching();
        store().update([](AppData& d) { d.taxRate = 21; });
        store().flushPendingSave();
        store().ui().expireToast();
        store().checkDisk();
        QVERIFY(!store().ui().toast());
        QSignalSpy changed(&store(), &Store::dataChanged);

        for (int round = 0; round < 3; ++round) {
            AppData other = store().data();
            other.projects.append(
                makeProject(QStringLiteral("From the laptop %1").arg(round), Status::paid, 50, kDay));
            other.projects[0].fee = 1000 + round;
            replaceFromOutside(store().fileURL(), other);
            QTRY_COMPARE_WITH_TIMEOUT(store().data().projects.size(), other.projects.size(), 2000);
            QCOMPARE(store().data(), other);
            QCOMPARE(toast(), QStringLiteral("Reloaded changes from disk"));
            QVERIFY(!store().hasUnsavedChanges());
            store().ui().expireToast();
            // And a change made here after it is saved over it as usual.
            store().setTaxRate(22 + round);
            store().flushPendingSave();
            QCOMPARE(readDocument(store().fileURL()).taxRate, 22.0 + round);
            QCOMPARE(readDocument(store().fileURL()).projects.size(), other.projects.size());
        }
        QVERIFY(changed.count() >= 3);
        // In Turkish.
        store().setLanguage(AppLanguage::tr);
        AppData other = store().data();
        other.targetGoal = 5;
        replaceFromOutside(store().fileURL(), other);
        store().checkDisk();
        QCOMPARE(store().data().targetGoal, 5.0);
        QCOMPARE(toast(), QStringLiteral("Diskteki değişiklikler yüklendi"));
    }

    // Changes on both sides since the last version either saw are merged, never overwritten: each
    // side's new projects and field changes stay; of a field both changed this computer's value is
    // written and the other one kept where the backups list shows it, ready to restore.
    void neverOverwritesWhatItDidNotSee()
    {
        const AppData base = store().data();
        AppData laptop = base;
        laptop.projects.append(makeProject("Laptop only", Status::ongoing, 70, kDay));
        laptop.projects[0].category = QStringLiteral("Branding"); // only there
        laptop.projects[1].fee = 250;                             // both: conflict
        replaceFromOutside(store().fileURL(), laptop);

        store().save(makeProject("Desktop only", Status::paid, 30, kDay, "Acme"));
        Project poster = *byName(store().data(), QStringLiteral("Poster"));
        poster.fee = 300;
        store().save(poster);
        store().flushPendingSave();

        const AppData onDisk = readDocument(store().fileURL());
        QCOMPARE(onDisk, store().data());
        QCOMPARE(names(onDisk), (QStringList{"Desktop only", "Laptop only", "Logo", "Poster"}));
        QCOMPARE(byName(onDisk, QStringLiteral("Logo"))->category, QStringLiteral("Branding"));
        QCOMPARE(byName(onDisk, QStringLiteral("Poster"))->fee, 300.0);
        QVERIFY(!store().hasUnsavedChanges());
        QVERIFY(toast().startsWith(QStringLiteral("Merged changes from disk")));

        const QVector<Backups::Entry> entries = Backups::catalog(store().dataFolder());
        const auto conflict =
            std::find_if(entries.begin(), entries.end(), [](const Backups::Entry& e) { return e.conflict; });
        QVERIFY(conflict != entries.end());
        QVERIFY(store().restoreBackup(conflict->path));
        QCOMPARE(byName(store().data(), QStringLiteral("Poster"))->fee, 250.0);
        QCOMPARE(names(store().data()), names(onDisk)); // only the conflicting field differs
        store().flushPendingSave();
    }

    // An outside version that cannot be read (a sync still under way) is neither loaded nor set
    // aside nor overwritten: the warning comes once, and the next readable version is merged.
    // Quitting while it is still unreadable keeps both: it is set aside, the document written.
    void unreadableOutsideVersionsWait()
    {
        store().startWatching();
        const AppData mine = store().data();
        writeFile(store().fileURL(), "{\"projects\": [ {\"name\": \"half");
        store().checkDisk();
        QCOMPARE(store().data(), mine);
        QVERIFY(toast().startsWith(QStringLiteral("The data file changed on disk and cannot be read yet")));
        store().ui().expireToast();
        store().checkDisk();
        QVERIFY(!store().ui().toast());

        store().save(makeProject("Typed meanwhile", Status::ongoing, 5, kDay));
        store().flushPendingSave();
        QCOMPARE(readFile(store().fileURL()), QByteArray("{\"projects\": [ {\"name\": \"half"));
        QVERIFY(store().hasUnsavedChanges());
        QVERIFY(!toast().startsWith(QStringLiteral("Could not save")));

        AppData arrived = mine;
        arrived.projects.append(makeProject("Arrived", Status::paid, 9, kDay));
        replaceFromOutside(store().fileURL(), arrived);
        QTRY_VERIFY_WITH_TIMEOUT(!store().hasUnsavedChanges(), 2000);
        QCOMPARE(names(readDocument(store().fileURL())),
                 (QStringList{"Arrived", "Logo", "Poster", "Typed meanwhile"}));

        writeFile(store().fileURL(), "not json");
        store().checkDisk();
        store().setTaxRate(3);
        store().saveBeforeQuit();
        QCOMPARE(readDocument(store().fileURL()).taxRate, 3.0);
        QCOMPARE(names(readDocument(store().fileURL())), names(store().data()));
        const QStringList aside =
            QDir(store().dataFolder()).entryList({QStringLiteral("tallybrook-unreadable-*.json")});
        QCOMPARE(aside.size(), 1);
        QCOMPARE(readFile(store().dataFolder() + QLatin1Char('/') + aside.first()), QByteArray("not json"));
    }

    // Two programs on one folder, as on two computers that a sync engine keeps in step: each adds
    // a project and edits another field of the same project; both end with everything.
    void twoWritersOnOneFile()
    {
        Store other(store().dataFolder(), false);
        other.setLanguage(AppLanguage::en);
        const QUuid logo = byName(store().data(), QStringLiteral("Logo"))->id;

        store().save(makeProject("Mine", Status::ongoing, 1, kDay));
        Project a = *byName(store().data(), QStringLiteral("Logo"));
        a.fee = 111;
        store().save(a);
        other.save(makeProject("Theirs", Status::ongoing, 2, kDay));
        Project b = *byName(other.data(), QStringLiteral("Logo"));
        b.name = QStringLiteral("Logo (final)");
        other.save(b);

        store().flushPendingSave();
        other.flushPendingSave();
        store().checkDisk();
        store().flushPendingSave();
        for (const AppData& d : {store().data(), other.data(), readDocument(store().fileURL())}) {
            QCOMPARE(names(d), (QStringList{"Logo (final)", "Mine", "Poster", "Theirs"}));
            const Project* merged = byName(d, QStringLiteral("Logo (final)"));
            QCOMPARE(merged->id, logo);
            QCOMPARE(merged->fee, 111.0);
        }
    }

    // Conflict copies a sync engine leaves beside the file are offered for merging; merged, they
    // move into the backups folder, never deleted.
    void conflictCopiesAreMergedAndKept()
    {
        AppData copy = store().data();
        copy.projects.append(makeProject("Only in the copy", Status::paid, 40, kDay));
        copy.projects[0].fee = 999; // both have it: this computer's value stays
        copy.projects.removeAt(1);  // missing there: kept here
        const QString syncthing =
            store().dataFolder() + QStringLiteral("/tallybrook.sync-conflict-20260105-101530-ABCDEFG.json");
        const QString dropbox =
            store().dataFolder() + QStringLiteral("/tallybrook (Ada's conflicted copy 2026-01-05).json");
        const QString unrelated = store().dataFolder() + QStringLiteral("/tallybrook-notes.json");
        writeFile(syncthing, *DataFile::encode(copy));
        // Older than any version known here, as its name says: no common version to merge against.
        setModified(syncthing, QDateTime(QDate(2026, 1, 5), QTime(10, 15, 30), Qt::UTC));
        AppData second = AppData::empty();
        second.projects = {makeProject("From Dropbox", Status::pending, 60, kDay)};
        writeFile(dropbox, *DataFile::encode(second));
        writeFile(unrelated, "{}");

        store().startWatching();
        QVERIFY(store().ui().toast() && store().ui().toast()->offersMerge);
        QCOMPARE(store().conflictCopies().size(), 2);
        const AppData before = store().data();
        store().mergeConflictCopies();
        QCOMPARE(names(store().data()), (QStringList{"From Dropbox", "Logo", "Only in the copy", "Poster"}));
        QCOMPARE(byName(store().data(), QStringLiteral("Logo"))->fee, before.projects.at(0).fee);
        QCOMPARE(toast(), QStringLiteral("Merged the other computer's copy"));
        QVERIFY(store().conflictCopies().isEmpty());
        QVERIFY(QFile::exists(unrelated));
        const QString backups = Backups::folderFor(store().fileURL());
        QVERIFY(QFile::exists(backups +
                              QStringLiteral("/tallybrook.sync-conflict-20260105-101530-ABCDEFG.json")));
        QVERIFY(
            QFile::exists(backups + QStringLiteral("/tallybrook (Ada's conflicted copy 2026-01-05).json")));
        store().flushPendingSave();
        QCOMPARE(readDocument(store().fileURL()), store().data());
        // Offered once per copy: a rescan does not offer them again.
        store().ui().expireToast();
        store().checkDisk();
        QVERIFY(!store().ui().toast());
    }

    // Sync engines and file systems differ in case; nothing else beside the file counts as a copy.
    void conflictCopiesAreFoundWhateverTheCase()
    {
        const QString folder = store().dataFolder();
        writeFile(folder + QStringLiteral("/TallyBrook.Sync-Conflict-20260105-101530-ABCDEFG.JSON"), "{}");
        writeFile(folder + QStringLiteral("/tallybrook.sync-conflict-20260105-101530-ABCDEFG.json.part"),
                  "{}");
        writeFile(folder + QStringLiteral("/notes (conflicted copy).json"), "{}");
        writeFile(folder + QStringLiteral("/TALLYBROOK.JSON"), "{}");
        QCOMPARE(
            store().conflictCopies(),
            QStringList{folder + QStringLiteral("/TallyBrook.Sync-Conflict-20260105-101530-ABCDEFG.JSON")});
    }

    // Two computers changed the same project at once and the sync engine kept one version, the
    // other as a conflict copy (of the older side, its modification time kept). Merged against
    // the version both started from, each side's edit of another field survives; merged, an
    // identical copy writes nothing that could start another conflict.
    void conflictCopiesMergeWithTheCommonVersion()
    {
        const QString file = store().fileURL();
        const QString copyPath =
            store().dataFolder() + QStringLiteral("/tallybrook.sync-conflict-1-ABCDEFG.json");
        const QDateTime common = modified(file);
        const AppData start = store().data();
        store().startWatching();
        QTest::qWait(20); // the next write gets a later time than the common version

        // This computer's version lost: its own save became the copy, the other's took the file.
        Project logo = *byName(store().data(), QStringLiteral("Logo"));
        logo.fee = 111;
        store().save(logo);
        store().save(makeProject("Mine", Status::ongoing, 1, kDay));
        store().flushPendingSave();
        const QDateTime mineWritten = modified(file);
        QVERIFY(mineWritten > common);
        writeFile(copyPath, readFile(file));
        setModified(copyPath, mineWritten);
        AppData theirs = start;
        theirs.projects[0].name = QStringLiteral("Logo (final)");
        theirs.projects.append(makeProject("Theirs", Status::pending, 2, kDay));
        replaceFromOutside(file, theirs);
        store().checkDisk();
        QCOMPARE(store().data(), theirs);
        // Offered after the news of the reload, so that the offer is the toast still shown.
        QVERIFY(store().ui().toast() && store().ui().toast()->offersMerge);
        store().mergeConflictCopies();
        QCOMPARE(names(store().data()), (QStringList{"Logo (final)", "Mine", "Poster", "Theirs"}));
        QCOMPARE(byName(store().data(), QStringLiteral("Logo (final)"))->fee, 111.0);
        store().flushPendingSave();
        QCOMPARE(readDocument(file), store().data());

        // The other computer's version lost: its copy arrives beside this computer's file.
        const AppData merged = store().data();
        const QDateTime mergedWritten = modified(file);
        QTest::qWait(20);
        Project poster = *byName(store().data(), QStringLiteral("Poster"));
        poster.fee = 300;
        store().save(poster);
        store().flushPendingSave();
        AppData other = merged;
        for (Project& p : other.projects) {
            if (p.name == QLatin1String("Poster"))
                p.name = QStringLiteral("Poster (print)");
        }
        writeFile(copyPath, *DataFile::encode(other));
        setModified(copyPath, mergedWritten.addMSecs(1));
        QVERIFY(modified(copyPath) < modified(file));
        store().checkDisk();
        QVERIFY(store().ui().toast() && store().ui().toast()->offersMerge);
        store().mergeConflictCopies();
        QCOMPARE(byName(store().data(), QStringLiteral("Poster (print)"))->fee, 300.0);
        QCOMPARE(names(store().data()), (QStringList{"Logo (final)", "Mine", "Poster (print)", "Theirs"}));
        // Nothing either side changed differently: no conflict was kept in Backups.
        for (const Backups::Entry& entry : Backups::catalog(store().dataFolder()))
            QVERIFY2(!entry.conflict, qPrintable(entry.path));
        store().flushPendingSave();

        // Both computers merged the same copy and wrote the same document: that version coming
        // back as yet another copy changes nothing and is not written again.
        const FileStamp before = FileStamp::of(file);
        writeFile(copyPath, readFile(file));
        store().checkDisk();
        store().mergeConflictCopies();
        QVERIFY(store().conflictCopies().isEmpty());
        QVERIFY(!store().hasPendingSave());
        QVERIFY(!store().hasUnsavedChanges());
        store().flushPendingSave();
        QVERIFY(FileStamp::of(file) == before);
    }
};

TB_TEST_MAIN(TestDiskSync)
#include "tst_disk_sync.moc"
