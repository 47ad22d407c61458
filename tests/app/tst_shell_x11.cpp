#include "TestMain.h"
#include "XSession.h"

#include "model/Preferences.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <csignal>

// End to end in a real X server (tools/xsession.sh: Xvfb, openbox, tint2), without a task-bar
// entry: the editor sheet going and coming back with its window, the window commands reached
// from the sheet, the application icon, a double click on the tray icon, the tray host going
// away and starting late. Each outer slot starts a session and runs its inside slot in it.
namespace {
using XSession::isViewable;
using XSession::panelShown;
using XSession::run;
using XSession::screenshot;
using XSession::windowNamed;
using XSession::xdotool;

QString prop(const QString& id, const QString& name)
{
    return run(QStringLiteral("xprop"),
               {QStringLiteral("-id"), id, QStringLiteral("-len"), QStringLiteral("16"), name});
}

bool skipsTaskbar(const QString& id)
{
    return prop(id, QStringLiteral("_NET_WM_STATE")).contains(QLatin1String("_NET_WM_STATE_SKIP_TASKBAR"));
}

bool hasIcon(const QString& id)
{
    // xprop draws each size as "Icon (w x h):" (or lists width, height and pixels); Qt leaves the
    // property empty when the window has no icon.
    static const QRegularExpression data(QStringLiteral("Icon \\(\\d+ x \\d+\\)|= \\d+, \\d+, \\d+"));
    const QString icon =
        run(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_WM_ICON")});
    return data.match(icon).hasMatch();
}

// The managed windows, bottom to top, as decimal ids like xdotool's.
QStringList stacking()
{
    QStringList ids;
    const QString out =
        run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    static const QRegularExpression hex(QStringLiteral("0x[0-9a-f]+"));
    for (auto it = hex.globalMatch(out); it.hasNext();)
        ids << QString::number(it.next().captured(0).toULongLong(nullptr, 16));
    return ids;
}

int width(const QString& id)
{
    static const QRegularExpression w(QStringLiteral("Width: (\\d+)"));
    return w.match(run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id})).captured(1).toInt();
}

QString activeWindow()
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")});
}

// The program's tray icon docked in tint2's tray, as a point on screen; null when none.
QPoint trayIconCentre()
{
    const QVector<XSession::XWindow> icons = XSession::programWindows(true);
    return icons.isEmpty() ? QPoint() : icons.first().frame.center();
}

QString storedDockChoice()
{
    QSettings settings(QStringLiteral("Tallybrook"), QStringLiteral("Tallybrook"));
    return settings.value(QLatin1String(Preferences::kShowInDock)).toString();
}

// A second start hands over to the running program, which brings its window back.
bool secondStart()
{
    QProcess second;
    second.start(QStringLiteral(TB_APP_BINARY), {});
    return second.waitForFinished(10000) && second.exitStatus() == QProcess::NormalExit &&
           second.exitCode() == 0;
}

void prepare()
{
    Preferences::setBoolean(Preferences::kShowInDock, false);
    Preferences::setBoolean(Preferences::kShowInMenuBar, true);
    XSession::quietFirstStart();
}
} // namespace

class TestShellX11 : public QObject
{
    Q_OBJECT

    void runInside(const char* slot)
    {
        XSession::runInside(this, {"xvfb-run", "openbox", "tint2", "xdotool", "xwininfo", "xprop"}, slot);
    }

    // Starts the program (showing in the tray, not in the task bar) and finds its window.
    static void startWithoutTaskbarEntry(QProcess& app, QString& window)
    {
        QVERIFY(XSession::startApp(app));
        QTRY_VERIFY_WITH_TIMEOUT(!(window = windowNamed(QStringLiteral("Tallybrook"))).isEmpty(),
                                 XSession::kAnswerMs);
        QTRY_VERIFY_WITH_TIMEOUT(skipsTaskbar(window), XSession::kAnswerMs);
    }

private slots:
    void sheetGoesWithItsWindow() { runInside("insideSheetGoesWithItsWindow"); }
    void trayIcon() { runInside("insideTrayIcon"); }
    void lateTrayHost() { runInside("insideLateTrayHost"); }

