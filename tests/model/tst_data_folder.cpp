#include "TestMain.h"

#include "SmallDisk.h"
#include "StoreTestUtil.h"
#include "model/Backups.h"
#include "model/Preferences.h"

#include <QProcess>
#include <QSettings>
#include <unistd.h>

using namespace StoreTestUtil;

namespace {

QStringList backupNames(const QString& dataFile)
{
    QStringList out;
    for (const QString& name : QDir(Backups::folderFor(dataFile)).entryList(QDir::Files))
        if (Backups::timeOfName(name))
            out.append(name);
    return out;
}

QString toast(const Store& store)
{
    return store.ui().toast() ? store.ui().toast()->message : QString();
}

QString preference()
{
    return Preferences::text(Preferences::kDataFolder).value_or(QString());
}

// A document with a project of its own, so that two documents are told apart.
AppData documentNamed(const QString& name)
{
    AppData d = AppData::empty();
    d.clients = {QStringLiteral("Client")};
    d.categories = {QStringLiteral("Logo")};
    d.projects = {makeProject(name, Status::paid, 1200, QDate(2026, 3, 4), QStringLiteral("Client"),
                              QStringLiteral("Logo"))};
    return d;
}

} // namespace

class TestDataFolder final : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings(QStringLiteral("Tallybrook"), QStringLiteral("Tallybrook")).clear(); }

    // The document is copied, read back and only then used: saves and backups go to the new
    // folder, the old file stays as it was, and the preference names the new folder.
    void copyVerifyAndSwitch()
    {
        QTemporaryDir dir;
        const QString oldFolder = dir.path() + QStringLiteral("/old");
        const QString newFolder = dir.path() + QStringLiteral("/sync/new");
        Store store(oldFolder, false);
        store.setBackupClock([] { return QDateTime(QDate(2026, 5, 1), QTime(9, 0), Qt::LocalTime); });
        store.update([](AppData& d) { d = documentNamed(QStringLiteral("Before")); });
        // A change still waiting for its save goes to the old file first.
        store.update([](AppData& d) { d.projects[0].fee = 1500; });
        QVERIFY(store.hasPendingSave());
        QSignalSpy switched(&store, &Store::dataFolderChanged);

        const Store::FolderResult r = store.changeDataFolder(newFolder);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(switched.count(), 1);
        QCOMPARE(store.fileURL(), newFolder + QStringLiteral("/tallybrook.json"));
        QCOMPARE(store.dataFolder(), newFolder);
        QCOMPARE(preference(), newFolder);
        QCOMPARE(readDocument(store.fileURL()), store.data());
        QCOMPARE(readDocument(oldFolder + QStringLiteral("/tallybrook.json")).projects.value(0).fee, 1500.0);
        QVERIFY(!store.hasUnsavedChanges());
        QCOMPARE(QFileInfo(newFolder).permissions() & (QFile::ReadOther | QFile::ReadGroup),
                 QFile::Permissions());
        QVERIFY(toast(store).contains(newFolder));

        // The next change lands in the new folder, with the file as it was copied kept in the
        // new folder's backups; the old file is left alone.
        const QByteArray oldBytes = readFile(oldFolder + QStringLiteral("/tallybrook.json"));
        const QStringList oldBackups = backupNames(oldFolder + QStringLiteral("/tallybrook.json"));
        store.setBackupClock([] { return QDateTime(QDate(2026, 5, 1), QTime(10, 0), Qt::LocalTime); });
        store.update([](AppData& d) { d.projects[0].name = QStringLiteral("After"); });
        store.flushPendingSave();
        QCOMPARE(readDocument(store.fileURL()).projects.value(0).name, QStringLiteral("After"));
        QCOMPARE(readFile(oldFolder + QStringLiteral("/tallybrook.json")), oldBytes);
        QCOMPARE(backupNames(oldFolder + QStringLiteral("/tallybrook.json")), oldBackups);
        const QStringList newBackups = backupNames(store.fileURL());
        QCOMPARE(newBackups.size(), 1);
        QCOMPARE(readDocument(Backups::folderFor(store.fileURL()) + QLatin1Char('/') + newBackups.first())
                     .projects.value(0)
                     .name,
                 QStringLiteral("Before"));

        // Choosing the folder in use changes nothing; choosing the default clears the preference.
        QVERIFY(store.changeDataFolder(newFolder + QStringLiteral("/.")).ok);
        QCOMPARE(switched.count(), 1);
        QVERIFY(store.changeDataFolder(Store::defaultDataFolder(), Store::FolderChoice::replace).ok);
        QCOMPARE(preference(), QString());
        QCOMPARE(store.dataFolder(), Store::defaultDataFolder());
    }

    // A folder with a data file: nothing is done without a choice; "use" loads it as a start
    // would (repairs written back), "replace" backs it up there first; an unreadable one is
    // refused and nothing changes.
    void folderWithAFile()
    {
        QTemporaryDir dir;
        const QString here = dir.path() + QStringLiteral("/here");
        const QString there = dir.path() + QStringLiteral("/there");
        const QString thereFile = there + QStringLiteral("/tallybrook.json");
        QVERIFY(QDir().mkpath(there));
        AppData theirs = documentNamed(QStringLiteral("Theirs"));
        // Two spellings of one client: a start merges them and writes the repair back.
        theirs.clients << QStringLiteral("CLIENT");
        writeFile(thereFile, *DataFile::encode(theirs));
        const QByteArray theirBytes = readFile(thereFile);

        Store store(here, false);
        store.update([](AppData& d) { d = documentNamed(QStringLiteral("Ours")); });
        store.flushPendingSave();
        const AppData ours = store.data();

        Store::FolderResult r = store.changeDataFolder(there);
        QVERIFY(!r.ok);
        QVERIFY(r.error.contains(QStringLiteral("already holds")));
        QCOMPARE(store.dataFolder(), here);
        QCOMPARE(readFile(thereFile), theirBytes);
        QCOMPARE(preference(), QString());

        // Unreadable: refused, with the reason, and nothing moved or changed.
        writeFile(thereFile, "{ \"projects\": [");
        r = store.changeDataFolder(there, Store::FolderChoice::useExisting);
        QVERIFY(!r.ok);
        QVERIFY2(toast(store).startsWith(QStringLiteral("Could not use this folder: ")),
                 qPrintable(toast(store)));
        QCOMPARE(store.data(), ours);
        QCOMPARE(store.dataFolder(), here);
        QCOMPARE(readFile(thereFile), QByteArray("{ \"projects\": ["));
        QCOMPARE(QDir(there).entryList(QDir::Files), QStringList{QStringLiteral("tallybrook.json")});

        writeFile(thereFile, theirBytes);
        r = store.changeDataFolder(there, Store::FolderChoice::useExisting);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(store.data().projects.value(0).name, QStringLiteral("Theirs"));
        QCOMPARE(store.data().clients, QStringList{QStringLiteral("Client")});
        QVERIFY(!store.lastDeleted());
        QVERIFY(store.hasPendingSave());
        store.flushPendingSave();
        QCOMPARE(readDocument(thereFile).clients, QStringList{QStringLiteral("Client")});
        QCOMPARE(readDocument(here + QStringLiteral("/tallybrook.json")), ours);

        // Back, replacing the file here: what was here is in here's backups first.
        const QByteArray hereBytes = readFile(here + QStringLiteral("/tallybrook.json"));
        const QStringList before = backupNames(here + QStringLiteral("/tallybrook.json"));
        r = store.changeDataFolder(here, Store::FolderChoice::replace);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(store.dataFolder(), here);
        QCOMPARE(store.data().projects.value(0).name, QStringLiteral("Theirs"));
        QCOMPARE(readDocument(here + QStringLiteral("/tallybrook.json")), store.data());
        QStringList made = backupNames(here + QStringLiteral("/tallybrook.json"));
        for (const QString& name : before)
            made.removeOne(name);
        QCOMPARE(made.size(), 1);
        QCOMPARE(readFile(Backups::folderFor(here + QStringLiteral("/tallybrook.json")) + QLatin1Char('/') +
                          made.first()),
                 hereBytes);
    }

    // A folder that cannot be made or written: nothing switches, the document stays where it
    // was and keeps being saved there, and a toast says why (in Turkish too).
    void unusableFolders()
    {
        QTemporaryDir dir;
        const QString here = dir.path() + QStringLiteral("/here");
        writeFile(dir.path() + QStringLiteral("/afile"), "not a folder");
        Store store(here, false);
        store.update([](AppData& d) { d = documentNamed(QStringLiteral("Ours")); });
        QSignalSpy switched(&store, &Store::dataFolderChanged);

        Store::FolderResult r = store.changeDataFolder(dir.path() + QStringLiteral("/afile/sub"));
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(QStringLiteral("afile/sub")), qPrintable(r.error));
        QCOMPARE(toast(store), QStringLiteral("Could not use this folder: ") + r.error);
        r = store.changeDataFolder(dir.path() + QStringLiteral("/afile"));
        QVERIFY(!r.ok);
        QVERIFY(r.error.contains(QStringLiteral("is not a folder")));
        store.setLanguage(AppLanguage::tr);
        QVERIFY(!store.changeDataFolder(QString()).ok);
        QCOMPARE(toast(store), QStringLiteral("Bu klasör kullanılamadı: klasör seçilmedi."));
        store.setLanguage(AppLanguage::en);

        QCOMPARE(switched.count(), 0);
        QCOMPARE(store.dataFolder(), here);
        QCOMPARE(preference(), QString());
        store.update([](AppData& d) { d.projects[0].name = QStringLiteral("Later"); });
        store.flushPendingSave();
        QCOMPARE(readDocument(here + QStringLiteral("/tallybrook.json")).projects.value(0).name,
                 QStringLiteral("Later"));

        // A full disk takes the probe but not the copy: refused with the system's reason, and
        // no half-written file is left there.
        if (::geteuid() != 0)
            QSKIP("mounting a small file system needs root");
        const QString mountPoint = dir.path() + QStringLiteral("/mnt");
        QVERIFY(QDir().mkpath(mountPoint));
        const SmallDisk disk(mountPoint, QStringLiteral("64k"));
        if (!disk.mounted())
            QSKIP("cannot mount tmpfs here");
        store.update([](AppData& d) { d.projects[0].name = QString(200 * 1024, QLatin1Char('n')); });
        store.flushPendingSave();
        r = store.changeDataFolder(mountPoint);
        QVERIFY(!r.ok);
        QCOMPARE(r.error, QStringLiteral("No space left on device"));
        QCOMPARE(store.dataFolder(), here);
        QCOMPARE(QDir(mountPoint).entryList(QDir::Files | QDir::Hidden), QStringList());
        // Replacing a file there: the failed copy leaves that file as it was.
        writeFile(mountPoint + QStringLiteral("/tallybrook.json"),
                  *DataFile::encode(documentNamed(QStringLiteral("Small"))));
        const QByteArray small = readFile(mountPoint + QStringLiteral("/tallybrook.json"));
        QVERIFY(!store.changeDataFolder(mountPoint, Store::FolderChoice::replace).ok);
        QCOMPARE(readFile(mountPoint + QStringLiteral("/tallybrook.json")), small);
        QCOMPARE(store.dataFolder(), here);
    }

    // The start uses the preferred folder; one that is gone or cannot be written gives the
    // default for this session, says so, and keeps the preference for the next start.
    void startInThePreferredFolder()
    {
        QTemporaryDir dir;
        const QString chosen = dir.path() + QStringLiteral("/chosen");
        QVERIFY(QDir().mkpath(chosen));
        writeFile(chosen + QStringLiteral("/tallybrook.json"),
                  *DataFile::encode(documentNamed(QStringLiteral("Chosen"))));
        Preferences::setText(Preferences::kDataFolder, chosen);
        {
            Store store;
            QCOMPARE(store.dataFolder(), chosen);
            QCOMPARE(store.data().projects.value(0).name, QStringLiteral("Chosen"));
            QCOMPARE(toast(store), QString());
        }
        for (const QString& gone :
             {dir.path() + QStringLiteral("/gone"), chosen + QStringLiteral("/tallybrook.json"),
              QStringLiteral("relative")}) {
            Preferences::setText(Preferences::kDataFolder, gone);
            Preferences::setText(Preferences::kLanguage, QStringLiteral("tr"));
            Store store;
            QCOMPARE(store.dataFolder(), Store::defaultDataFolder());
            QVERIFY2(toast(store).startsWith(QStringLiteral("Veri klasörünüz kullanılamıyor (")),
                     qPrintable(toast(store)));
            QVERIFY(toast(store).contains(Store::defaultDataFolder()));
            QCOMPARE(preference(), gone);
            QVERIFY(!QFileInfo::exists(dir.path() + QStringLiteral("/gone")));
        }
    }
};

TB_TEST_MAIN(TestDataFolder)
#include "tst_data_folder.moc"
