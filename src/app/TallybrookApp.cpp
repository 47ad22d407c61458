#include "app/TallybrookApp.h"

#include "app/AppAccessible.h"
#include "app/AppCommands.h"
#include "app/CommandLine.h"
#include "app/FirstPaintReport.h"
#include "app/MenuBarExtra.h"
#include "app/MoveOffer.h"
#include "app/Presence.h"
#include "app/SingleInstance.h"
#include "i18n/CurrencyRate.h"
#include "model/PreferenceSignals.h"
#include "model/Preferences.h"
#include "model/QuitSignals.h"
#include "model/Store.h"
#include "ui/Icons.h"
#include "ui/Theme.h"
#include "ui/TrayHost.h"
#include "window/MainWindow.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QFontDatabase>
#include <QIcon>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <thread>
#include <utility>

TallybrookApp::TallybrookApp(const QString& dataFolder, QObject* parent,
                             const std::function<void()>& beforeWidgets)
    : QObject(parent)
{
    m_store = dataFolder.isEmpty() ? new Store(false, this) : new Store(dataFolder, false, this);
    if (beforeWidgets)
        beforeWidgets();
    // A sync engine may bring another computer's changes at any time.
    m_store->startWatching();
    m_quitSignals = new QuitSignals(this);
#if QT_CONFIG(sessionmanager)
    // Logging out of an X11 session may end the process without aboutToQuit.
    connect(qApp, &QGuiApplication::commitDataRequest, m_store,
            [this](QSessionManager&) { m_store->saveBeforeQuit(); });
#endif
    m_commands = new AppCommands(
        *m_store, [this]() -> QWidget* { return showMainWindow(); }, this);
    m_extra = new MenuBarExtra(
        *m_store, [this] { showMainWindow(); }, this);
    connect(PreferenceSignals::instance(), &PreferenceSignals::changed, this,
            &TallybrookApp::preferenceChanged);
    connect(TrayHost::instance(), &TrayHost::availabilityChanged, this, &TallybrookApp::trayHostChanged);
    m_trayWait.setSingleShot(true);
    m_trayWait.setInterval(kTrayWaitMs);
    connect(&m_trayWait, &QTimer::timeout, this, &TallybrookApp::endTrayWait);
    // Whether closing the window ends the program depends on the tray icon (mainWindowGone).
    QApplication::setQuitOnLastWindowClosed(false);
}

TallybrookApp::~TallybrookApp()
{
    m_stopping = true;
    delete mainWindow();
    // The next application object of a test process starts from a tray it has not seen yet.
    Presence::setTrayIconOnScreen(true);
}

QIcon TallybrookApp::applicationIcon()
{
    // The scalable icon the desktop entry installs (AppLocationManager writes the same file), drawn
    // at the sizes asked for: given the file, QIcon would load an icon plugin before the window.
    static const QIcon icon = Icons::onDemand([](int side, QIcon::Mode) {
        return Icons::drawing(QStringLiteral(":/install/tallybrook.svg"), side);
    });
    return icon;
}

namespace {
// Calls `then` at the main window's first paint event (its first frame is being painted), or
// `turns` turns of the event loop later, so after what that frame queued; at the latest after
// `latestMs` when that is not negative, for a window that paints nothing.
class FirstPaintWatch final : public QObject
{
public:
    FirstPaintWatch(QObject* parent, int turns, std::function<void()> then, int latestMs = -1)
        : QObject(parent), m_turns(turns), m_then(std::move(then))
    {
        qApp->installEventFilter(this);
        if (latestMs >= 0)
            QTimer::singleShot(latestMs, this, &FirstPaintWatch::fire);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            const auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && qobject_cast<MainWindow*>(widget->window())) {
                m_seen = true;
                qApp->removeEventFilter(this);
                after(m_turns);
            }
        }
        return false;
    }

