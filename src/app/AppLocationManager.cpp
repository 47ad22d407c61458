#include "app/AppLocationManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThreadPool>
#include <QtDebug>

// Resources of a static library are only linked in when something refers to them.
static void initInstallResources()
{
    Q_INIT_RESOURCE(AppLocation);
}

namespace {

const QString kTemplate = QStringLiteral(":/install/tallybrook.desktop.in");
const QString kIcon = QStringLiteral(":/install/tallybrook.svg");

QString resolved(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool liesUnder(const QString& path, const QString& folder)
{
    if (folder.isEmpty())
        return false;
    if (folder == QLatin1String("/"))
        return true;
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// Desktop entry values are strings with backslash escapes.
QString escapeValue(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return text;
}

// One quoted argument of an Exec key; the result still goes through escapeValue.
QString quoteExecArgument(const QString& argument)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

QString readResource(const QString& name)
{
    static const bool registered = (initInstallResources(), true);
    Q_UNUSED(registered);
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("Could not create the folder %1").arg(folder);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return QStringLiteral("Could not write %1: %2").arg(path, error);
    }
    if (!file.commit())
        return QStringLiteral("Could not write %1: %2").arg(path, file.errorString());
    return {};
}

QString removeExisting(const QString& target)
{
    const QFileInfo info(target);
    if (!info.exists() && !info.isSymLink())
        return {};
    if (info.isDir() && !info.isSymLink()) {
        if (!QDir(target).removeRecursively())
            return QStringLiteral("Could not remove the older copy at %1").arg(target);
        return {};
    }
    QFile file(target);
    if (!file.remove())
        return QStringLiteral("Could not remove the older copy at %1: %2").arg(target, file.errorString());
    return {};
}

} // namespace

AppLocationManager::Paths AppLocationManager::Paths::current()
{
    Paths paths;
    paths.running = qEnvironmentVariable("APPIMAGE");
    if (paths.running.isEmpty())
        paths.running = QCoreApplication::applicationFilePath();
    paths.home = QDir::homePath();
    paths.dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return paths;
}

QString AppLocationManager::Paths::applicationsFolder() const
{
    return QDir::cleanPath(home + QStringLiteral("/Applications"));
}

QString AppLocationManager::Paths::target() const
{
    return applicationsFolder() + QStringLiteral("/Tallybrook");
}

QString AppLocationManager::Paths::desktopEntry() const
{
    return QDir::cleanPath(dataHome + QStringLiteral("/applications/tallybrook.desktop"));
}

QString AppLocationManager::Paths::iconFile() const
{
    return QDir::cleanPath(dataHome + QStringLiteral("/icons/hicolor/scalable/apps/tallybrook.svg"));
}

bool AppLocationManager::isInApplications(const Paths& paths)
{
    return isInstalledPath(paths.running, paths.home);
}

bool AppLocationManager::isInstalledPath(const QString& path, const QString& home)
{
    if (path.isEmpty())
        return false;
    const QString file = resolved(path);
    QStringList folders{QStringLiteral("/usr"), QStringLiteral("/opt")};
    if (!home.isEmpty())
        folders << home + QStringLiteral("/Applications") << home + QStringLiteral("/.local");
    for (const QString& folder : std::as_const(folders)) {
        // A home reached through a link (/home -> /var/home) counts in both spellings.
        if (liesUnder(file, QDir::cleanPath(folder)) ||
            liesUnder(file, QFileInfo(folder).canonicalFilePath()))
            return true;
    }
    return false;
}

QString AppLocationManager::install(const Paths& paths)
{
    const QFileInfo source(resolved(paths.running));
    if (!source.isFile())
        return QStringLiteral("The running program was not found at %1").arg(paths.running);
    const QString target = paths.target();
    const QFileInfo existing(target);
    // Removing the "older copy" must never remove the running one itself.
    if (!existing.isSymLink() && existing.canonicalFilePath() == source.filePath())
        return QStringLiteral("The running program already is %1").arg(target);

    if (!QDir().mkpath(paths.applicationsFolder()))
        return QStringLiteral("Could not create the folder %1").arg(paths.applicationsFolder());
    if (const QString error = removeExisting(target); !error.isEmpty())
        return error;
    QFile file(source.filePath());
    if (!file.copy(target))
        return file.errorString();
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::ReadOwner |
                                      QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    const QString entry = desktopEntryText(target);
    if (entry.isEmpty())
        return QStringLiteral("The menu entry template is missing");
    if (const QString error = writeFile(paths.desktopEntry(), entry.toUtf8()); !error.isEmpty())
        return error;
    // Without the icon the entry still works, with the desktop's generic one.
    if (const QString icon = readResource(kIcon); !icon.isEmpty())
        writeFile(paths.iconFile(), icon.toUtf8());
    return {};
}

void AppLocationManager::moveToApplications(const Paths& paths, Launcher launch, std::function<void()> quit)
{
    if (!launch)
        launch = &AppLocationManager::startAfterThisProcess;
    if (!quit)
        quit = [] { QCoreApplication::quit(); };
    QObject* mainThread = QCoreApplication::instance();
    QThreadPool::globalInstance()->start([paths, launch, quit, mainThread] {
        const QString error = install(paths);
        QMetaObject::invokeMethod(
            mainThread,
            [paths, launch, quit, error] {
                if (!error.isEmpty()) {
                    qWarning().noquote() << failureLine(paths, error);
                    return;
                }
                if (launch(paths.target()))
                    quit();
            },
            Qt::QueuedConnection);
    });
}

QString AppLocationManager::failureLine(const Paths& paths, const QString& error)
{
    return QStringLiteral("Tallybrook: Failed to copy to %1: %2").arg(paths.applicationsFolder(), error);
}

QString AppLocationManager::desktopEntryText(const QString& program)
{
    QString text = readResource(kTemplate);
    if (text.isEmpty())
        return {};
    text.replace(QLatin1String("@TALLYBROOK_EXEC@"), escapeValue(quoteExecArgument(program)));
    text.replace(QLatin1String("@TALLYBROOK_TRYEXEC@"), escapeValue(program));
    return text;
}

bool AppLocationManager::startAfter(const QString& program, qint64 waitForPid)
{
    // Waits at most a minute, then starts anyway.
    static const QString script =
        QStringLiteral("i=0; while kill -0 \"$1\" 2>/dev/null && [ $i -lt 600 ]; do "
                       "sleep 0.1; i=$((i+1)); done; exec \"$2\"");
    QProcess process;
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments({QStringLiteral("-c"), script, QStringLiteral("tallybrook-start"),
                          QString::number(waitForPid), program});
    process.setWorkingDirectory(QDir::homePath());
    // The AppImage runtime of the copy sets these afresh; stale ones would point at this one.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"APPIMAGE", "APPDIR", "ARGV0", "OWD"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    return process.startDetached();
}

bool AppLocationManager::startAfterThisProcess(const QString& program)
{
    return startAfter(program, QCoreApplication::applicationPid());
}
