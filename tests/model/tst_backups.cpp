#include "TestMain.h"

#include "SmallDisk.h"

#include "model/BackupTexts.h"
#include "model/Backups.h"
#include "model/DataFile.h"
#include "model/DocumentDiff.h"
#include "model/Store.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QStringList backupNames(const QString& folder)
{
    QStringList out;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        if (Backups::timeOfName(name))
            out.append(name);
    return out;
}

// A tmpfs is quicker than the disk for the thousands of synced writes of the long run.
QString scratchParent()
{
    return QDir(QStringLiteral("/dev/shm")).exists()
               ? QStringLiteral("/dev/shm/tb-backups-XXXXXX")
               : QDir::tempPath() + QStringLiteral("/tb-backups-XXXXXX");
}

} // namespace

class TestBackups final : public QObject
{
    Q_OBJECT

private slots:
    void namesAreReadBackAndStrangersIgnored()
    {
        const QDateTime t(QDate(2026, 3, 9), QTime(7, 5, 3), Qt::LocalTime);
        QCOMPARE(Backups::fileName(t), QStringLiteral("tallybrook-20260309-070503.json"));
        QCOMPARE(Backups::fileName(t, 3), QStringLiteral("tallybrook-20260309-070503-3.json"));
        QCOMPARE(Backups::timeOfName(Backups::fileName(t)), std::optional<QDateTime>(t));
        QCOMPARE(Backups::timeOfName(Backups::fileName(t, 12)), std::optional<QDateTime>(t));
        const QStringList strangers{
            QStringLiteral("tallybrook-unreadable-1700000000.json"),
            QStringLiteral("tallybrook-20261307-120000.json"), // no thirteenth month
            QStringLiteral("tallybrook-20260230-120000.json"), // nor a 30th of February
            QStringLiteral("tallybrook-20260309-250000.json"),
            QStringLiteral("tallybrook-20260309-120000.json.part"),
            QStringLiteral("Tallybrook-20260309-120000.json"),
            QStringLiteral("tallybrook-20260309-120000-0.json"),
            QStringLiteral("tallybrook-20260309-120000-x.json"),
            QStringLiteral("tallybrook.json"),
            QStringLiteral("notes.txt"),
        };
        for (const QString& name : strangers)
            QVERIFY2(!Backups::timeOfName(name), qPrintable(name));
        // However old, a stranger is never pruned; an old backup is.
        const QDateTime now(QDate(2030, 1, 1), QTime(12, 0), Qt::LocalTime);
        const QStringList old{QStringLiteral("tallybrook-20200101-120000.json")};
        QCOMPARE(Backups::toPrune(strangers + old, now), old);

        // A busy day: thirty backups twenty minutes apart keep their newest 24.
        const QDateTime evening(QDate(2026, 5, 1), QTime(20, 0), Qt::LocalTime);
        QStringList busy;
        for (int i = 0; i < 30; ++i)
            busy.append(Backups::fileName(
                QDateTime(QDate(2026, 5, 1), QTime(10, 0), Qt::LocalTime).addSecs(i * 1200)));
        QStringList pruned = Backups::toPrune(busy, evening);
        pruned.sort();
        QCOMPARE(pruned, busy.mid(0, 6));
        // Within one second the numbered one is the later.
        const QStringList second{Backups::fileName(evening.addDays(-3)),
                                 Backups::fileName(evening.addDays(-3), 2)};
        QCOMPARE(Backups::toPrune(second, evening), second.mid(0, 1));
    }