private:
    void after(int turns)
    {
        if (turns == 0)
            fire();
        else
            QTimer::singleShot(0, this, [this, turns] { after(turns - 1); });
    }
    void fire()
    {
        if (!m_then)
            return;
        qApp->removeEventFilter(this);
        std::exchange(m_then, nullptr)();
        deleteLater();
    }
    int m_turns;
    std::function<void()> m_then;
    bool m_seen = false;
};
} // namespace

void TallybrookApp::start()
{
    Presence::observeWindows();
    TrayHost::instance()->watch();
    if (!TrayHost::available())
        m_trayWait.start();
    m_extra->setHeld(true);
    applyMenuBarPresence();
    showMainWindow();
    // Two turns after the first paint event: the frame is on screen, and what it queued (the
    // start-up measurement's report among it) has run. A window that paints nothing within a
    // second holds these back no longer. Over https the rate's request loads TLS first; the
    // window icon, set before the window maps, is drawn at four sizes for X11 and read by the
    // window manager and the panel while the first frame is being painted.
    new FirstPaintWatch(
        this, 2,
        [extra = QPointer<MenuBarExtra>(m_extra)] {
            if (extra)
                extra->setHeld(false);
            QApplication::setWindowIcon(applicationIcon());
            CurrencyRate::fetchLiveRate();
        },
        1000);
}

void TallybrookApp::endTrayWait()
{
    m_trayWait.stop();
    updateTaskbarEntry();
}

void TallybrookApp::trayHostChanged()
{
    if (TrayHost::available())
        m_trayWait.stop();
    updateTaskbarEntry();
}

void TallybrookApp::updateTaskbarEntry()
{
    // While the program waits for a late tray host it keeps the user's choice on screen.
    const bool trayOnScreen = m_extra->isPresent() && (TrayHost::available() || m_trayWait.isActive());
    const bool had = Presence::hasTaskbarEntry();
    Presence::setTrayIconOnScreen(trayOnScreen);
    const bool has = Presence::hasTaskbarEntry();
    if (had == has)
        return;
    Presence::configureMinimizeButton(has);
    // The tray went with the window hidden in it (or closed): the window is the way back now.
    MainWindow* window = mainWindow();
    if (has && (!window || !window->isVisible()))
        showMainWindow();
}

void TallybrookApp::mainWindowGone()
{
    // Without a tray icon on screen nothing would be left to come back through.
    if (m_stopping || m_extra->isShowing())
        return;
    m_store->saveBeforeQuit();
    QCoreApplication::quit();
}

MainWindow* TallybrookApp::mainWindow() const
{
    return qobject_cast<MainWindow*>(Presence::mainWindow());
}

