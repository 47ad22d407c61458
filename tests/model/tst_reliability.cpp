#include "TestMain.h"

#include "SmallDisk.h"

#include "StoreTestUtil.h"
#include "model/Backups.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

using namespace StoreTestUtil;

namespace {

const QString kSetAside =
    QStringLiteral("Saved data could not be read. It was set aside and a fresh file started.");

// A document every save of the stress probe writes: each fee equals the tax rate.
bool isOneWholeGeneration(const QByteArray& bytes, int projects)
{
    const auto d = DataFile::decode(bytes);
    if (!d || d->projects.size() != projects)
        return false;
    for (const Project& p : d->projects) {
        if (p.fee != d->taxRate)
            return false;
    }
    return true;
}

} // namespace

class TestReliability final : public QObject
{
    Q_OBJECT

private slots:
    void killedWhileSavingLeavesOldOrNewDocument()
    {
        const int runs = qEnvironmentVariableIntValue("TALLYBROOK_KILL_RUNS") > 0
                             ? qEnvironmentVariableIntValue("TALLYBROOK_KILL_RUNS")
                             : 100;
        const int projects = 5000;
        QTemporaryDir dir;
        const QString file = dir.path() + QStringLiteral("/tallybrook.json");
        {
            AppData start;
            for (int i = 0; i < projects; ++i) {
                Project p;
                p.id = QUuid::createUuid();
                p.name = QStringLiteral("Seed %1").arg(i);
                p.date = QDateTime(QDate(2024, 1, 15), QTime(12, 0), Qt::LocalTime);
                p.fee = start.taxRate;
                start.projects.append(p);
            }
            writeFile(file, *DataFile::encode(start));
        }
        QRandomGenerator rng(20261207);
        int changedBetweenKills = 0;
        int leftovers = 0;
        QByteArray previous;
        // How long one save takes here; a sanitizer build saves many times slower.
        qint64 saveMicros = 50000;
        for (int i = 0; i < runs; ++i) {
            QProcess probe;
            probe.start(QStringLiteral(TB_STOREPROBE),
                        {QStringLiteral("stress"), dir.path(), QString::number(projects)});
            QVERIFY(probe.waitForStarted());
            // Let a random number of saves land, then kill at a random moment of the next one
            // (or before the first), so that the kills fall among saves at any speed.
            const int savesFirst = int(rng.bounded(0u, 4u));
            int saved = 0;
            bool ready = false;
            QElapsedTimer sinceLastSave;
            while (!ready || saved < savesFirst) {
                QVERIFY(probe.canReadLine() || probe.waitForReadyRead(20000));
                while (probe.canReadLine()) {
                    const QByteArray line = probe.readLine();
                    if (line.startsWith("ready")) {
                        ready = true;
                        sinceLastSave.start();
                    } else if (line.startsWith("saved")) {
                        ++saved;
                        if (saved > 1)
                            saveMicros = (saveMicros + sinceLastSave.nsecsElapsed() / 1000) / 2;
                        sinceLastSave.start();
                    }
                }
            }
            QThread::usleep(rng.bounded(quint64(1), quint64(saveMicros) + 1000));
            ::kill(pid_t(probe.processId()), SIGKILL);
            QVERIFY(probe.waitForFinished(10000));
            QCOMPARE(probe.exitStatus(), QProcess::CrashExit);

            const QByteArray bytes = readFile(file);
            QVERIFY2(isOneWholeGeneration(bytes, projects), qPrintable(QStringLiteral("run %1").arg(i)));
            if (bytes != previous)
                ++changedBetweenKills;
            previous = bytes;
            // Nothing but the data file and its backups: no temporary file for the next start to
            // stumble on. Killed between writing and renaming, the writer may leave its temporary
            // ".tallybrook.json.saving-XXXXXX" beside the file (or a backup's in the backups
            // folder); nothing else may be there.
            const QStringList left =
                QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
            for (const QString& name : left) {
                QVERIFY2(
                    name == QLatin1String("tallybrook.json") || name == QLatin1String("backups") ||
                        QRegularExpression(QStringLiteral("^\\.tallybrook\\.json\\.saving-[A-Za-z0-9]{6}$"))
                            .match(name)
                            .hasMatch(),
                    qPrintable(left.join(QLatin1String(", "))));
            }
            const QStringList backups = QDir(dir.path() + QStringLiteral("/backups"))
                                            .entryList(QDir::Files | QDir::Hidden | QDir::System);
            for (const QString& name : backups) {
                QVERIFY2(QRegularExpression(
                             QStringLiteral(
                                 "^\\.?tallybrook-\\d{8}-\\d{6}(-\\d+)?\\.json(\\.saving-[A-Za-z0-9]{6})?$"))
                             .match(name)
                             .hasMatch(),
                         qPrintable(name));
            }
            leftovers += int(left.size()) - (left.contains(QStringLiteral("backups")) ? 2 : 1);
        }
        // The kills really did land among saves, not only before the first one.
        QVERIFY(changedBetweenKills > runs / 4);
        // The next start is not misled by a leftover and clears it away.
        Store store(dir.path(), false);
        QVERIFY(!store.ui().toast());
        QCOMPARE(store.data().projects.size(), projects);
        // Every leftover of this program's is gone, whatever its random letters, also among the
        // backups; the backups themselves stay.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"backups", "tallybrook.json"}));
        const QStringList backups = QDir(dir.path() + QStringLiteral("/backups"))
                                        .entryList(QDir::Files | QDir::Hidden | QDir::System);
        QVERIFY(!backups.isEmpty());
        for (const QString& name : backups)
            QVERIFY2(Backups::timeOfName(name), qPrintable(name));
        qInfo("%d kills, %d changed the file, %d left a temporary file behind", runs, changedBetweenKills,
              leftovers);
    }