    // Two thousand saves in sessions over four hundred days, with a clock the test drives: the
    // backups made are at least fifteen minutes apart, each holds the file as it was before its
    // save, and what is left is exactly the rolling set: the newest 24 of the last day, the newest
    // of each of the last 30 days and of each of the last 12 months. Files that are not backups stay.
    void rollingSetOverFourHundredDays()
    {
        QTemporaryDir dir(scratchParent());
        QVERIFY(dir.isValid());
        const QString data = dir.path() + QStringLiteral("/tallybrook.json");
        const QString folder = Backups::folderFor(data);
        QVERIFY(QDir().mkpath(folder));
        const QStringList strangers{QStringLiteral("notes.txt"), QStringLiteral("tallybrook-old.json"),
                                    QStringLiteral("tallybrook-unreadable-1.json"),
                                    QStringLiteral("tallybrook-20240101-000000.json.bak")};
        for (const QString& name : strangers)
            QVERIFY(writeFile(folder + QLatin1Char('/') + name, name.toUtf8()));

        QDateTime now(QDate(2025, 1, 1), QTime(8, 0), Qt::LocalTime);
        const QDateTime start = now;
        QRandomGenerator rng(18);
        struct Made
        {
            QString name;
            QDateTime time;
        };
        QVector<Made> made;
        int saves = 0;
        int generation = 0;
        QVERIFY(writeFile(data, "generation 0"));
        while (saves < 2000) {
            // One program session: a new keeper, a few saves minutes apart.
            BackupKeeper keeper(data, [&now] { return now; });
            const int sessionSaves = int(rng.bounded(1, 10));
            for (int i = 0; i < sessionSaves && saves < 2000; ++i, ++saves) {
                QString error;
                const std::optional<BackupKeeper::Copy> copy = keeper.due(&error);
                QVERIFY2(error.isEmpty(), qPrintable(error));
                const QByteArray before = readFile(data);
                QVERIFY(writeFile(data, "generation " + QByteArray::number(++generation)));
                if (copy) {
                    QCOMPARE(copy->bytes, before);
                    QString path;
                    QVERIFY2(keeper.write(*copy, &path), qPrintable(path));
                    QCOMPARE(readFile(path), before);
                    if (!made.isEmpty() && i > 0)
                        QVERIFY(made.last().time.secsTo(now) >= BackupKeeper::kIntervalSecs);
                    made.append({QFileInfo(path).fileName(), copy->time});
                } else {
                    // Only a later save of the same session within the interval goes without.
                    QVERIFY(i > 0);
                }
                now = now.addSecs(rng.bounded(60, 40 * 60));
            }
            // The next start: later the same day, or some days on.
            now = now.addSecs(rng.bounded(4, 24) * 3600 +
                              (rng.bounded(4) == 0 ? rng.bounded(1, 4) * 86400 : 0));
        }
        QVERIFY2(start.daysTo(now) >= 400, qPrintable(QString::number(start.daysTo(now))));
        QVERIFY(made.size() > 500);

        // The rolling set, worked out from the whole history at the last backup's time.
        const QDateTime last = made.last().time;
        QSet<QString> expected;
        QSet<qint64> days;
        QSet<int> months;
        int recent = 0;
        for (auto it = made.crbegin(); it != made.crend(); ++it) {
            if (it->time > last.addDays(-1) && recent < 24) {
                expected.insert(it->name);
                ++recent;
            }
            const QDate day = it->time.date();
            if (day.daysTo(last.date()) < 30 && !days.contains(day.toJulianDay())) {
                days.insert(day.toJulianDay());
                expected.insert(it->name);
            }
            const int month = day.year() * 12 + day.month();
            if (last.date().year() * 12 + last.date().month() - month < 12 && !months.contains(month)) {
                months.insert(month);
                expected.insert(it->name);
            }
        }
        const QStringList left = backupNames(folder);
        QCOMPARE(QSet<QString>(left.begin(), left.end()), expected);
        QVERIFY(expected.contains(made.last().name));
        QVERIFY(left.size() <= 24 + 30 + 12);
        for (const QString& name : strangers)
            QCOMPARE(readFile(folder + QLatin1Char('/') + name), name.toUtf8());
        // Nothing half-written is left behind.
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), left.size() + strangers.size());
    }

    // Matched by id: what would come back, disappear or change, field by field; directories as
    // sets, so a new order alone is no change; the settings each on their own.
    void diffByProjectId()
    {
        using namespace DocumentDiff;
        const AppData current = AppData::sample();
        QVERIFY(compare(current, current).isEmpty());

        AppData other = current;
        const Project gone0 = other.projects.takeAt(3);
        const Project gone1 = other.projects.takeAt(10);
        Project extra;
        extra.id = QUuid::createUuid();
        extra.name = QStringLiteral("Only in the backup");
        extra.fee = 900;
        other.projects.insert(0, extra);
        Project& edited = other.projects[5];
        const Project original = edited;
        edited.name += QStringLiteral(" (draft)");
        edited.fee += 1;
        edited.status = edited.status == Status::paid ? Status::pending : Status::paid;
        edited.date = edited.date.addDays(-2);
        std::reverse(other.clients.begin(), other.clients.end());
        other.clients.append(QStringLiteral("Back Client"));
        const QString lostCategory = other.categories.takeFirst();
        other.taxRate = current.taxRate + 5;
        other.columnOrder = {Status::ongoing, Status::pending, Status::paid};

        // Restoring `other` over `current`:
        const Diff d = compare(current, other);
        QCOMPARE(d.added.size(), 1);
        QCOMPARE(d.added.first().id, extra.id);
        QCOMPARE(d.removed.size(), 2);
        QCOMPARE(d.removed.at(0).id, gone0.id);
        QCOMPARE(d.removed.at(1).id, gone1.id);
        QCOMPARE(d.changed.size(), 1);
        QCOMPARE(d.changed.first().before, original);
        QCOMPARE(d.changed.first().after, edited);
        QCOMPARE(d.changed.first().fields, (QVector<ProjectField>{ProjectField::name, ProjectField::fee,
                                                                  ProjectField::status, ProjectField::date}));
        QCOMPARE(d.clientsAdded, QStringList{"Back Client"});
        QVERIFY(d.clientsRemoved.isEmpty());
        QCOMPARE(d.categoriesRemoved, QStringList{lostCategory});
        QVERIFY(d.categoriesAdded.isEmpty());
        QCOMPARE(d.settings, (QVector<Setting>{Setting::taxRate, Setting::columnOrder}));

        // The other way round, everything turns over.
        const Diff back = compare(other, current);
        QCOMPARE(back.added.size(), 2);
        QCOMPARE(back.removed.size(), 1);
        QCOMPARE(back.changed.first().before, edited);
        QCOMPARE(back.clientsRemoved, QStringList{"Back Client"});
        QCOMPARE(back.categoriesAdded, QStringList{lostCategory});
        // An empty document against the sample: every project would come back.
        QCOMPARE(compare(AppData::empty(), current).added.size(), current.projects.size());
        QCOMPARE(compare(current, AppData::empty()).removed.size(), current.projects.size());
    }

    // Backups and files set aside, newest first, each read for its projects and its latest year's
    // paid total; one that cannot be read says why.
    void catalogOfBackupsAndSetAsideFiles()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/backups");
        QVERIFY(QDir().mkpath(folder));
        AppData sample = AppData::sample();
        AppData fewer = sample;
        fewer.projects.resize(5);
        const QDateTime t1(QDate(2026, 4, 2), QTime(10, 0), Qt::LocalTime);
        QVERIFY(writeFile(folder + QLatin1Char('/') + Backups::fileName(t1), *DataFile::encode(sample)));
        QVERIFY(writeFile(folder + QLatin1Char('/') + Backups::fileName(t1.addDays(1)),
                          *DataFile::encode(fewer)));
        QVERIFY(writeFile(folder + QLatin1Char('/') + Backups::fileName(t1.addDays(1), 2),
                          *DataFile::encode(fewer)));
        const QDateTime t0 = t1.addDays(-1);
        QVERIFY(writeFile(dir.path() + QStringLiteral("/tallybrook-unreadable-") +
                              QString::number(t0.toSecsSinceEpoch()) + QStringLiteral(".json"),
                          "{ not json"));
        QVERIFY(writeFile(folder + QStringLiteral("/notes.json"), "{}"));
        QVERIFY(writeFile(dir.path() + QStringLiteral("/tallybrook.json"), *DataFile::encode(sample)));

        QVector<Backups::Entry> list = Backups::catalog(dir.path());
        QCOMPARE(list.size(), 4);
        QCOMPARE(QFileInfo(list.takeFirst().path).fileName(), Backups::fileName(t1.addDays(1), 2));
        QCOMPARE(list.at(0).time, t1.addDays(1));
        QCOMPARE(list.at(1).time, t1);
        QCOMPARE(list.at(2).time, t0);
        QVERIFY(!list.at(0).setAside && list.at(2).setAside);
        for (Backups::Entry& e : list)
            Backups::describe(e);
        const auto paidOfLatestYear = [](const AppData& d, int& year) {
            year = 0;
            for (const Project& p : d.projects)
                year = std::max(year, p.date.toLocalTime().date().year());
            double sum = 0;
            for (const Project& p : d.projects)
                if (p.status == Status::paid && p.date.toLocalTime().date().year() == year)
                    sum += p.fee;
            return sum;
        };
        int year = 0;
        QCOMPARE(list.at(1).projects, int(sample.projects.size()));
        QCOMPARE(list.at(1).paidLatestYear, paidOfLatestYear(sample, year));
        QCOMPARE(list.at(1).latestYear, year);
        QVERIFY(list.at(1).paidLatestYear > 0);
        QCOMPARE(list.at(0).projects, 5);
        QCOMPARE(list.at(0).paidLatestYear, paidOfLatestYear(fewer, year));
        QVERIFY(list.at(2).described && !list.at(2).readable);
        QVERIFY(!list.at(2).reason.isEmpty());
    }

    // The preview says, in either language and whatever the system's locale, what comes back, what
    // goes and what changes, with amounts as the board writes them.
    // The payment days, terms and forecast weights take part in the preview, in both languages.
    void previewOfPaymentFields()
    {
        using namespace DocumentDiff;
        AppData before = AppData::empty();
        Project p;
        p.id = QUuid::createUuid();
        p.name = QStringLiteral("Logo");
        p.fee = 10;
        p.status = Status::pending;
        p.date = QDateTime(QDate(2026, 3, 12), QTime(12, 0), Qt::LocalTime);
        p.pendingSince = QDate(2026, 3, 12);
        before.projects = {p};
        before.clientTerms.insert(QStringLiteral("Aura"), 45);
        AppData after = before;
        after.projects[0].status = Status::paid;
        after.projects[0].dueDate = QDate(2026, 4, 11);
        after.projects[0].paidOn = QDate(2026, 4, 2);
        after.clientTerms = {{QStringLiteral("Aura"), 0}, {QStringLiteral("Bolt"), 14}};
        after.forecastOngoingPercent = 40;

        const Diff d = compare(before, after);
        QCOMPARE(d.changed.size(), 1);
        QCOMPARE(d.changed.first().fields,
                 (QVector<ProjectField>{ProjectField::status, ProjectField::dueDate, ProjectField::paidOn}));
        QCOMPARE(d.settings, (QVector<Setting>{Setting::clientTerms, Setting::forecastWeights}));
        const auto texts = [&](AppLanguage language) {
            QStringList out;
            for (const BackupTexts::Line& line : BackupTexts::preview(d, before, after, {language, "$", 30}))
                out << line.text;
            return out;
        };
        const QStringList en = texts(AppLanguage::en);
        QVERIFY2(en.contains("Due: none → 11 Apr 2026"), qPrintable(en.join('\n')));
        QVERIFY(en.contains("Paid on: none → 2 Apr 2026"));
        QVERIFY(en.contains(
            "Payment terms: Aura 45-day terms → due on receipt; Bolt 30-day terms → 14-day terms"));
        QVERIFY(en.contains("Forecast weights (pending / in the works): 90% / 50% → 90% / 40%"));
        const QStringList tr = texts(AppLanguage::tr);
        QVERIFY2(tr.contains("Vade: yok → 11 Nis 2026"), qPrintable(tr.join('\n')));
        QVERIFY(tr.contains("Ödeme tarihi: yok → 2 Nis 2026"));
        QVERIFY(
            tr.contains("Ödeme vadeleri: Aura 45 gün vade → teslimde ödeme; Bolt 30 gün vade → 14 gün vade"));

        after.projects[0].pendingSince = QDate();
        const QStringList again = [&] {
            QStringList out;
            for (const BackupTexts::Line& line :
                 BackupTexts::preview(compare(before, after), before, after, {AppLanguage::en, "$", 30}))
                out << line.text;
            return out;
        }();
        QVERIFY(again.contains("Pending since: 12 Mar 2026 → none"));
    }

    void previewTexts()
    {
        using namespace DocumentDiff;
        AppData before = AppData::empty();
        Project kept;
        kept.id = QUuid::createUuid();
        kept.name = QStringLiteral("Logo");
        kept.client = QStringLiteral("Aura");
        kept.fee = 1250;
        kept.status = Status::pending;
        kept.date = QDateTime(QDate(2026, 3, 12), QTime(12, 0), Qt::LocalTime);
        Project gone = kept;
        gone.id = QUuid::createUuid();
        gone.name = QStringLiteral("Poster");
        before.projects = {kept, gone};
        before.clients = {QStringLiteral("Aura")};
        AppData after = before;
        after.projects.removeLast();
        after.projects[0].fee = 1500;
        after.projects[0].status = Status::paid;
        Project back = kept;
        back.id = QUuid::createUuid();
        back.name = QStringLiteral("Menu");
        back.fee = 80;
        after.projects.append(back);
        after.clients.append(QStringLiteral("Solstice"));
        after.taxRate = 25;
        // Members only a later version knows are named, so that a restore never changes them unseen.
        after.projects[0].extra.insert(QStringLiteral("invoice"), QStringLiteral("INV-1"));
        after.extra.insert(QStringLiteral("version"), 3);

        const Diff d = compare(before, after);
        const auto texts = [&](AppLanguage language) {
            QStringList out;
            for (const BackupTexts::Line& line : BackupTexts::preview(d, before, after, {language, "$", 30}))
                out << line.text;
            return out;
        };
        QCOMPARE(texts(AppLanguage::en),
                 (QStringList{"1 project would come back", "Menu · Aura · $80 · 12 Mar 2026",
                              "1 project would disappear",
                              "Poster · Aura · " + TestEnv::localized("$1,250") + " · 12 Mar 2026",
                              "1 project would change", "Logo",
                              "Fee: " + TestEnv::localized("$1,250") + " → " + TestEnv::localized("$1,500"),
                              "Status: Pending → Paid", "Fields of a later version: invoice",
                              "Lists and settings", "Clients: + Solstice", "Tax rate: 20% → 25%",
                              "Fields of a later version: version"}));
        const QStringList turkish = texts(AppLanguage::tr);
        QCOMPARE(turkish.at(0), QStringLiteral("1 proje geri gelir"));
        QCOMPARE(turkish.at(1), QStringLiteral("Menu · Aura · 2.400 ₺ · 12 Mar 2026"));
        QCOMPARE(turkish.at(7), QStringLiteral("Durum: Ödenecek → Ödendi"));
        QCOMPARE(turkish.at(8), QStringLiteral("Sonraki bir sürümün alanları: invoice"));
        QCOMPARE(turkish.at(11), QStringLiteral("Vergi oranı: %20 → %25"));
        QCOMPARE(BackupTexts::preview(compare(before, before), before, before, {AppLanguage::en, "$", 30})
                     .first()
                     .text,
                 QStringLiteral("Restoring it would change nothing."));

        Backups::Entry e;
        e.described = e.readable = true;
        e.projects = 2;
        e.latestYear = 2026;
        e.paidLatestYear = 4000;
        QCOMPARE(BackupTexts::summary(e, {AppLanguage::en, "$", 30}),
                 "2 projects · 2026 paid " + TestEnv::localized("$4,000"));
        QCOMPARE(BackupTexts::summary(e, {AppLanguage::tr, "$", 30}),
                 QStringLiteral("2 proje · 2026 ödenen 120.000 ₺"));
        e.readable = false;
        e.setAside = true;
        e.reason = QStringLiteral("unterminated object");
        QCOMPARE(BackupTexts::summary(e, {AppLanguage::en, "$", 30}),
                 QStringLiteral("Set aside unreadable · Cannot be read: unterminated object"));
        QCOMPARE(
            BackupTexts::when(QDateTime(QDate(2026, 12, 7), QTime(19, 5), Qt::LocalTime), AppLanguage::tr),
            QStringLiteral("7 Ara 2026, 19:05"));
    }

    // A restore keeps the document in use as a backup first, replaces it in one step with its
    // toast and Undo, and Undo brings the document back; a file that cannot be read changes nothing.
    void restoreAndUndo()
    {
        QTemporaryDir dir;
        Store store(dir.path(), false);
        QDateTime now(QDate(2026, 6, 1), QTime(10, 0), Qt::LocalTime);
        store.setBackupClock([&now] { return now; });
        const AppData sample = store.data();
        QCOMPARE(sample.projects.size(), 37);
        BackupKeeper keeper(store.fileURL(), [&now] { return now; });
        QString backup;
        QVERIFY(keeper.backUpNow(&backup));
        store.eraseAll();
        store.flushPendingSave();
        now = now.addSecs(3600);

        QVERIFY(store.restoreBackup(backup));
        QCOMPARE(store.data().projects, sample.projects);
        QVERIFY(store.ui().toast()->canUndo);
        QCOMPARE(store.ui().toast()->message, QStringLiteral("Restored backup from 1 Jun 2026, 10:00"));
        // The emptied document was kept first, under the restore's own time.
        const QString kept = Backups::folderFor(store.fileURL()) + QLatin1Char('/') + Backups::fileName(now);
        QCOMPARE(DataFile::decode(readFile(kept))->projects.size(), 0);
        QCOMPARE(QFileInfo(backup).exists(), true);
        store.flushPendingSave();
        QCOMPARE(DataFile::decode(readFile(store.fileURL()))->projects.size(), 37);

        QVERIFY(store.canUndoRestore());
        store.undo();
        QVERIFY(store.data().projects.isEmpty());
        QCOMPARE(store.ui().toast()->message, QStringLiteral("Restore undone"));
        QVERIFY(!store.canUndoRestore());

        // Restored again and then changed: Undo no longer throws the change away.
        QVERIFY(store.restoreBackup(backup));
        store.addClient(QStringLiteral("After the restore"));
        QVERIFY(!store.canUndoRestore());
        store.undo();
        QCOMPARE(store.data().projects.size(), 37);

        // A file that cannot be read: a reason, and nothing changes.
        const QString bad = dir.path() + QStringLiteral("/tallybrook-unreadable-1700000000.json");
        QVERIFY(writeFile(bad, "{ \"projects\": 3 }"));
        const AppData before = store.data();
        QVERIFY(!store.restoreBackup(bad));
        QVERIFY2(store.ui().toast()->message.startsWith(QStringLiteral("Could not restore: ")),
                 qPrintable(store.ui().toast()->message));
        QCOMPARE(store.data(), before);
        QVERIFY(store.readDocument(backup, nullptr));
        QString why;
        QVERIFY(!store.readDocument(bad, &why));
        QVERIFY(!why.isEmpty());
    }

    // The Store's saves: the first of a session keeps the file as it was, later ones only every
    // fifteen minutes; a backup that cannot be made is told once and the saves go on.
    void savesMakeBackups()
    {
        QTemporaryDir dir;
        QDateTime now(QDate(2026, 6, 1), QTime(10, 0), Qt::LocalTime);
        {
            Store first(dir.path(), false); // writes the sample: nothing to keep yet
            QVERIFY(QFileInfo::exists(first.fileURL()));
        }
        Store store(dir.path(), false);
        store.setBackupClock([&now] { return now; });
        const QString folder = Backups::folderFor(store.fileURL());
        const QByteArray sampleBytes = readFile(store.fileURL());
        QVERIFY(backupNames(folder).isEmpty());
        store.addClient(QStringLiteral("One"));
        store.flushPendingSave();
        QCOMPARE(backupNames(folder), QStringList{Backups::fileName(now)});
        QCOMPARE(readFile(folder + QLatin1Char('/') + Backups::fileName(now)), sampleBytes);
        now = now.addSecs(14 * 60);
        store.addClient(QStringLiteral("Two"));
        store.flushPendingSave();
        QCOMPARE(backupNames(folder).size(), 1);
        now = now.addSecs(60);
        const QByteArray withOne = readFile(store.fileURL());
        store.addClient(QStringLiteral("Three"));
        store.flushPendingSave();
        QCOMPARE(backupNames(folder).size(), 2);
        QCOMPARE(readFile(folder + QLatin1Char('/') + Backups::fileName(now)).size(), withOne.size());

        // The folder's name taken by a file: the saves go on, the failure is told once.
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(writeFile(folder, "in the way"));
        now = now.addSecs(3600);
        store.addClient(QStringLiteral("Four"));
        store.flushPendingSave();
        QVERIFY(store.ui().toast());
        QVERIFY2(store.ui().toast()->message.startsWith(QStringLiteral("Could not back up: ")),
                 qPrintable(store.ui().toast()->message));
        QVERIFY(readFile(store.fileURL()).contains("Four"));
        store.ui().setToast(std::nullopt);
        now = now.addSecs(3600);
        store.addClient(QStringLiteral("Five"));
        store.flushPendingSave();
        QCOMPARE(store.ui().toast()->message, QStringLiteral("Client \"Five\" added"));
        QVERIFY(readFile(store.fileURL()).contains("Five"));
        QVERIFY(!store.hasUnsavedChanges());
    }

    // A backup killed half-way leaves its temporary; the next start clears it and nothing else.
    void startClearsHalfWrittenBackups()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/backups");
        QVERIFY(QDir().mkpath(folder));
        const QString half = folder + QStringLiteral("/.tallybrook-20260601-100000.json.saving-AbC123");
        const QString kept[] = {folder + QStringLiteral("/.tallybrook-notes"),
                                folder + QStringLiteral("/.tallybrook-20260601-100000.json.saving-toolong1"),
                                folder + QLatin1Char('/') + Backups::fileName(QDateTime::currentDateTime())};
        QVERIFY(writeFile(half, "{"));
        for (const QString& path : kept)
            QVERIFY(writeFile(path, "{}"));
        Store store(dir.path(), false);
        QVERIFY(!QFileInfo::exists(half));
        for (const QString& path : kept)
            QVERIFY2(QFileInfo::exists(path), qPrintable(path));
    }

    void failuresAreReportedAndLeaveNothingBehind()
    {
        QTemporaryDir dir;
        const QString data = dir.path() + QStringLiteral("/tallybrook.json");
        QDateTime now(QDate(2026, 5, 1), QTime(9, 0), Qt::LocalTime);
        BackupKeeper keeper(data, [&now] { return now; });
        QString error;
        // No file yet: nothing to keep, nothing wrong, and the first real file is still due.
        QVERIFY(!keeper.due(&error));
        QVERIFY(error.isEmpty());
        QVERIFY(writeFile(data, "{}"));
        // The backups folder's name taken by a file.
        QVERIFY(writeFile(Backups::folderFor(data), "in the way"));
        const auto copy = keeper.due(&error);
        QVERIFY(copy);
        QString why;
        QVERIFY(!keeper.write(*copy, &why));
        QVERIFY2(!why.isEmpty(), "a reason is given");
        QCOMPARE(readFile(Backups::folderFor(data)), QByteArray("in the way"));
        // Tried once per interval, not on every save.
        now = now.addSecs(60);
        QVERIFY(!keeper.due(&error));
        QFile::remove(Backups::folderFor(data));

        // A FIFO in the data file's place is neither waited on nor copied.
        const QString fifoData = dir.path() + QStringLiteral("/fifo/tallybrook.json");
        QVERIFY(QDir().mkpath(dir.path() + QStringLiteral("/fifo")));
        QCOMPARE(::mkfifo(QFile::encodeName(fifoData).constData(), 0600), 0);
        BackupKeeper fifoKeeper(fifoData, [&now] { return now; });
        QVERIFY(!fifoKeeper.due(&error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFileInfo::exists(Backups::folderFor(fifoData)));

        // Two backups in one second get numbers.
        QString first, second;
        QVERIFY(keeper.backUpNow(&first));
        QVERIFY(keeper.backUpNow(&second));
        QCOMPARE(QFileInfo(first).fileName(), Backups::fileName(now));
        QCOMPARE(QFileInfo(second).fileName(), Backups::fileName(now, 2));
        QCOMPARE(QFileInfo(second).permissions() & (QFile::ReadOther | QFile::ReadGroup),
                 QFile::Permissions());
    }

    void fullDisk()
    {
        if (::geteuid() != 0)
            QSKIP("mounting a small file system needs root");
        QTemporaryDir dir;
        const QString mountPoint = dir.path() + QStringLiteral("/mnt");
        const SmallDisk disk(mountPoint, QStringLiteral("256k"));
        if (!disk.mounted())
            QSKIP("cannot mount tmpfs here");
        const QString data = mountPoint + QStringLiteral("/tallybrook.json");
        QVERIFY(writeFile(data, QByteArray(100 * 1024, 'd')));
        QFile filler(mountPoint + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
        const QDateTime now(QDate(2026, 5, 1), QTime(9, 0), Qt::LocalTime);
        BackupKeeper keeper(data, [&now] { return now; });
        QString error;
        const auto copy = keeper.due(&error);
        QVERIFY(copy);
        QVERIFY(!keeper.write(*copy, &error));
        QCOMPARE(error, QStringLiteral("No space left on device"));
        QCOMPARE(readFile(data), QByteArray(100 * 1024, 'd'));
        // No temporary left to fill the disk further.
        QCOMPARE(QDir(Backups::folderFor(data)).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
};

TB_TEST_MAIN(TestBackups)
#include "tst_backups.moc"
