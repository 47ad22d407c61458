#pragma once

#include <QString>
#include <functional>

// Whether the running copy is installed, and its installation: the executable (or the AppImage
// it runs from) is copied to ~/Applications/Tallybrook, a menu entry is written for it, the copy
// is started and the running one quits.
class AppLocationManager final
{
public:
    // Where things are. current() describes this process and user; tests bring their own.
    struct Paths
    {
        QString running; // the running executable, or the file in $APPIMAGE
        QString home;
        QString dataHome; // $XDG_DATA_HOME, normally ~/.local/share

        static Paths current();
        QString applicationsFolder() const;
        QString target() const;
        QString desktopEntry() const;
        QString iconFile() const;
    };
    // Starts a program detached; true when it started.
    using Launcher = std::function<bool(const QString& program)>;

    AppLocationManager() = delete;

    static bool isInApplications(const Paths& paths = Paths::current());
    // True when `path`, links resolved, lies in /usr, /opt, ~/Applications or ~/.local.
    static bool isInstalledPath(const QString& path, const QString& home);

    // The file steps, safe on any thread: replaces an older copy, copies the running one and
    // writes its menu entry. Returns the description of what failed, empty on success.
    static QString install(const Paths& paths);

    // Returns at once; the file steps run on a worker thread. When they succeed the copy is
    // launched and, once it started, `quit` runs on the main thread. When they fail the log line
    // is written and the running copy carries on.
    static void moveToApplications(const Paths& paths = Paths::current(), Launcher launch = {},
                                   std::function<void()> quit = {});

    // "Tallybrook: Failed to copy to <applications folder>: <error>"
    static QString failureLine(const Paths& paths, const QString& error);
    // The menu entry that starts `program`.
    static QString desktopEntryText(const QString& program);

    // The default launcher: the copy is one more instance of this program and would hand itself
    // over to this one if it came up now, so it is started once the process `waitForPid` ended.
    static bool startAfter(const QString& program, qint64 waitForPid);
    static bool startAfterThisProcess(const QString& program);
};
