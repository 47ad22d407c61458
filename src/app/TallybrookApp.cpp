#include "app/TallybrookApp.h"

#include "app/AppCommands.h"
#include "app/MenuBarExtra.h"
#include "app/MoveOffer.h"
#include "app/Presence.h"
#include "app/QuitSignals.h"
#include "app/SingleInstance.h"
#include "board/MainWindow.h"
#include "model/PreferenceSignals.h"
#include "model/Preferences.h"
#include "model/Store.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>
#include <cstring>

TallybrookApp::TallybrookApp(QObject* parent) : QObject(parent)
{
    m_store = new Store(false, this);
    m_quitSignals = new QuitSignals(this);
#if QT_CONFIG(sessionmanager)
    // Logging out of an X11 session may end the process without aboutToQuit.
    connect(qApp, &QGuiApplication::commitDataRequest, m_store,
            [this](QSessionManager&) { m_store->saveBeforeQuit(); });
#endif
    m_commands = new AppCommands(
        m_store, [this]() -> QWidget* { return showMainWindow(); }, this);
    m_extra = new MenuBarExtra(
        m_store, [this] { showMainWindow(); }, this);
    connect(PreferenceSignals::instance(), &PreferenceSignals::changed, this,
            &TallybrookApp::preferenceChanged);
}

TallybrookApp::~TallybrookApp()
{
    delete mainWindow();
}

void TallybrookApp::start()
{
    Presence::observeWindows();
    applyMenuBarPresence();
    showMainWindow();
}

MainWindow* TallybrookApp::mainWindow() const
{
    return qobject_cast<MainWindow*>(Presence::mainWindow());
}

MainWindow* TallybrookApp::showMainWindow()
{
    MainWindow* window = mainWindow();
    if (!window) {
        window = new MainWindow(m_store);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->installMenuBar(m_commands->createMenuBar(window));
        connect(window, &MainWindow::opened, this, [this, window] {
            Presence::configureMinimizeButton(Presence::showsInDock());
            MoveOffer::offerIfNeeded(window, *m_store);
        });
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            QRect frame(QPoint(), window->size().boundedTo(area.size()));
            frame.moveCenter(area.center());
            window->setGeometry(frame);
        }
    }
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void TallybrookApp::reopen()
{
    showMainWindow();
}

void TallybrookApp::preferenceChanged(const QString& key)
{
    if (key == QLatin1String(Preferences::kShowInDock)) {
        Presence::applyDock(Presence::showsInDock());
        keepOnePresence();
    } else if (key == QLatin1String(Preferences::kShowInMenuBar)) {
        applyMenuBarPresence();
    }
}

void TallybrookApp::applyMenuBarPresence()
{
    m_extra->setPresent(Presence::showsInMenuBar());
    keepOnePresence();
}

void TallybrookApp::keepOnePresence()
{
    // Never neither: without a tray icon to come back through, the window keeps its entry.
    if (!Presence::showsInDock() && !m_extra->isShowing())
        Preferences::setBoolean(Preferences::kShowInDock, true); // applied through preferenceChanged
}

namespace {

// Without a display Qt aborts with a terse message; say what to do instead.
bool displayAvailable(int argc, char** argv)
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return false;
}

// For start-up measurements: quit once the main window has painted its first frame.
class QuitAfterFirstPaint final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && qobject_cast<MainWindow*>(widget->window())) {
                m_done = true;
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            }
        }
        return false;
    }

private:
    bool m_done = false;
};

} // namespace

int TallybrookApp::run(int& argc, char** argv, const std::function<void(TallybrookApp&)>& started)
{
    if (!displayAvailable(argc, argv)) {
        std::fprintf(stderr,
                     "Tallybrook needs a graphical desktop, and none was found (DISPLAY and WAYLAND_DISPLAY "
                     "are not set).\nStart it from a desktop session, or inside a virtual display:\n"
                     "    xvfb-run -a %s\n",
                     argc > 0 ? argv[0] : "tallybrook");
        return 1;
    }
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("TALLYBROOK_QUIT_AFTER_FIRST_PAINT"))
        app.installEventFilter(new QuitAfterFirstPaint(&app));
    QApplication::setOrganizationName(QStringLiteral("Tallybrook"));
    QApplication::setApplicationName(QStringLiteral("Tallybrook"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tallybrook"));
    // Closing the window leaves the application running in the tray.
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance;
    switch (instance.acquire()) {
    case SingleInstance::Role::primary:
        break;
    case SingleInstance::Role::secondary:
        if (instance.askPrimaryToReopen())
            return 0;
        std::fprintf(stderr, "Tallybrook is already running but did not answer.\n");
        return 1;
    case SingleInstance::Role::failed:
        std::fprintf(stderr, "Tallybrook cannot start: %s.\n", qPrintable(instance.errorString()));
        return 1;
    }

    Theme::applyLightLook(app);
    TallybrookApp tallybrook; // only now, with the lock held, is the data file opened
    connect(&instance, &SingleInstance::reopenRequested, &tallybrook, &TallybrookApp::reopen);
    tallybrook.start();
    if (started)
        started(tallybrook);
    return app.exec();
}
