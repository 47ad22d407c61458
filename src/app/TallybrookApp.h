#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class AppCommands;
class QIcon;
class MainWindow;
class MenuBarExtra;
class QuitSignals;
class Store;

// The running application: the one Store, the menu commands, the tray icon and the main
// window, and the rules that keep the task-bar entry and the tray icon in step.
class TallybrookApp final : public QObject
{
    Q_OBJECT

public:
    // Creates the Store: call only while this process holds the single-instance lock. An empty
    // dataFolder: the one the preferences name. `beforeWidgets` runs once the Store has read its
    // file, before any widget is made.
    explicit TallybrookApp(const QString& dataFolder = QString(), QObject* parent = nullptr,
                           const std::function<void()>& beforeWidgets = {});
    ~TallybrookApp() override;

    // Launch: task-bar presence, tray icon, main window.
    void start();

    Store* store() const { return m_store; }
    AppCommands* commands() const { return m_commands; }
    MenuBarExtra* menuBarExtra() const { return m_extra; }
    // The main window when one exists.
    MainWindow* mainWindow() const;

    // Brings the main window forward: restores it when minimised, shows it when hidden and
    // builds a new one when it was closed.
    MainWindow* showMainWindow();
    // Another start of the program asked for the window.
    void reopen();

    // A desktop starting its tray host after the program (autostart) gets this long before the
    // program concludes there is no tray.
    static constexpr int kTrayWaitMs = 5000;
    // The wait for a tray host at start is over (its timer, or a test, calls this).
    void endTrayWait();
    bool waitingForTray() const { return m_trayWait.isActive(); }
    // The tray host came or went (the periodic check, or a test, calls this).
    void trayHostChanged();

    // The icon the desktop entry installs, for every window of the application.
    static QIcon applicationIcon();

    // The whole program: single-instance check, look, application, event loop. `started` runs
    // once the application is up (test programs use it).
    static int run(int& argc, char** argv, const std::function<void(TallybrookApp&)>& started = {});

private:
    void preferenceChanged(const QString& key);
    void applyMenuBarPresence();
    void keepOnePresence();
    void updateTaskbarEntry();
    void mainWindowGone();

    // Made in the constructor, once the lock is held, as a child; the views get it by reference.
    Store* m_store;
    QuitSignals* m_quitSignals;
    AppCommands* m_commands;
    MenuBarExtra* m_extra;
    QTimer m_trayWait;
    bool m_stopping = false;
};
