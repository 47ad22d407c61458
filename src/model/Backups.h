#pragma once

#include <QDateTime>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

// Rolling copies of the data file in a "backups" folder beside it, named by the local time they
// were made: tallybrook-YYYYMMDD-HHMMSS.json, with "-2", "-3"… when a name is taken.
namespace Backups {

QString folderFor(const QString& dataFile);

QString fileName(const QDateTime& localTime, int number = 1);

// The local time a backup's name gives; nothing for a name that is not a backup's.
std::optional<QDateTime> timeOfName(const QString& name);

// The other side's values of fields both computers changed, kept at a merge beside the backups as
// tallybrook-conflict-YYYYMMDD-HHMMSS.json: listed with them, never pruned.
QString conflictFileName(const QDateTime& localTime, int number = 1);
std::optional<QDateTime> timeOfConflictName(const QString& name);
// Writes such a file for the data file in `dataFolder`; its path, or why it could not be written.
bool keepConflict(const QString& dataFolder, const QByteArray& bytes, const QDateTime& now,
                  QString* pathOrError);

// The backups among `names` that the rolling set no longer keeps at `now`: of the last 24 hours
// the newest 24; the newest of each day for 30 days and of each month for 12 months. Names that
// are not a backup's are never in the list.
QStringList toPrune(const QStringList& names, const QDateTime& now);

// A backup, a data file set aside because it could not be read, or a conflict kept at a merge.
struct Entry
{
    QString path;
    QDateTime time; // local
    bool setAside = false;
    bool conflict = false; // kept at a merge
    // Filled in by describe(): reading a large file takes a moment.
    bool described = false;
    bool readable = false;
    QString reason; // why it cannot be read
    int projects = 0;
    int latestYear = 0;        // of its projects' dates; 0 without projects
    double paidLatestYear = 0; // the fees of that year's paid projects
    QString currency;
};

// The backups of the data file in `dataFolder`, its conflicts and the files set aside there,
// newest first.
QVector<Entry> catalog(const QString& dataFolder);

// Reads the entry's file and fills in what it holds.
void describe(Entry& entry);

} // namespace Backups

// Decides when the data file is copied, and copies it: before the first save of a session, and
// then at most once every 15 minutes of saving. The copy is read before the save and written
// after it, so that a backup never takes the room the save needs.
class BackupKeeper
{
public:
    using Clock = std::function<QDateTime()>;
    static constexpr qint64 kIntervalSecs = 15 * 60;

    struct Copy
    {
        QByteArray bytes;
        QDateTime time;
    };

    explicit BackupKeeper(QString dataFile, Clock clock = &QDateTime::currentDateTime);

    void setClock(Clock clock);
    QDateTime now();

    // Before a save: the file as it is on disk when a backup is due; nothing when none is due or
    // there is no file yet, or when it cannot be read (`error` then says why).
    std::optional<Copy> due(QString* error);

    // Writes a copy into the backups folder and applies the rolling set; the new backup's path, or
    // the reason it could not be made.
    bool write(const Copy& copy, QString* pathOrError);

    // A copy taken by due() was not needed after all (the save failed): the next save takes one.
    void keepDue();

    // One save of the data file with the backup around it: due(), the save, then write() when it
    // succeeded. A backup that could not be made waits in takeFailure(); the save's result is
    // returned as it is.
    bool aroundSave(const std::function<bool()>& save);
    std::optional<QString> takeFailure();

    // Both steps at once, whenever the last backup was made.
    bool backUpNow(QString* pathOrError);

private:
    std::optional<Copy> read(QString* error);

    QString m_dataFile;
    Clock m_clock;
    std::optional<QDateTime> m_last;
    std::optional<QString> m_failure;
    // The saving thread and a restore may both make backups.
    QMutex m_mutex;
};