    void startClearsLeftoverTemporaries()
    {
        QTemporaryDir dir;
        writeFile(dir.path() + QStringLiteral("/tallybrook.json"), *DataFile::encode(AppData::sample()));
        writeFile(dir.path() + QStringLiteral("/tallybrook.json.aB3xZ9"), "{\"half\":");
        writeFile(dir.path() + QStringLiteral("/tallybrook.json.keep"), "mine");
        writeFile(dir.path() + QStringLiteral("/tallybrook.json.backup1"), "mine too");
        writeFile(dir.path() + QStringLiteral("/tallybrook.json.backup"), "a copy of my own");
        // Today's temporaries, all letters or all digits alike, and a note that only looks like one.
        writeFile(dir.path() + QStringLiteral("/.tallybrook.json.saving-abcdef"), "{");
        writeFile(dir.path() + QStringLiteral("/.tallybrook.json.saving-123456"), "{");
        writeFile(dir.path() + QStringLiteral("/.tallybrook.json.saving-notes.txt"), "mine");
        Store store(dir.path(), false);
        QVERIFY(!store.ui().toast());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{".tallybrook.json.saving-notes.txt", "tallybrook.json",
                              "tallybrook.json.backup", "tallybrook.json.backup1", "tallybrook.json.keep"}));
        // A preview store touches nothing.
        writeFile(dir.path() + QStringLiteral("/tallybrook.json.aB3xZ9"), "{");
        Store preview(dir.path(), true);
        QVERIFY(QFile::exists(dir.path() + QStringLiteral("/tallybrook.json.aB3xZ9")));
    }

    void fullDisk()
    {
        if (::geteuid() != 0)
            QSKIP("mounting a small file system needs root");
        QTemporaryDir dir;
        const QString mountPoint = dir.path() + QStringLiteral("/mnt");
        const SmallDisk disk(mountPoint, QStringLiteral("512k"));
        if (!disk.mounted())
            QSKIP("cannot mount tmpfs here");
        const QString folder = mountPoint + QStringLiteral("/Tallybrook");
        Store store(folder, false);
        const QString file = store.fileURL();
        const AppData first = readDocument(file);
        QCOMPARE(first.projects.size(), 37);

        // Fill the disk to the last byte.
        const QString filler = mountPoint + QStringLiteral("/filler");
        {
            QFile f(filler);
            QVERIFY(f.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'x');
            while (f.write(block) == block.size() && f.flush()) {
            }
        }
        // A small change: the system's reason, not an unknown error.
        store.addCategory(QStringLiteral("Small"));
        store.flushPendingSave();
        QCOMPARE(store.ui().toast()->message, QStringLiteral("Could not save: No space left on device"));
        QCOMPARE(readDocument(file), first);
        store.removeCategory(QStringLiteral("Small"));
        store.update([](AppData& d) {
            for (int i = 0; i < 2000; ++i)
                d.clients.append(QStringLiteral("Client number %1").arg(i));
        });
        store.flushPendingSave();
        QVERIFY(store.ui().toast());
        QVERIFY2(store.ui().toast()->message.startsWith(QStringLiteral("Could not save: ")),
                 qPrintable(store.ui().toast()->message));
        QCOMPARE(readDocument(file), first);              // the old document is whole
        QCOMPARE(store.data().clients.size(), 19 + 2000); // nothing lost in memory
        QVERIFY(store.hasUnsavedChanges());

        QVERIFY(QFile::remove(filler));
        store.addCategory(QStringLiteral("After space was freed"));
        store.flushPendingSave();
        const AppData written = readDocument(file);
        QCOMPARE(written.clients.size(), 19 + 2000);
        QVERIFY(written.categories.contains(QStringLiteral("After space was freed")));

        // The same at quit: a failed save is retried.
        {
            QFile f(filler);
            QVERIFY(f.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'x');
            while (f.write(block) == block.size() && f.flush()) {
            }
        }
        store.addClient(QStringLiteral("Written at quit"));
        store.flushPendingSave();
        QVERIFY(store.ui().toast()->message.startsWith(QStringLiteral("Could not save: ")));
        QVERIFY(QFile::remove(filler));
        store.saveBeforeQuit();
        QVERIFY(readDocument(file).clients.contains(QStringLiteral("Written at quit")));
    }

    void unprivilegedUser()
    {
        if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
            QSKIP("needs root and setpriv to act as another user");
        QTemporaryDir dir;
        const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                          QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                          QFileDevice::ExeOther;
        QFile::setPermissions(dir.path(), open);
        const auto asNobody = [&](const QString& folder) {
            QProcess p;
            p.start(QStringLiteral("setpriv"), {"--reuid=65534", "--regid=65534", "--clear-groups",
                                                QStringLiteral(TB_STOREPROBE), "save", folder});
            p.waitForFinished(30000);
            return QString::fromUtf8(p.readAllStandardOutput());
        };

        // A readable document in a folder this user cannot write.
        const QString readOnly = dir.path() + QStringLiteral("/readonly");
        QDir().mkpath(readOnly);
        QFile::setPermissions(readOnly, open);
        writeFile(readOnly + QStringLiteral("/tallybrook.json"), *DataFile::encode(AppData::sample()));
        const QByteArray before = readFile(readOnly + QStringLiteral("/tallybrook.json"));
        QString out = asNobody(readOnly);
        QVERIFY2(out.contains(QStringLiteral("toast=Could not save: ")), qPrintable(out));
        QVERIFY(out.contains(QStringLiteral("inMemory=1")));
        QCOMPARE(readFile(readOnly + QStringLiteral("/tallybrook.json")), before);

        // An unreadable document that cannot be set aside: saving stays blocked, file untouched.
        const QString stuck = dir.path() + QStringLiteral("/stuck");
        QDir().mkpath(stuck);
        QFile::setPermissions(stuck, open);
        writeFile(stuck + QStringLiteral("/tallybrook.json"), "{broken");
        out = asNobody(stuck);
        QVERIFY2(out.contains(QStringLiteral("blocked=1")), qPrintable(out));
        QVERIFY(out.contains(QStringLiteral("Changes will not be saved this session.")));
        QVERIFY(out.contains(QStringLiteral("inMemory=1")));
        QCOMPARE(readFile(stuck + QStringLiteral("/tallybrook.json")), QByteArray("{broken"));
        QCOMPARE(QDir(stuck).entryList(QDir::Files), QStringList{"tallybrook.json"});
    }

    void vanishedFolderIsMadeAgainAndPrivate()
    {
        QTemporaryDir dir;
        const QString deep = dir.path() + QStringLiteral("/deep");
        const QString folder = deep + QStringLiteral("/Tallybrook");
        Store store(folder, false); // a first start writes the sample studio
        const auto mode = [](const QString& path) {
            struct stat st;
            return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
        };
        QCOMPARE(mode(deep), 0700);
        QCOMPARE(mode(folder), 0700);
        QCOMPARE(mode(store.fileURL()), 0600);

        // The folder deleted under the running program: the next save makes it again, whole.
        QVERIFY(QDir(deep).removeRecursively());
        store.addClient(QStringLiteral("After the folder went"));
        store.flushPendingSave();
        QVERIFY(!store.ui().toast() ||
                !store.ui().toast()->message.startsWith(QStringLiteral("Could not save")));
        QCOMPARE(readDocument(store.fileURL()), store.data());
        QCOMPARE(mode(folder), 0700);
        // And so does the save at quit.
        QVERIFY(QDir(deep).removeRecursively());
        store.addClient(QStringLiteral("At quit"));
        store.saveBeforeQuit();
        QCOMPARE(readDocument(store.fileURL()), store.data());

        // A file of the usual 0644 is made private at its next save; a mode chosen on purpose stays.
        QFile::setPermissions(store.fileURL(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ReadGroup | QFileDevice::ReadOther);
        QCOMPARE(mode(store.fileURL()), 0644);
        store.addClient(QStringLiteral("Private"));
        store.flushPendingSave();
        QCOMPARE(mode(store.fileURL()), 0600);
        QVERIFY(::chmod(QFile::encodeName(store.fileURL()).constData(), 0640) == 0);
        store.addClient(QStringLiteral("Shared with my group"));
        store.flushPendingSave();
        QCOMPARE(mode(store.fileURL()), 0640);

        // A set-aside file is private too.
        QTemporaryDir other;
        writeFile(other.path() + QStringLiteral("/tallybrook.json"), "{broken");
        QVERIFY(::chmod(QFile::encodeName(other.path() + QStringLiteral("/tallybrook.json")).constData(),
                        0644) == 0);
        Store fresh(other.path(), false);
        const QStringList aside = QDir(other.path()).entryList({"tallybrook-unreadable-*.json"}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QCOMPARE(mode(other.path() + QLatin1Char('/') + aside.first()), 0600);
    }

    void specialFilesAreNeitherReadNorMoved()
    {
        const QString notRegular = QStringLiteral("The data file is not a regular file. It was left as it "
                                                  "is; changes will not be saved this session.");
        QTemporaryDir dir;
        const QString file = dir.path() + QStringLiteral("/tallybrook.json");
        const auto startsBlocked = [&](const QString& message) {
            QElapsedTimer clock;
            clock.start();
            Store store(dir.path(), false);
            QVERIFY2(clock.elapsed() < 5000, "the start waited on the file");
            QCOMPARE(store.ui().toast()->message, message);
            QVERIFY(store.savingBlocked());
            QCOMPARE(store.data(), AppData::empty());
            store.addClient(QStringLiteral("Not written"));
            store.saveBeforeQuit();
        };
        // A FIFO would block a reading start for good.
        QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
        startsBlocked(notRegular);
        struct stat st;
        QVERIFY(::lstat(QFile::encodeName(file).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
        QVERIFY(QFile::remove(file));
        // A link to an endless device would be read until memory runs out.
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), file));
        startsBlocked(notRegular);
        QCOMPARE(QFileInfo(file).symLinkTarget(), QStringLiteral("/dev/zero"));
        QVERIFY(QFile::remove(file));
        // A file past the limit (sparse: it takes no room) is not read either.
        {
            QFile big(file);
            QVERIFY(big.open(QIODevice::WriteOnly));
            QVERIFY(big.resize(Store::kMaxDataFileBytes + 1));
        }
        startsBlocked(QStringLiteral("The data file is larger than 256 MB. It was left as it is; changes "
                                     "will not be saved this session."));
        QCOMPARE(QFileInfo(file).size(), Store::kMaxDataFileBytes + 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{"tallybrook.json"});
    }

    void dataFileIsAFolderOrALink()
    {
        // A folder where the file should be: not read, not moved, nothing written over it.
        QTemporaryDir dir;
        const QString file = dir.path() + QStringLiteral("/tallybrook.json");
        QDir().mkpath(file + QStringLiteral("/inner"));
        {
            Store store(dir.path(), false);
            QCOMPARE(store.ui().toast()->message,
                     QStringLiteral("The data file is not a regular file. It was left as "
                                    "it is; changes will not be saved this session."));
            QVERIFY(store.savingBlocked());
            QCOMPARE(store.data(), AppData::empty());
            store.addClient(QStringLiteral("Fresh"));
            store.flushPendingSave();
        }
        QVERIFY(QDir(file + QStringLiteral("/inner")).exists());
        QVERIFY(QDir(dir.path()).entryList({"tallybrook-unreadable-*"}, QDir::Dirs | QDir::Files).isEmpty());

        // A link to a file elsewhere: the target is read and updated in place; the link stays.
        QTemporaryDir other;
        const QString target = other.path() + QStringLiteral("/synced.json");
        writeFile(target, *DataFile::encode(AppData::empty()));
        QTemporaryDir linked;
        const QString link = linked.path() + QStringLiteral("/tallybrook.json");
        QVERIFY(QFile::link(target, link));
        Store store(linked.path(), false);
        QVERIFY(!store.ui().toast());
        store.addClient(QStringLiteral("Through the link"));
        store.flushPendingSave();
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readDocument(target).clients, QStringList{"Through the link"});
        QCOMPARE(QDir(other.path()).entryList(QDir::Files), QStringList{"synced.json"});
    }

    void hostileDocuments_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("readable");
        const QByteArray p = R"({"name":"x","fee":1})";
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("truncated") << QByteArray(R"({"projects":[{"name":"x","fee")") << false;
        QTest::newRow("NUL bytes") << QByteArray("{\0\0}", 4) << false;
        QTest::newRow("deep nesting") << QByteArray(200000, '[') << false;
        QTest::newRow("deep nesting in an ignored key")
            << QByteArray(R"({"extra":)" + QByteArray(1000, '[') + QByteArray(1000, ']') + "}") << true;
        QTest::newRow("too deep in an ignored key")
            << QByteArray(R"({"extra":)" + QByteArray(5000, '[') + QByteArray(5000, ']') + "}") << false;
        QTest::newRow("invalid UTF-8") << QByteArray("{\"currency\":\"\xC3\x28\"}") << false;
        QTest::newRow("overlong UTF-8") << QByteArray("{\"currency\":\"\xC0\xAF\"}") << false;
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF{\"currency\":\"\xE2\x82\xAC\"}") << true;
        QTest::newRow("number out of range")
            << QByteArray(R"({"projects":[{"name":"x","fee":1e400}]})") << false;
        QTest::newRow("huge but finite") << QByteArray(R"({"taxRate":1e308,"projects":[)" + p + "]}") << true;
        QTest::newRow("trailing garbage") << QByteArray("{} x") << false;
        QTest::newRow("two documents") << QByteArray("{}{}") << false;
    }
    void hostileDocuments()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readable);
        QTemporaryDir dir;
        const QString file = dir.path() + QStringLiteral("/tallybrook.json");
        writeFile(file, bytes);
        QElapsedTimer clock;
        clock.start();
        const Load l = Store::load(file, dir.path());
        QVERIFY(clock.elapsed() < 10000);
        QCOMPARE(l.message.isEmpty(), readable);
        if (!readable) {
            QCOMPARE(l.message, kSetAside);
            QCOMPARE(l.data, AppData::empty());
            QCOMPARE(QDir(dir.path()).entryList({"tallybrook-unreadable-*.json"}).size(), 1);
        } else {
            // Whatever loaded can be written again.
            QVERIFY(DataFile::encode(l.data));
        }
    }

    void duplicateKeysKeepTheLast()
    {
        const auto d = DataFile::decode(
            R"({"currency":"€","currency":"£","projects":[{"name":"a","name":"b","fee":1}]})");
        QVERIFY(d);
        QCOMPARE(d->currency, QStringLiteral("£"));
        QCOMPARE(d->projects.first().name, QStringLiteral("b"));
    }

    void largeDocuments()
    {
        // About 50 MB, and thousands of clients spelled in several ways.
        AppData d;
        for (int i = 0; i < 5000; ++i) {
            d.clients.append(QStringLiteral("Client %1").arg(i));
            d.clients.append(QStringLiteral("CLIENT %1").arg(i));
        }
        d.projects.reserve(160000);
        for (int i = 0; i < 160000; ++i) {
            Project p;
            p.id = QUuid::createUuid();
            p.name = QStringLiteral("A project with a fairly long descriptive name %1").arg(i);
            p.client = QStringLiteral("CLIENT %1").arg(i % 5000);
            p.category = QStringLiteral("Category %1").arg(i % 40);
            p.fee = i;
            p.date = QDateTime(QDate(2000 + i % 25, 1 + i % 12, 1 + i % 28), QTime(12, 0), Qt::LocalTime);
            d.projects.append(p);
        }
        QTemporaryDir dir;
        const QString file = dir.path() + QStringLiteral("/tallybrook.json");
        writeFile(file, *DataFile::encode(d));
        QVERIFY(QFileInfo(file).size() > 50'000'000);
        QElapsedTimer clock;
        clock.start();
        Store store(dir.path(), false);
        QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!store.ui().toast());
        QCOMPARE(store.data().projects.size(), 160000);
        QCOMPARE(store.data().clients.size(), 5000);
        QCOMPARE(store.data().clients.first(), QStringLiteral("Client 0"));
        QCOMPARE(store.data().projects.first().client, QStringLiteral("Client 0"));
    }
};

TB_TEST_MAIN(TestReliability)
#include "tst_reliability.moc"
