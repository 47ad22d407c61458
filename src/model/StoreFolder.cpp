// The Store's side of a chosen data folder: the per-computer preference, the start in it, and
// moving the document to another folder.
#include "model/AtomicWrite.h"
#include "model/DataFile.h"
#include "model/Preferences.h"
#include "model/Store.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

const QString kFileName = QStringLiteral("tallybrook.json");

QString filePathIn(const QString& folder)
{
    return folder + QLatin1Char('/') + kFileName;
}

QString absoluteFolder(const QString& folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}

// The same folder, also when reached through a link.
bool sameFolder(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    return ca.isEmpty() || cb.isEmpty() ? absoluteFolder(a) == absoluteFolder(b) : ca == cb;
}

} // namespace

bool Store::folderUsable(const QString& folder, bool make, QString* error)
{
    const auto refuse = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (folder.trimmed().isEmpty())
        return refuse(QStringLiteral("no folder was given."));
    const QFileInfo info(folder);
    if (!info.exists()) {
        if (!make)
            return refuse(QStringLiteral("%1 does not exist.").arg(folder));
        QString why;
        if (!AtomicWrite::makePath(folder, &why))
            return refuse(QStringLiteral("%1 cannot be made: %2").arg(folder, why));
    } else if (!info.isDir()) {
        return refuse(QStringLiteral("%1 is not a folder.").arg(folder));
    }
    // Permission bits say little to root or on a read-only mount: try a file.
    QTemporaryFile probe(folder + QStringLiteral("/.tallybrook-probe-XXXXXX"));
    if (!probe.open())
        return refuse(QStringLiteral("%1 cannot be written: %2").arg(folder, probe.errorString()));
    return true;
}

bool Store::holdsDataFile(const QString& folder)
{
    const QFileInfo file(filePathIn(folder));
    return file.exists() || file.isSymLink();
}

qint64 Store::dataFileSize(const QString& folder)
{
    return QFileInfo(filePathIn(folder)).size();
}

namespace {
QString chosenDataFolder()
{
    return Preferences::text(Preferences::kDataFolder).value_or(QString()).trimmed();
}
} // namespace

QString Store::namedDataFolder()
{
    const QString chosen = chosenDataFolder();
    return QDir::isAbsolutePath(chosen) ? absoluteFolder(chosen) : defaultDataFolder();
}

QString Store::preferredDataFolder(QString* unusableReason)
{
    const QString chosen = chosenDataFolder();
    if (chosen.isEmpty())
        return defaultDataFolder();
    // A missing folder is not made: it is most likely a sync share or a drive not there yet, and
    // a fresh document made in its place would meet the real one later.
    QString why;
    if (QDir::isAbsolutePath(chosen) && folderUsable(chosen, false, &why))
        return absoluteFolder(chosen);
    if (why.isEmpty())
        why = QStringLiteral("%1 is not an absolute path.").arg(chosen);
    if (unusableReason)
        *unusableReason = why;
    return defaultDataFolder();
}

void Store::initInPreferredFolder()
{
    QString unusable;
    const QString folder = preferredDataFolder(&unusable);
    init(folder, false);
    if (unusable.isEmpty())
        return;
    QString message = tr(QStringLiteral("Your data folder cannot be used (%1); this session uses %2."),
                         QStringLiteral("Veri klasörünüz kullanılamıyor (%1); bu oturumda %2 kullanılıyor."))
                          .arg(unusable, folder);
    // A message of the load itself is kept after it.
    if (m_ui.toast())
        message += QLatin1Char(' ') + m_ui.toast()->message;
    m_ui.show(message, false, UiState::kStartupToastMs / 1000.0);
}

