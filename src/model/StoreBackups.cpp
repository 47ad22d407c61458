// The Store's side of the rolling backups: reading one, restoring it, and undoing that.
#include "model/AtomicWrite.h"
#include "model/BackupTexts.h"
#include "model/DataFile.h"
#include "model/Store.h"

#include <QFileInfo>

QString Store::dataFolder() const
{
    return QFileInfo(m_fileURL).absolutePath();
}

void Store::setBackupClock(BackupKeeper::Clock clock)
{
    m_backups->setClock(std::move(clock));
}

std::optional<AppData> Store::readDocument(const QString& path, QString* error) const
{
    return readDocument(path, turkishCase(), error);
}

std::optional<AppData> Store::readDocument(const QString& path, bool turkishCase, QString* error)
{
    const std::optional<QByteArray> bytes = SafeRead::regularFile(path, kMaxDataFileBytes, error);
    std::optional<AppData> data = bytes ? DataFile::decode(*bytes, error) : std::nullopt;
    if (data) {
        bool changed = false;
        repairLoaded(*data, turkishCase, changed);
    }
    return data;
}

bool Store::restoreBackup(const QString& path)
{
    const auto refuse = [this](const QString& en, const QString& trText, const QString& why) {
        m_ui.show(tr(en, trText) + why);
        return false;
    };
    if (m_sampleOnly || m_savingBlocked)
        return refuse(QStringLiteral("Could not restore: "), QStringLiteral("Geri yüklenemedi: "),
                      tr(QStringLiteral("changes are not saved this session."),
                         QStringLiteral("bu oturumda değişiklikler kaydedilmiyor.")));
    QString error;
    std::optional<AppData> restored = readDocument(path, &error);
    if (!restored)
        return refuse(QStringLiteral("Could not restore: "), QStringLiteral("Geri yüklenemedi: "), error);
    // The document in use is kept first, so that this restore can itself be taken back from the
    // list, also after Undo is gone.
    const std::optional<QByteArray> bytes = DataFile::encode(m_data, &error);
    if (!bytes || !m_backups->write({*bytes, m_backups->now()}, &error))
        return refuse(QStringLiteral("Could not back up: "), QStringLiteral("Yedek alınamadı: "), error);

    const QDateTime when = [&path] {
        const auto t = Backups::timeOfName(QFileInfo(path).fileName());
        return t ? *t : QFileInfo(path).lastModified();
    }();
    m_lastDeleted.reset();
    m_lastMove.clear();
    m_beforeImport.reset();
    m_beforeRestore = m_data;
    update([&restored](AppData& d) { d = std::move(*restored); });
    m_restoreGeneration = m_generation;
    const QString date = BackupTexts::when(when, m_language);
    m_ui.show(tr(QStringLiteral("Restored backup from %1"), QStringLiteral("%1 tarihli yedek geri yüklendi"))
                  .arg(date),
              true);
    return true;
}

bool Store::canUndoRestore() const
{
    return m_beforeRestore && m_restoreGeneration == m_generation;
}

void Store::undo()
{
    if (!canUndoRestore()) {
        m_beforeRestore.reset();
        if (canUndoImport())
            undoImport();
        else if (canUndoMove())
            undoMove();
        else
            undoDelete();
        return;
    }
    AppData before = std::move(*m_beforeRestore);
    m_beforeRestore.reset();
    update([&before](AppData& d) { d = std::move(before); });
    m_ui.show(tr(QStringLiteral("Restore undone"), QStringLiteral("Geri yükleme geri alındı")));
}