MainWindow* TallybrookApp::showMainWindow()
{
    MainWindow* window = mainWindow();
    if (!window) {
        window = new MainWindow(*m_store);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->installMenuBar(m_commands->createMenuBar(window));
        connect(window, &QObject::destroyed, this, &TallybrookApp::mainWindowGone);
        connect(window, &MainWindow::opened, this, [this, window] {
            Presence::configureMinimizeButton(Presence::hasTaskbarEntry());
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
        keepOnePresence();
        updateTaskbarEntry();
        Presence::applyDock(Presence::hasTaskbarEntry());
    } else if (key == QLatin1String(Preferences::kShowInMenuBar)) {
        applyMenuBarPresence();
    }
}

void TallybrookApp::applyMenuBarPresence()
{
    m_extra->setPresent(Presence::showsInMenuBar());
    keepOnePresence();
    updateTaskbarEntry();
}

void TallybrookApp::keepOnePresence()
{
    // Never neither: the user taking the tray icon away brings the task-bar entry back for good.
    // A missing tray host does not: it only lends the windows an entry while it is gone
    // (updateTaskbarEntry), and the stored choice holds for the day it comes back.
    if (!Presence::showsInDock() && !m_extra->isPresent())
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

// Qt's font database (fontconfig's configuration and caches, then the list of fonts) is read the
// first time a font is asked for: several milliseconds of a start. On a thread, that runs beside
// the single-instance check and the data's loading. Not beside a large document's: its reading
// keeps both processors busy, and the database's memory would add to the reading's peak.
class FontsAhead
{
public:
    explicit FontsAhead(qint64 documentSize)
    {
        if (documentSize > kLargestDocument || std::thread::hardware_concurrency() < 2)
            return;
        try {
            m_thread = std::thread([] { (void)QFontDatabase::families(); });
        } catch (const std::system_error&) { // no thread: Qt reads it all when it needs it
        }
    }
    ~FontsAhead() { finish(); }
    FontsAhead(const FontsAhead&) = delete;
    FontsAhead& operator=(const FontsAhead&) = delete;

    // Before the first font: Qt would otherwise read it all a second time beside the thread.
    void finish()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    static constexpr qint64 kLargestDocument = qint64(1) << 20; // about 3,000 projects
    std::thread m_thread;
};

// A line of /proc/self/status in KiB ("VmRSS", "VmHWM"), or -1.
long statusKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

} // namespace

int TallybrookApp::run(int& argc, char** argv, const std::function<void(TallybrookApp&)>& started)
{
    QString dataFolder;
    if (const std::optional<int> done = CommandLine::run(argc, argv, &dataFolder))
        return *done;
    if (!displayAvailable(argc, argv)) {
        std::fprintf(stderr,
                     "Tallybrook needs a graphical desktop, and none was found (DISPLAY and WAYLAND_DISPLAY "
                     "are not set).\nStart it from a desktop session, or inside a virtual display:\n"
                     "    xvfb-run -a %s\n",
                     argc > 0 ? argv[0] : "tallybrook");
        return 1;
    }
    AppAccessible::install();
    QApplication app(argc, argv);
    // For start-up measurements: quit once the main window has painted its first frame, and with
    // TALLYBROOK_MEMORY_REPORT set, tell the resident memory after the load and the peak so far.
    const bool measuring = qEnvironmentVariableIsSet("TALLYBROOK_QUIT_AFTER_FIRST_PAINT");
    long afterLoadKiB = -1;
    if (measuring)
        new FirstPaintWatch(&app, 0, [&afterLoadKiB] {
            if (qEnvironmentVariableIsSet("TALLYBROOK_MEMORY_REPORT"))
                std::fprintf(stderr, "memory: after-load %ld KiB, peak %ld KiB\n", afterLoadKiB,
                             statusKiB("VmHWM"));
            reportFirstPaintAndQuit();
        });
    QApplication::setOrganizationName(QStringLiteral("Tallybrook"));
    QApplication::setApplicationName(QStringLiteral("Tallybrook"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tallybrook"));

    // Goes before the application does.
    FontsAhead fonts(Store::dataFileSize(dataFolder.isEmpty() ? Store::namedDataFolder() : dataFolder));
    SingleInstance instance;
    switch (instance.acquire()) {
    case SingleInstance::Role::primary:
        break;
    case SingleInstance::Role::secondary:
        if (!dataFolder.isEmpty())
            std::fprintf(stderr, "Tallybrook is already running with its own data folder; --data-folder was "
                                 "not applied.\n");
        if (instance.askPrimaryToReopen())
            return 0;
        std::fprintf(stderr, "Tallybrook is already running but did not answer.\n");
        return 1;
    case SingleInstance::Role::failed:
        std::fprintf(stderr, "Tallybrook cannot start: %s.\n", qPrintable(instance.errorString()));
        return 1;
    }

    // Only now, with the lock held, is the data file opened. The look (and with it the font
    // database) comes after the reading, whose peak memory it would otherwise add to.
    TallybrookApp tallybrook(dataFolder, nullptr, [&] {
        if (measuring)
            afterLoadKiB = statusKiB("VmRSS");
        fonts.finish();
        Theme::applyLightLook(app);
    });
    connect(&instance, &SingleInstance::reopenRequested, &tallybrook, &TallybrookApp::reopen);
    tallybrook.start();
    if (started)
        started(tallybrook);
    return app.exec();
}
