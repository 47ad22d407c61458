#include "model/Backups.h"

#include "model/AtomicWrite.h"
#include "model/DataFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <utility>

namespace {
// Larger than any data file the program reads.
constexpr qint64 kMaxCopyBytes = qint64(256) << 20;
} // namespace

namespace Backups {

namespace {

constexpr int kRecentCount = 24;
constexpr int kDays = 30;
constexpr int kMonths = 12;

const QRegularExpression& namePattern()
{
    static const QRegularExpression re(QStringLiteral(
        "^tallybrook-(\\d{4})(\\d{2})(\\d{2})-(\\d{2})(\\d{2})(\\d{2})(?:-([1-9]\\d{0,5}))?\\.json$"));
    return re;
}

const QRegularExpression& conflictPattern()
{
    static const QRegularExpression re(
        QStringLiteral("^tallybrook-conflict-(\\d{4})(\\d{2})(\\d{2})-(\\d{2})(\\d{2})("
                       "\\d{2})(?:-([1-9]\\d{0,5}))?\\.json$"));
    return re;
}

std::optional<QDateTime> timeIn(const QString& name, const QRegularExpression& pattern)
{
    const QRegularExpressionMatch m = pattern.match(name);
    if (!m.hasMatch())
        return std::nullopt;
    const auto n = [&m](int i) { return m.captured(i).toInt(); };
    const QDate date(n(1), n(2), n(3));
    const QTime time(n(4), n(5), n(6));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::LocalTime);
}

struct Dated
{
    QString name;
    QDateTime time;
    int number = 1;
};

int monthIndex(const QDate& d)
{
    return d.year() * 12 + d.month() - 1;
}

} // namespace

QString folderFor(const QString& dataFile)
{
    return QFileInfo(dataFile).absolutePath() + QStringLiteral("/backups");
}

QString fileName(const QDateTime& localTime, int number)
{
    QString name = QStringLiteral("tallybrook-") + localTime.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (number > 1)
        name += QLatin1Char('-') + QString::number(number);
    return name + QStringLiteral(".json");
}

std::optional<QDateTime> timeOfName(const QString& name)
{
    return timeIn(name, namePattern());
}

QString conflictFileName(const QDateTime& localTime, int number)
{
    return QStringLiteral("tallybrook-conflict-") + fileName(localTime, number).mid(11);
}

std::optional<QDateTime> timeOfConflictName(const QString& name)
{
    return timeIn(name, conflictPattern());
}

bool keepConflict(const QString& dataFolder, const QByteArray& bytes, const QDateTime& now,
                  QString* pathOrError)
{
    const QString folder = dataFolder + QStringLiteral("/backups");
    QString path;
    for (int n = 1; n < 1000; ++n) {
        path = folder + QLatin1Char('/') + conflictFileName(now, n);
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            break;
    }
    if (!AtomicWrite::write(path, bytes, pathOrError))
        return false;
    if (pathOrError)
        *pathOrError = path;
    return true;
}

QStringList toPrune(const QStringList& names, const QDateTime& now)
{
    QVector<Dated> entries;
    for (const QString& name : names) {
        const auto time = timeOfName(name);
        if (!time)
            continue;
        const QString number = namePattern().match(name).captured(7);
        entries.append({name, *time, number.isEmpty() ? 1 : number.toInt()});
    }
    // Newest first; within one second the higher number came later.
    std::sort(entries.begin(), entries.end(), [](const Dated& a, const Dated& b) {
        return a.time != b.time ? a.time > b.time : a.number > b.number;
    });

    QSet<QString> keep;
    const QDateTime dayAgo = now.addSecs(-24 * 3600);
    int recent = 0;
    const QDate firstDay = now.date().addDays(-(kDays - 1));
    const int firstMonth = monthIndex(now.date()) - (kMonths - 1);
    QSet<qint64> days;
    QSet<int> months;
    for (const Dated& e : std::as_const(entries)) {
        // A backup dated after `now` (the clock was set back) counts as recent.
        if (e.time > dayAgo && recent < kRecentCount) {
            keep.insert(e.name);
            ++recent;
        }
        const QDate day = e.time.date();
        if (day >= firstDay && !days.contains(day.toJulianDay())) {
            days.insert(day.toJulianDay());
            keep.insert(e.name);
        }
        const int month = monthIndex(day);
        if (month >= firstMonth && !months.contains(month)) {
            months.insert(month);
            keep.insert(e.name);
        }
    }
    QStringList prune;
    for (const Dated& e : std::as_const(entries)) {
        if (!keep.contains(e.name))
            prune.append(e.name);
    }
    return prune;
}

