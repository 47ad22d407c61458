// The Store and its file on disk when other programs change it: a sync engine bringing another
// computer's version, or leaving a conflict copy beside it.
#include "model/AtomicWrite.h"
#include "model/DataFile.h"
#include "model/DocumentMerge.h"
#include "model/FolderNames.h"
#include "model/Store.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QRegularExpression>
#include <QSet>

void Store::startWatching()
{
    if (m_watcher || m_sampleOnly)
        return;
    m_watcher = new QFileSystemWatcher(this);
    m_diskCheck.setSingleShot(true);
    m_diskCheck.setInterval(kDiskSettleMs);
    // Several events come for one change (a write, a rename, a sync engine's temporary file):
    // the file is looked at once they have settled.
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { m_diskCheck.start(); });
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_diskCheck.start(); });
    connect(&m_diskCheck, &QTimer::timeout, this, &Store::checkDisk);
    rearmWatch();
    offerConflictCopies();
}

void Store::rearmWatch()
{
    if (!m_watcher)
        return;
    // A rename over the file (every save does one) ends the watch of the file itself.
    const QString folder = dataFolder();
    if (!m_watcher->directories().contains(folder) && QFileInfo(folder).isDir())
        m_watcher->addPath(folder);
    if (!m_watcher->files().contains(m_fileURL) && QFileInfo::exists(m_fileURL))
        m_watcher->addPath(m_fileURL);
}

void Store::retargetDisk()
{
    m_disk->setKnown({FileStamp::of(m_fileURL), {}});
    m_diskBase = m_data;
    m_diskVersions.clear();
    rememberDiskVersion(m_data, m_disk->known().stamp.modifiedNs);
    m_offeredCopies.clear();
    m_unreadableWarned = false;
    if (!m_watcher)
        return;
    const QStringList watched = m_watcher->files() + m_watcher->directories();
    if (!watched.isEmpty())
        m_watcher->removePaths(watched);
    rearmWatch();
    offerConflictCopies();
}

void Store::checkDisk()
{
    if (m_sampleOnly || m_savingBlocked)
        return;
    // A save under way changes the file itself: look once it is done.
    if (isSaving()) {
        m_diskCheck.start();
        return;
    }
    rearmWatch();
    const std::optional<Toast> before = m_ui.toast();
    const bool taken = takeDiskVersion();
    // After the news of the file, which would otherwise hide the offer at once.
    offerConflictCopies(m_ui.toast() != before);
    if (taken && m_unsaved && !m_saveTimer.isActive() && !isSaving()) {
        ++m_saveSerial;
        startSave();
    }
}

