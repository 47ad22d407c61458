#include "LoadedLibraries.h"
#include "TestMain.h"

#include "app/AppCommands.h"
#include "app/MenuBarExtra.h"
#include "app/MenuBarPanel.h"
#include "app/Presence.h"
#include "app/TallybrookApp.h"
#include "model/Preferences.h"
#include "model/Store.h"
#include "ui/Animations.h"
#include "ui/Theme.h"
#include "window/MainWindow.h"
#include "window/MainWindowSheet.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QNetworkReply>
#include <QScopeGuard>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>
#include <QSystemTrayIcon>
#include <QTcpServer>
#include <memory>

// Calls `seen` with every event the application delivers, while it lives.
class EventWatch final : public QObject
{
public:
    explicit EventWatch(std::function<void(QObject*, QEvent*)> seen) : m_seen(std::move(seen))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        m_seen(watched, event);
        return false;
    }

private:
    std::function<void(QObject*, QEvent*)> m_seen;
};

class TestPresence : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TallybrookApp> m_app;

    void start(bool dock, bool menuBar)
    {
        Preferences::setBoolean(Preferences::kShowInDock, dock);
        Preferences::setBoolean(Preferences::kShowInMenuBar, menuBar);
        m_app = std::make_unique<TallybrookApp>();
        m_app->start();
    }

    QString storedText() const
    {
        QFile f(Store::defaultDataFolder() + QStringLiteral("/tallybrook.json"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    // Closes the main window from inside the event loop, as the user does, and runs the loop
    // until the application quits (0) or `ms` pass (7).
    int closeAndRun(int ms)
    {
        QTimer::singleShot(0, m_app->mainWindow(), &QWidget::close);
        return runUntilQuit(ms);
    }
    static int runUntilQuit(int ms)
    {
        QTimer giveUp;
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, qApp, [] { QCoreApplication::exit(7); });
        giveUp.start(ms);
        return QCoreApplication::exec();
    }

private slots:
    void initTestCase()
    {
        Animations::setEnabled(false);
        Preferences::setBoolean(Preferences::kDismissedMoveToApps, true);
    }
    void init() { MenuBarExtra::setTrayAvailableForTesting(true); }
    void cleanup() { m_app.reset(); }

    // Starting reads no image through Qt's plugins: the icons of the window, the tray and the menu
    // bar are our own, drawn when shown. Each plugin costs the start its loading.
    void startLoadsNoImagePlugins()
    {
        const auto plugins = [] { return loadedFrom({"imageformats", "iconengines"}); };
        QCOMPARE(plugins(), QStringList());
        // With the look the program applies, the rest of the suite's without.
        const QString style = qApp->style()->name();
        const QPalette palette = QApplication::palette();
        const QFont font = QApplication::font();
        const auto restore = qScopeGuard([&] {
            m_app.reset();
            QApplication::setStyle(QStyleFactory::create(style));
            QApplication::setPalette(palette);
            QApplication::setFont(font);
        });
        Preferences::setBoolean(Preferences::kShowInDock, true);
        Preferences::setBoolean(Preferences::kShowInMenuBar, true);
        m_app = std::make_unique<TallybrookApp>(QString(), nullptr, [] { Theme::applyLightLook(*qApp); });
        m_app->start();
        QVERIFY(m_app->mainWindow() && m_app->mainWindow()->isVisible());
        QCoreApplication::processEvents();
        QCOMPARE(plugins(), QStringList());

        // The tray icon offers the sizes trays ask for, each a green disc.
        const QIcon tray = m_app->menuBarExtra()->trayIcon()->icon();
        QCOMPARE(tray.availableSizes().size(), 6);
        for (int px : {16, 22, 64}) {
            const QImage image = tray.pixmap(QSize(px, px)).toImage();
            QCOMPARE(image.size(), QSize(px, px));
            QCOMPARE(image.pixelColor(2, px / 2).rgb(), Theme::brand().rgb()); // left of the note
            QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        }
    }

    void storedValues()
    {
        QSettings settings(QStringLiteral("Tallybrook"), QStringLiteral("Tallybrook"));
        settings.remove(QLatin1String(Preferences::kShowInDock));
        QVERIFY(Presence::showsInDock());
        settings.setValue(QLatin1String(Preferences::kShowInDock), QStringLiteral("no"));
        QVERIFY(Presence::showsInDock());
        settings.setValue(QLatin1String(Preferences::kShowInDock), QStringLiteral("false"));
        QVERIFY(!Presence::showsInDock());
        QVERIFY(!Presence::mainWindow());
    }

    void trayIconFollowsPreference()
    {
        start(true, true);
        QVERIFY(m_app->menuBarExtra()->isPresent());
        QCOMPARE(m_app->menuBarExtra()->trayIcon()->toolTip(), QStringLiteral("Tallybrook"));
        Preferences::setBoolean(Preferences::kShowInMenuBar, false);
        QVERIFY(!m_app->menuBarExtra()->isPresent());
        QVERIFY(Presence::showsInDock());
        Preferences::setBoolean(Preferences::kShowInMenuBar, true);
        QVERIFY(m_app->menuBarExtra()->isPresent());
    }

    // The tray icon and the window icon go in once the window's first frame is painted, not
    // before it; the tray icon turned off and on later goes in at once.
    void trayIconJoinsAfterTheFirstFrame()
    {
        QApplication::setWindowIcon(QIcon()); // as at a start: an earlier test's app may have set it
        start(true, true);
        QSystemTrayIcon* icon = m_app->menuBarExtra()->trayIcon();
        QVERIFY(icon);
        QVERIFY(!icon->isVisible());
        QVERIFY(m_app->menuBarExtra()->isPresent());
        QVERIFY(QApplication::windowIcon().isNull());
        QTRY_VERIFY(icon->isVisible());
        QVERIFY(!QApplication::windowIcon().isNull());
        QCOMPARE(m_app->mainWindow()->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
        Preferences::setBoolean(Preferences::kShowInMenuBar, false);
        Preferences::setBoolean(Preferences::kShowInMenuBar, true);
        QVERIFY(m_app->menuBarExtra()->trayIcon()->isVisible());
    }

    // The exchange rate is asked for once the first frame is on screen: over https the request
    // loads TLS first, which the start would otherwise wait for. Its module (with QtNetwork) is
    // not loaded before either.
    void rateAskedAfterTheFirstFrame()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const QByteArray url =
            QStringLiteral("http://127.0.0.1:%1/v6/latest/USD").arg(server.serverPort()).toUtf8();
        const QByteArray before = qgetenv("TALLYBROOK_RATE_URL");
        qputenv("TALLYBROOK_RATE_URL", url);
        const auto restore = qScopeGuard([&] { qputenv("TALLYBROOK_RATE_URL", before); });
        bool painted = false;
        bool askedBeforePaint = false;
        // An earlier start in this process may have loaded it (the "alone" run starts afresh).
        const bool moduleAtStart = loadedNamed("libtallybrook_rate");
        bool moduleBeforePaint = false;
        EventWatch watch([&](QObject* watched, QEvent* event) {
            const auto* widget = qobject_cast<QWidget*>(watched);
            if (event->type() != QEvent::Paint || painted || !widget ||
                !qobject_cast<MainWindow*>(widget->window()))
                return;
            painted = true;
            moduleBeforePaint = loadedNamed("libtallybrook_rate");
            for (const QNetworkReply* reply : qApp->findChildren<QNetworkReply*>())
                askedBeforePaint = askedBeforePaint || reply->url().toEncoded() == url;
        });
        start(true, true);
        QTRY_VERIFY(painted);
        QVERIFY(!askedBeforePaint);
        QVERIFY(moduleAtStart || !moduleBeforePaint);
        QTRY_VERIFY(server.hasPendingConnections());
        QVERIFY(loadedNamed("libtallybrook_rate"));
    }

    void neverNeither()
    {
        // Without a task-bar entry, taking the tray icon away brings the entry back.
        start(false, true);
        QVERIFY(!Presence::showsInDock());
        Preferences::setBoolean(Preferences::kShowInMenuBar, false);
        QVERIFY(Presence::showsInDock());
        QVERIFY(!m_app->menuBarExtra()->isPresent());
        m_app.reset();

        // A desktop without a tray counts as no tray icon: once the wait for a late tray host is
        // over the window has its entry back, and the user's stored choice is left as it was.
        MenuBarExtra::setTrayAvailableForTesting(false);
        start(false, true);
        m_app->endTrayWait();
        QVERIFY(Presence::hasTaskbarEntry());
        QCOMPARE(Preferences::boolean(Preferences::kShowInDock), std::optional<bool>(false));
        QVERIFY(m_app->mainWindow()->isVisible());
    }

    // The tray host coming and going lends the windows a task-bar entry while it is gone and
    // never rewrites the stored choice; at start a missing tray host is waited for.
    void trayHostComesAndGoes()
    {
        start(false, true);
        MainWindow* window = m_app->mainWindow();
        AppCommands* commands = m_app->commands();
        commands->minimize()->trigger();
        QVERIFY(!window->isVisible());

        // The tray goes while the window is hidden in it: the window is back, with an entry.
        MenuBarExtra::setTrayAvailableForTesting(false);
        QTRY_VERIFY(window->isVisible());
        QCOMPARE(Preferences::boolean(Preferences::kShowInDock), std::optional<bool>(false));
        commands->minimize()->trigger();
        QVERIFY(window->isMinimized()); // minimised into the lent entry, not hidden
        QVERIFY(window->isVisible());
        commands->showWindow()->trigger();

        // The tray comes back: the entry goes again.
        MenuBarExtra::setTrayAvailableForTesting(true);
        commands->minimize()->trigger();
        QVERIFY(!window->isVisible());
        QVERIFY(!window->isMinimized());
        m_app.reset();

        // Started before the tray host: it waits, and the tray arriving in time keeps it all.
        MenuBarExtra::setTrayAvailableForTesting(false);
        start(false, true);
        QVERIFY(m_app->waitingForTray());
        QCOMPARE(Preferences::boolean(Preferences::kShowInDock), std::optional<bool>(false));
        MenuBarExtra::setTrayAvailableForTesting(true);
        QVERIFY(!m_app->waitingForTray());
        QVERIFY(!Presence::hasTaskbarEntry());
        m_app->commands()->minimize()->trigger();
        QVERIFY(!m_app->mainWindow()->isVisible());
        QCOMPARE(Preferences::boolean(Preferences::kShowInDock), std::optional<bool>(false));
    }

    // Closing the window ends the process exactly when no tray icon is on screen to come back
    // through, and a pending save is written first.
    void closingWithoutTrayIconQuits()
    {
        // With a tray icon the process stays.
        start(true, true);
        QCOMPARE(closeAndRun(300), 7);
        QVERIFY(!m_app->mainWindow());
        m_app.reset();

        // The tray icon switched off, or no tray host at all.
        for (bool trayHost : {true, false}) {
            MenuBarExtra::setTrayAvailableForTesting(trayHost);
            start(true, trayHost ? false : true);
            const int goal = trayHost ? 234561 : 234562;
            m_app->store()->update([goal](AppData& d) { d.targetGoal = goal; });
            QVERIFY(!storedText().contains(QString::number(goal)));
            QCOMPARE(closeAndRun(3000), 0);
            QVERIFY(storedText().contains(QString::number(goal)));
            m_app.reset();
        }
    }

    // Without a task-bar entry the editor sheet goes with its window and comes back above it;
    // the Minimize command takes it too.
    void minimiseTakesTheSheet()
    {
        start(false, true);
        MainWindow* window = m_app->mainWindow();
        m_app->commands()->newProject()->trigger();
        QPointer<QDialog> sheet = window->sheet()->dialog();
        QVERIFY(sheet && sheet->isVisible());

        window->showMinimized();
        QTRY_VERIFY(!window->isVisible());
        QVERIFY(!sheet->isVisible());
        m_app->menuBarExtra()->openPanel();
        auto* open =
            m_app->menuBarExtra()->panel()->findChild<QAbstractButton*>(QStringLiteral("panelOpenButton"));
        QTest::mouseClick(open, Qt::LeftButton);
        QVERIFY(window->isVisible());
        QTRY_VERIFY(sheet && sheet->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(sheet));
        QCOMPARE(window->sheet()->dialog(), sheet.data());

        m_app->commands()->minimize()->trigger();
        QVERIFY(!window->isVisible());
        QVERIFY(!sheet->isVisible());
        m_app->reopen();
        QTRY_VERIFY(sheet && sheet->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(sheet));
    }

    // A double click on the tray icon: the first click opens the panel, the second closes it as
    // a click outside the pop-up, and the double click leaves it open.
    void doubleClickLeavesPanelOpen()
    {
        start(true, true);
        QSystemTrayIcon* icon = m_app->menuBarExtra()->trayIcon();
        emit icon->activated(QSystemTrayIcon::Trigger);
        QPointer<MenuBarPanel> panel = m_app->menuBarExtra()->panel();
        QVERIFY(panel && panel->isVisible());
        panel->close();
        emit icon->activated(QSystemTrayIcon::Trigger);
        emit icon->activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(m_app->menuBarExtra()->panel());
        QVERIFY(m_app->menuBarExtra()->panel()->isVisible());
        // Where the tray's second press reaches the pop-up as a click outside it, on the icon, the
        // pop-up stays; a click elsewhere still closes it.
        m_app->menuBarExtra()->panel()->close();
        QTest::qWait(350);
        MenuBarPanel* fresh = m_app->menuBarExtra()->openPanel();
        const QRect anchor(QPoint(1500, 970), QSize(22, 22));
        fresh->placeNear(anchor);
        QTest::mousePress(fresh, Qt::LeftButton, {}, fresh->mapFromGlobal(anchor.center()));
        QVERIFY(fresh->isVisible());
        QTest::mouseRelease(fresh, Qt::LeftButton, {}, fresh->mapFromGlobal(anchor.center()));
        QTest::mousePress(fresh, Qt::LeftButton, {},
                          fresh->mapFromGlobal(anchor.topLeft() - QPoint(300, 300)));
        QVERIFY(!fresh->isVisible());
        // Without the pop-up's own close in between, the same.
        m_app->menuBarExtra()->openPanel();
        emit icon->activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(m_app->menuBarExtra()->panel()->isVisible());
        // A single click on the icon of the open panel still closes it.
        emit icon->activated(QSystemTrayIcon::Trigger);
        QVERIFY(!m_app->menuBarExtra()->panel() || !m_app->menuBarExtra()->panel()->isVisible());
    }

    // Every window shows the icon the desktop entry installs.
    void everyWindowHasTheInstalledIcon()
    {
        const QString installed = QFINDTESTDATA("../../packaging/icons/hicolor/scalable/apps/tallybrook.svg");
        QVERIFY(!installed.isEmpty());
        const QImage expected = QIcon(installed).pixmap(48, 48).toImage();
        QVERIFY(!expected.isNull());
        start(true, true);
        MainWindow* window = m_app->mainWindow();
        QTRY_VERIFY(!QApplication::windowIcon().isNull()); // once the first frame is painted
        m_app->commands()->newProject()->trigger();
        QMessageBox box(window);
        box.show();
        for (QWidget* w : {static_cast<QWidget*>(window), static_cast<QWidget*>(window->sheet()->dialog()),
                           static_cast<QWidget*>(&box)}) {
            QVERIFY(w);
            QCOMPARE(w->windowIcon().pixmap(48, 48).toImage(), expected);
        }
    }

    void minimiseWithoutTaskbarEntryHides()
    {
        start(false, true);
        MainWindow* window = m_app->mainWindow();
        QCOMPARE(Presence::mainWindow(), window);
        window->showMinimized();
        QTRY_VERIFY(!window->isVisible());
        QVERIFY(!window->isMinimized());
        QCOMPARE(Presence::mainWindow(), window);

        // The tray panel's open button brings the same window back.
        m_app->menuBarExtra()->openPanel();
        auto* open =
            m_app->menuBarExtra()->panel()->findChild<QAbstractButton*>(QStringLiteral("panelOpenButton"));
        QTest::mouseClick(open, Qt::LeftButton);
        QCOMPARE(m_app->mainWindow(), window);
        QVERIFY(window->isVisible());
        QTRY_VERIFY(!m_app->menuBarExtra()->panel());

        // With the entry back, minimising is minimising again.
        Preferences::setBoolean(Preferences::kShowInDock, true);
        QCoreApplication::processEvents(); // the deferred step of applyDock
        window->showMinimized();
        QTest::qWait(10);
        QVERIFY(window->isMinimized());
        QVERIFY(window->isVisible());
    }

    void applyDockBringsTheWindowForward()
    {
        start(true, true);
        MainWindow* window = m_app->mainWindow();
        window->hide();
        Presence::applyDock(false);
        QTRY_VERIFY(window->isVisible());
    }
};

TB_WIDGET_TEST_MAIN(TestPresence)
#include "tst_presence.moc"