QVector<Entry> catalog(const QString& dataFolder)
{
    QVector<Entry> out;
    const QString folder = dataFolder + QStringLiteral("/backups");
    for (const QString& name : QDir(folder).entryList({QStringLiteral("tallybrook-*.json")}, QDir::Files)) {
        const auto time = timeOfName(name);
        const auto conflictTime = time ? std::nullopt : timeOfConflictName(name);
        if (time || conflictTime) {
            Entry e;
            e.path = folder + QLatin1Char('/') + name;
            e.time = time ? *time : *conflictTime;
            e.conflict = conflictTime.has_value();
            out.append(e);
        }
    }
    // Set aside as tallybrook-unreadable-SECONDS.json, or with "-2", "-3"… in the same second.
    static const QRegularExpression aside(
        QStringLiteral("^tallybrook-unreadable-(\\d{1,12})(?:-\\d{1,3})?\\.json$"));
    for (const QString& name :
         QDir(dataFolder).entryList({QStringLiteral("tallybrook-unreadable-*.json")}, QDir::Files)) {
        const QRegularExpressionMatch m = aside.match(name);
        if (!m.hasMatch())
            continue;
        Entry e;
        e.path = dataFolder + QLatin1Char('/') + name;
        e.time = QDateTime::fromSecsSinceEpoch(m.captured(1).toLongLong(), Qt::LocalTime);
        e.setAside = true;
        out.append(e);
    }
    // Within one second, the higher number is the later.
    const auto number = [](const Entry& e) {
        const QString name = QFileInfo(e.path).fileName();
        const QString n = (e.conflict ? conflictPattern() : namePattern()).match(name).captured(7);
        return n.isEmpty() ? 1 : n.toInt();
    };
    std::sort(out.begin(), out.end(), [&number](const Entry& a, const Entry& b) {
        return a.time != b.time ? a.time > b.time : number(a) > number(b);
    });
    return out;
}

void describe(Entry& entry)
{
    entry.described = true;
    QString error;
    const std::optional<QByteArray> bytes = SafeRead::regularFile(entry.path, kMaxCopyBytes, &error);
    const std::optional<AppData> data = bytes ? DataFile::decode(*bytes, &error) : std::nullopt;
    if (!data) {
        entry.reason = error;
        return;
    }
    entry.readable = true;
    entry.projects = int(data->projects.size());
    entry.currency = data->currency;
    for (const Project& p : data->projects)
        entry.latestYear = std::max(entry.latestYear, p.year());
    for (const Project& p : data->projects) {
        if (p.status == Status::paid && p.year() == entry.latestYear)
            entry.paidLatestYear += p.fee;
    }
}

} // namespace Backups

BackupKeeper::BackupKeeper(QString dataFile, Clock clock)
    : m_dataFile(std::move(dataFile)), m_clock(std::move(clock))
{}

void BackupKeeper::setClock(Clock clock)
{
    const QMutexLocker lock(&m_mutex);
    m_clock = std::move(clock);
}

QDateTime BackupKeeper::now()
{
    const QMutexLocker lock(&m_mutex);
    return m_clock();
}

std::optional<BackupKeeper::Copy> BackupKeeper::due(QString* error)
{
    const QMutexLocker lock(&m_mutex);
    const QDateTime now = m_clock();
    // A clock set back makes the next save due at once.
    if (m_last && m_last->secsTo(now) < kIntervalSecs && m_last->secsTo(now) >= 0)
        return std::nullopt;
    if (!QFileInfo::exists(m_dataFile))
        return std::nullopt;
    // Tried once per interval, also when it fails: a full disk is not tried again on every save.
    m_last = now;
    return read(error);
}

std::optional<BackupKeeper::Copy> BackupKeeper::read(QString* error)
{
    std::optional<QByteArray> bytes = SafeRead::regularFile(m_dataFile, kMaxCopyBytes, error);
    if (!bytes)
        return std::nullopt;
    return Copy{std::move(*bytes), m_clock()};
}

bool BackupKeeper::write(const Copy& copy, QString* pathOrError)
{
    const QMutexLocker lock(&m_mutex);
    const auto fail = [pathOrError](const QString& why) {
        if (pathOrError)
            *pathOrError = why;
        return false;
    };
    const QString folder = Backups::folderFor(m_dataFile);
    QString error;
    if (!AtomicWrite::makePath(folder, &error))
        return fail(error);
    if (!QFileInfo(folder).isDir())
        return fail(QStringLiteral("“%1” is not a folder.").arg(folder));
    QString path;
    for (int number = 1;; ++number) {
        if (number > 999)
            return fail(QStringLiteral("Too many backups made in the same second."));
        path = folder + QLatin1Char('/') + Backups::fileName(copy.time, number);
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            break;
    }
    if (!AtomicWrite::write(path, copy.bytes, &error))
        return fail(error);
    const QStringList names = QDir(folder).entryList({QStringLiteral("tallybrook-*.json")}, QDir::Files);
    for (const QString& name : Backups::toPrune(names, copy.time))
        QFile::remove(folder + QLatin1Char('/') + name);
    if (pathOrError)
        *pathOrError = path;
    return true;
}

void BackupKeeper::keepDue()
{
    const QMutexLocker lock(&m_mutex);
    m_last.reset();
}

bool BackupKeeper::aroundSave(const std::function<bool()>& save)
{
    QString error;
    const std::optional<Copy> copy = due(&error);
    const bool saved = save();
    if (copy && saved) {
        if (!write(*copy, &error)) {
            const QMutexLocker lock(&m_mutex);
            m_failure = error;
        }
    } else if (copy) {
        keepDue();
    }
    return saved;
}

std::optional<QString> BackupKeeper::takeFailure()
{
    const QMutexLocker lock(&m_mutex);
    return std::exchange(m_failure, std::nullopt);
}

bool BackupKeeper::backUpNow(QString* pathOrError)
{
    std::optional<Copy> copy;
    {
        const QMutexLocker lock(&m_mutex);
        copy = read(pathOrError);
        if (!copy)
            return false;
        m_last = copy->time;
    }
    return write(*copy, pathOrError);
}