Store::FolderResult Store::changeDataFolder(const QString& folder, FolderChoice choice)
{
    const auto fail = [this](const QString& why) {
        m_ui.show(
            tr(QStringLiteral("Could not use this folder: "), QStringLiteral("Bu klasör kullanılamadı: ")) +
            why);
        return FolderResult{false, why};
    };
    if (m_sampleOnly)
        return fail(
            tr(QStringLiteral("this window does not save."), QStringLiteral("bu pencere kaydetmez.")));
    const QString target = absoluteFolder(folder);
    QString error;
    if (folder.trimmed().isEmpty() || !folderUsable(target, true, &error))
        return fail(folder.trimmed().isEmpty()
                        ? tr(QStringLiteral("no folder was chosen."), QStringLiteral("klasör seçilmedi."))
                        : error);

    const auto rememberChoice = [&target] {
        Preferences::setText(Preferences::kDataFolder,
                             sameFolder(target, defaultDataFolder()) ? QString() : target);
    };
    if (sameFolder(target, dataFolder())) {
        rememberChoice();
        return {true, {}};
    }

    // The old file gets what is pending and no save is left running.
    flushPendingSave();

    const QString file = filePathIn(target);
    const bool exists = holdsDataFile(target);
    if (exists && choice == FolderChoice::none)
        return fail(tr(QStringLiteral("it already holds a Tallybrook file."),
                       QStringLiteral("klasörde zaten bir Tallybrook dosyası var.")));

    auto keeper = std::make_unique<BackupKeeper>(file);
    std::optional<AppData> taken;
    bool repaired = false;
    if (exists && choice == FolderChoice::useExisting) {
        // Read as a start reads it, but never set aside: refused instead, and nothing changes.
        const std::optional<QByteArray> bytes = SafeRead::regularFile(file, kMaxDataFileBytes, &error);
        taken = bytes ? DataFile::decode(*bytes, &error) : std::nullopt;
        if (!taken)
            return fail(tr(QStringLiteral("the Tallybrook file there cannot be read: "),
                           QStringLiteral("oradaki Tallybrook dosyası okunamıyor: ")) +
                        error);
        repairLoaded(*taken, turkishCase(), repaired);
    } else {
        std::optional<QByteArray> original;
        if (exists) {
            // What is replaced is kept twice over: in the backups there, and here until the copy
            // has been read back.
            original = SafeRead::regularFile(file, kMaxDataFileBytes, &error);
            QString backup;
            if (!original || !keeper->backUpNow(&backup))
                return fail(tr(QStringLiteral("the file there could not be backed up: "),
                               QStringLiteral("oradaki dosya yedeklenemedi: ")) +
                            (original ? backup : error));
        }
        const std::optional<QByteArray> bytes = DataFile::encode(m_data, &error);
        if (!bytes || !AtomicWrite::write(file, *bytes, &error))
            return fail(error);
        const std::optional<QByteArray> back = SafeRead::regularFile(file, kMaxDataFileBytes, &error);
        const std::optional<AppData> copy = back ? DataFile::decode(*back, &error) : std::nullopt;
        if (!copy || !(*copy == m_data)) {
            // A copy that does not read back as the document is no use to anyone.
            if (original)
                AtomicWrite::write(file, *original, nullptr);
            else
                QFile::remove(file);
            return fail(copy ? tr(QStringLiteral("the copy there does not read back the same."),
                                  QStringLiteral("oradaki kopya aynı okunmuyor."))
                             : tr(QStringLiteral("the copy there cannot be read back: "),
                                  QStringLiteral("oradaki kopya geri okunamıyor: ")) +
                                   error);
        }
    }

    // Nothing is being saved: the saving thread picks up the new keeper with the next save.
    m_fileURL = file;
    m_backups = std::move(keeper);
    m_backupFailureShown = false;
    m_savingBlocked = false;
    rememberChoice();
    if (taken) {
        // Another document: what Undo would bring back belongs to the one that is gone.
        m_lastDeleted.reset();
        m_lastMove.clear();
        m_beforeRestore.reset();
        changeData([&taken](AppData& d) { d = std::move(*taken); });
        m_unsaved = false;
        if (repaired)
            scheduleSave();
    } else {
        m_unsaved = false;
    }
    retargetDisk();
    emit dataFolderChanged();
    m_ui.show(
        tr(QStringLiteral("Data folder changed to %1"), QStringLiteral("Veri klasörü %1 olarak değiştirildi"))
            .arg(target));
    return {true, {}};
}