    void insideSheetGoesWithItsWindow()
    {
        if (!XSession::inside())
            QSKIP("runs inside tools/xsession.sh");
        prepare();
        QProcess app;
        QString window;
        startWithoutTaskbarEntry(app, window);
        if (QTest::currentTestFailed())
            return;
        // The icon is set once the first frame is on screen, so it may come a moment after the window.
        QTRY_VERIFY2_WITH_TIMEOUT(hasIcon(window), "the main window carries the application icon",
                                  XSession::kAnswerMs);

        xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
        xdotool({QStringLiteral("key"), QStringLiteral("ctrl+n")});
        QString sheet;
        QTRY_VERIFY_WITH_TIMEOUT(!(sheet = windowNamed(QStringLiteral("New Project"))).isEmpty(),
                                 XSession::kAnswerMs);
        QTRY_VERIFY2_WITH_TIMEOUT(skipsTaskbar(sheet), "the sheet has no task-bar entry of its own",
                                  XSession::kAnswerMs);
        QTRY_VERIFY2_WITH_TIMEOUT(hasIcon(sheet), "the sheet carries the application icon",
                                  XSession::kAnswerMs);
        QTest::qWait(300);
        screenshot(QStringLiteral("shell-sheet.png"));

        // The window manager's minimise hides the window, and the sheet with it.
        xdotool({QStringLiteral("windowminimize"), window});
        XSession::afterMinimizing();
        QTRY_VERIFY_WITH_TIMEOUT(!isViewable(window), XSession::kAnswerMs);
        QTRY_VERIFY2_WITH_TIMEOUT(!isViewable(sheet), "the sheet left alone on the desktop",
                                  XSession::kAnswerMs);
        QTest::qWait(200);
        QVERIFY(!isViewable(sheet));
        screenshot(QStringLiteral("shell-hidden.png"));

        // Brought back, the sheet is above its window and has the keyboard.
        QVERIFY(secondStart());
        QTRY_VERIFY_WITH_TIMEOUT(isViewable(window) && isViewable(sheet), XSession::kAnswerMs);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), sheet, XSession::kAnswerMs);
        QVERIFY(stacking().indexOf(sheet) > stacking().indexOf(window));
        QTest::qWait(300);
        screenshot(QStringLiteral("shell-back.png"));

        // Ctrl+M typed in the sheet reaches the Minimize command.
        xdotool({QStringLiteral("key"), QStringLiteral("ctrl+m")});
        XSession::afterMinimizing();
        QTRY_VERIFY_WITH_TIMEOUT(!isViewable(window) && !isViewable(sheet), XSession::kAnswerMs);
        QVERIFY(secondStart());
        QTRY_VERIFY_WITH_TIMEOUT(isViewable(window) && isViewable(sheet), XSession::kAnswerMs);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), sheet, XSession::kAnswerMs);

        // The Window menu of the window behind the sheet answers the pointer: Zoom.
        QVERIFY(width(window) < 1500);
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QStringLiteral("215"),
                 QStringLiteral("12"), QStringLiteral("click"), QStringLiteral("1")});
        QTest::qWait(400);
        screenshot(QStringLiteral("shell-menu.png"));
        // Zoom, the menu's second item, about four lines below the title.
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QStringLiteral("225"),
                 QStringLiteral("59"), QStringLiteral("click"), QStringLiteral("1")});
        QTRY_VERIFY_WITH_TIMEOUT(width(window) >= 1590, XSession::kAnswerMs); // the whole 1600-point screen
        screenshot(QStringLiteral("shell-zoom.png"));
        QVERIFY(isViewable(sheet));
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), sheet, XSession::kAnswerMs);

        // Ctrl+Q typed in the sheet quits.
        xdotool({QStringLiteral("key"), QStringLiteral("ctrl+q")});
        QVERIFY(app.waitForFinished(10000));
        QCOMPARE(app.exitCode(), 0);
    }

    void insideTrayIcon()
    {
        if (!XSession::inside())
            QSKIP("runs inside tools/xsession.sh");
        prepare();
        QProcess app;
        QString window;
        startWithoutTaskbarEntry(app, window);
        if (QTest::currentTestFailed())
            return;

        // A double click on the tray icon leaves the panel open.
        QPoint icon;
        QTRY_VERIFY_WITH_TIMEOUT(!(icon = trayIconCentre()).isNull(), XSession::kAnswerMs);
        xdotool({QStringLiteral("mousemove"), QString::number(icon.x()), QString::number(icon.y())});
        xdotool({QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
                 QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")});
        QTRY_VERIFY_WITH_TIMEOUT(panelShown(), XSession::kAnswerMs);
        QTest::qWait(600);
        QVERIFY2(panelShown(), "the double click closed the panel again");
        screenshot(QStringLiteral("shell-panel.png"));
        xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        QTRY_VERIFY_WITH_TIMEOUT(!panelShown(), XSession::kAnswerMs);

        // The tray host goes away (a panel crashing): the entry is back at once, the window
        // comes back from the tray, and the stored choice stays.
        xdotool({QStringLiteral("windowminimize"), window});
        XSession::afterMinimizing();
        QTRY_VERIFY_WITH_TIMEOUT(!isViewable(window), XSession::kAnswerMs);
        const qint64 tray = qEnvironmentVariable("TB_TRAY_PID").toLongLong();
        QVERIFY(tray > 0);
        QCOMPARE(::kill(pid_t(tray), SIGTERM), 0);
        QTRY_VERIFY_WITH_TIMEOUT(isViewable(window), XSession::kAnswerMs);
        QTRY_VERIFY2_WITH_TIMEOUT(!skipsTaskbar(window), "the task-bar entry came back", XSession::kAnswerMs);
        QCOMPARE(storedDockChoice(), QStringLiteral("false"));
        QTest::qWait(300);
        screenshot(QStringLiteral("shell-no-tray.png"));

        // With no tray icon on screen, closing the window ends the program.
        xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
        xdotool({QStringLiteral("key"), QStringLiteral("alt+F4")});
        QVERIFY2(app.waitForFinished(10000), "the program went on without a window or an icon");
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.exitCode(), 0);
        QCOMPARE(storedDockChoice(), QStringLiteral("false"));
    }

    void insideLateTrayHost()
    {
        if (!XSession::inside())
            QSKIP("runs inside tools/xsession.sh");
        prepare();
        // The session's tray host is gone, as at the start of a desktop whose panel is slow.
        const qint64 sessionTray = qEnvironmentVariable("TB_TRAY_PID").toLongLong();
        QVERIFY(sessionTray > 0);
        QCOMPARE(::kill(pid_t(sessionTray), SIGTERM), 0);
        QTRY_VERIFY_WITH_TIMEOUT(
            run(QStringLiteral("xdotool"),
                {QStringLiteral("search"), QStringLiteral("--classname"), QStringLiteral("tint2")})
                .isEmpty(),
            5000);

        QProcess app;
        QVERIFY(XSession::startApp(app));
        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = windowNamed(QStringLiteral("Tallybrook"))).isEmpty(),
                                 XSession::kAnswerMs);
        QTest::qWait(300);
        QCOMPARE(storedDockChoice(), QStringLiteral("false"));

        // The tray host arrives a moment later: the icon docks and the user's choice holds.
        QProcess tint2;
        tint2.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        tint2.start(QStringLiteral("tint2"), {});
        QVERIFY(tint2.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(!trayIconCentre().isNull(), XSession::kAnswerMs);
        QTRY_VERIFY_WITH_TIMEOUT(skipsTaskbar(window), XSession::kAnswerMs);
        QCOMPARE(storedDockChoice(), QStringLiteral("false"));
        QTest::qWait(300);
        screenshot(QStringLiteral("shell-late-tray.png"));

        XSession::quitApp(app);
        tint2.terminate();
        QVERIFY(tint2.waitForFinished(5000));
    }
};

TB_WIDGET_TEST_MAIN(TestShellX11)
#include "tst_shell_x11.moc"