bool Store::takeDiskVersion()
{
    const DiskState::Known known = m_disk->known();
    const FileStamp stamp = FileStamp::of(m_fileURL);
    if (stamp == known.stamp)
        return true;
    if (!stamp.exists) {
        // Deleted, or between a sync engine's two renames: the next save writes the document.
        m_disk->setKnown({stamp, {}});
        return true;
    }
    QString error;
    const std::optional<QByteArray> bytes = SafeRead::regularFile(m_fileURL, kMaxDataFileBytes, &error);
    QByteArray checksum;
    std::optional<AppData> theirs;
    if (bytes) {
        checksum = contentChecksum(*bytes);
        if (!known.checksum.isEmpty() && checksum == known.checksum) {
            m_disk->setKnown({stamp, checksum}); // touched, or written back the same
            return true;
        }
        theirs = DataFile::decode(*bytes, &error);
    }
    if (!theirs) {
        // Perhaps still arriving: kept as it is, neither loaded nor set aside, and looked at again
        // when it changes. Saves wait for it meanwhile; quitting sets it aside first.
        if (!m_unreadableWarned) {
            m_unreadableWarned = true;
            m_ui.show(tr(QStringLiteral("The data file changed on disk and cannot be read yet: "),
                         QStringLiteral("Veri dosyası diskte değişti ve henüz okunamıyor: ")) +
                          error,
                      false, UiState::kStartupToastMs / 1000.0);
        }
        return false;
    }
    m_unreadableWarned = false;
    bool repaired = false;
    repairLoaded(*theirs, turkishCase(), repaired);
    m_disk->setKnown({stamp, checksum});
    rememberDiskVersion(*theirs, stamp.modifiedNs);
    if (*theirs == m_diskBase)
        return true; // the same document in other bytes

    if (!m_unsaved) {
        m_diskBase = *theirs;
        changeData([&theirs](AppData& d) { d = std::move(*theirs); });
        if (repaired)
            scheduleSave();
        m_ui.show(tr(QStringLiteral("Reloaded changes from disk"),
                     QStringLiteral("Diskteki değişiklikler yüklendi")));
        return true;
    }
    // Settings both sides changed: the later change counts.
    const bool mineNewer = m_lastLocalChange.toMSecsSinceEpoch() > stamp.modifiedNs / 1000000;
    DocumentMerge::Result merged = DocumentMerge::merge(m_diskBase, m_data, *theirs, mineNewer);
    if (!merged.conflicts.isEmpty())
        keepConflict(merged.theirsPreferred);
    m_diskBase = std::move(*theirs);
    changeData([&merged](AppData& d) { d = std::move(merged.merged); });
    m_unsaved = true;
    QString message = tr(QStringLiteral("Merged changes from disk"),
                         QStringLiteral("Diskteki değişiklikler birleştirildi"));
    if (!merged.conflicts.isEmpty())
        message += tr(QStringLiteral(" · the other values are kept in Backups"),
                      QStringLiteral(" · diğer değerler Yedekler'de saklandı"));
    m_ui.show(message);
    return true;
}

void Store::rememberDiskVersion(const AppData& data, qint64 modifiedNs)
{
    // A copy shares the document's texts, but a written version holds a project list of its own:
    // a large document keeps fewer of them. A few are enough: a conflict copy is seldom older.
    constexpr int kKept = 16;
    constexpr qsizetype kProjectBudget = 200000;
    m_diskVersions.append({modifiedNs, data});
    qsizetype projects = 0;
    for (const DiskVersion& v : std::as_const(m_diskVersions))
        projects += v.data.projects.size();
    while (m_diskVersions.size() > kKept || (m_diskVersions.size() > 2 && projects > kProjectBudget)) {
        projects -= m_diskVersions.first().data.projects.size();
        m_diskVersions.removeFirst();
    }
}

void Store::keepConflict(const AppData& otherSideWins)
{
    QString error;
    const std::optional<QByteArray> bytes = DataFile::encode(otherSideWins, &error);
    if (!bytes || !Backups::keepConflict(dataFolder(), *bytes, m_backups->now(), &error))
        m_ui.show(tr(QStringLiteral("Could not keep the other values: "),
                     QStringLiteral("Diğer değerler saklanamadı: ")) +
                  error);
}

void Store::setAsideUnreadable()
{
    if (setAside(m_fileURL, dataFolder()))
        m_disk->setKnown({FileStamp::of(m_fileURL), {}});
}

QStringList Store::conflictCopies() const
{
    // Syncthing: tallybrook.sync-conflict-20260105-101530-ABCDEFG.json; Dropbox and Nextcloud:
    // "tallybrook (Ada's conflicted copy 2026-01-05).json", "tallybrook (conflicted copy …).json".
    static const QRegularExpression pattern(
        QStringLiteral("^tallybrook(\\.sync-conflict-.*| \\(.*conflicted copy.*\\))\\.json$"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    const QDir folder(dataFolder());
    const QString dataFile = QFileInfo(m_fileURL).fileName();
    for (const QString& name :
         FolderNames::startingWith(folder.path(), {QStringLiteral("tallybrook")}, QDir::Files)) {
        // The data file itself, always there, is no copy: the pattern is only compiled for others.
        if (!name.endsWith(QLatin1String(".json"), Qt::CaseInsensitive) ||
            name.compare(dataFile, Qt::CaseInsensitive) == 0)
            continue;
        if (pattern.match(name).hasMatch())
            out.append(folder.filePath(name));
    }
    return out;
}

void Store::offerConflictCopies(bool again)
{
    if (m_sampleOnly || m_savingBlocked)
        return;
    const QStringList copies = conflictCopies();
    bool fresh = false;
    for (const QString& copy : copies) {
        if (!m_offeredCopies.contains(copy)) {
            m_offeredCopies.append(copy);
            fresh = true;
        }
    }
    if (fresh || (again && !copies.isEmpty()))
        m_ui.showMergeOffer(tr(QStringLiteral("Another computer's copy of the data was found"),
                               QStringLiteral("Verilerin başka bir bilgisayardaki kopyası bulundu")),
                            tr(QStringLiteral("Press Merge to merge it."),
                               QStringLiteral("Birleştirmek için Birleştir'e basın.")));
}

void Store::mergeConflictCopies()
{
    if (m_sampleOnly || m_savingBlocked)
        return;
    AppData merged = m_data;
    int done = 0;
    QStringList failures;
    const QString backups = Backups::folderFor(m_fileURL);
    for (const QString& copy : conflictCopies()) {
        QString error;
        const std::optional<AppData> theirs = readDocument(copy, &error);
        if (!theirs) {
            failures.append(QFileInfo(copy).fileName() + QStringLiteral(": ") + error);
            continue;
        }
        // What only one side has is kept. Projects both have are merged field by field against
        // the version both started from: the newest one known here that is older than the copy
        // (sync engines keep a file's modification time, and make the copy of the older side).
        // Of fields both changed, or with no such version, this computer's values count while
        // the copy's are kept in Backups. The copy's settings and lists stand as the base, so
        // this document's own stay.
        AppData base = *theirs;
        base.projects.clear();
        base.clients.clear();
        base.categories.clear();
        const qint64 copyModifiedNs = FileStamp::of(copy).modifiedNs;
        for (auto known = m_diskVersions.crbegin(); known != m_diskVersions.crend(); ++known) {
            if (known->modifiedNs >= copyModifiedNs)
                continue;
            QSet<QUuid> mine;
            for (const Project& p : merged.projects)
                mine.insert(p.id);
            QSet<QUuid> both;
            for (const Project& p : theirs->projects) {
                if (mine.contains(p.id))
                    both.insert(p.id);
            }
            for (const Project& p : known->data.projects) {
                if (both.contains(p.id))
                    base.projects.append(p);
            }
            break;
        }
        DocumentMerge::Result r = DocumentMerge::merge(base, merged, *theirs, true);
        if (!r.conflicts.isEmpty())
            keepConflict(r.theirsPreferred);
        merged = std::move(r.merged);
        ++done;
        // Never deleted: moved where the backups are.
        AtomicWrite::makePath(backups);
        QString target = backups + QLatin1Char('/') + QFileInfo(copy).fileName();
        for (int n = 2; QFileInfo::exists(target) && n < 1000; ++n)
            target = backups + QLatin1Char('/') + QFileInfo(copy).completeBaseName() + QLatin1Char('-') +
                     QString::number(n) + QStringLiteral(".json");
        // Gone once merged: a later copy of the same name (a day's Dropbox copy) is news again. Kept
        // with the backups, as private as they are.
        if (QFile::rename(copy, target)) {
            m_offeredCopies.removeAll(copy);
            AtomicWrite::makePrivate(target);
        } else {
            failures.append(QFileInfo(copy).fileName() + QStringLiteral(": ") +
                            tr(QStringLiteral("could not be moved into the backups folder"),
                               QStringLiteral("yedek klasörüne taşınamadı")));
        }
    }
    // A copy that adds nothing writes nothing: a needless save looks to the sync engine like
    // another change, and the other computer's save of the same merge like another conflict.
    if (done > 0 && merged != m_data)
        update([&merged](AppData& d) { d = std::move(merged); });
    if (!failures.isEmpty())
        m_ui.show(tr(QStringLiteral("Could not merge: "), QStringLiteral("Birleştirilemedi: ")) +
                  failures.join(QStringLiteral("; ")));
    else if (done > 0)
        m_ui.show(tr(QStringLiteral("Merged the other computer's copy"),
                     QStringLiteral("Diğer bilgisayarın kopyası birleştirildi")));
}
