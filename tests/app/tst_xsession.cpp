#include "TestMain.h"
#include "XSession.h"

#include "model/DataFile.h"
#include "model/Preferences.h"
#include "model/Store.h"

#include <QProcess>
#include <memory>
#include <vector>

// End to end in a real X server (tools/xsession.sh: Xvfb, openbox, tint2): the tray icon, the
// window hidden by a minimise without a task-bar entry, and a second start bringing it back.
// The outer test starts the session and runs this same program inside it.
namespace {
using XSession::screenshot;

using XSession::isViewable;
using XSession::panelShown;
using XSession::programWindows;
using XSession::run;
using XSession::XWindow;

QString mainWindowId()
{
    for (const XWindow& w : programWindows(false))
        if (w.frame.width() >= 1000 && isViewable(w.id))
            return w.id;
    return {};
}
} // namespace

class TestXSession : public QObject
{
    Q_OBJECT

private slots:
    void inRealXServer()
    {
        XSession::runInside(this, {"xvfb-run", "openbox", "tint2", "xdotool", "xwininfo", "xprop"});
    }

    void insideXServer()
    {
        if (!XSession::inside())
            QSKIP("runs inside tools/xsession.sh");
        Preferences::setBoolean(Preferences::kShowInDock, false);
        Preferences::setBoolean(Preferences::kShowInMenuBar, true);
        Preferences::setBoolean(Preferences::kDismissedMoveToApps, true);

        QProcess app;
        QVERIFY(XSession::startApp(app));
        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = mainWindowId()).isEmpty(), XSession::kAnswerMs);
        QVERIFY(run(QStringLiteral("xprop"), {QStringLiteral("-id"), window, QStringLiteral("WM_NAME")})
                    .contains(QLatin1String("\"Tallybrook\"")));
        // No task-bar entry while "showInDock" is off.
        QTRY_VERIFY_WITH_TIMEOUT(
            run(QStringLiteral("xprop"), {QStringLiteral("-id"), window, QStringLiteral("_NET_WM_STATE")})
                .contains(QLatin1String("_NET_WM_STATE_SKIP_TASKBAR")),
            XSession::kAnswerMs);

        // The tray icon sits in tint2's tray; clicking it opens the panel.
        QVector<XWindow> icons;
        QTRY_VERIFY_WITH_TIMEOUT(!(icons = programWindows(true)).isEmpty(), XSession::kAnswerMs);
        QTest::qWait(300); // let the frame settle before the picture
        screenshot(QStringLiteral("xsession-main.png"));
        const QPoint centre = icons.first().frame.center();
        run(QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QString::number(centre.x()), QString::number(centre.y()),
             QStringLiteral("click"), QStringLiteral("1")});
        QTRY_VERIFY_WITH_TIMEOUT(panelShown(), XSession::kAnswerMs);
        QTest::qWait(300);
        screenshot(QStringLiteral("xsession-panel.png"));
        run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Escape")});
        QTRY_VERIFY_WITH_TIMEOUT(!panelShown(), XSession::kAnswerMs);

        // Minimising hides the window instead.
        run(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), window});
        XSession::afterMinimizing();
        QTRY_VERIFY_WITH_TIMEOUT(!isViewable(window), XSession::kAnswerMs);
        QTest::qWait(200);
        QVERIFY(!isViewable(window));

        // A second start hands over, leaves with status 0, and the same window is back.
        QProcess second;
        second.start(QStringLiteral(TB_APP_BINARY), {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(isViewable(window), XSession::kAnswerMs);

        // Twenty starts at once: all hand over, and the one window is shown, not a second.
        run(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), window});
        XSession::afterMinimizing();
        QTRY_VERIFY_WITH_TIMEOUT(!isViewable(window), XSession::kAnswerMs);
        std::vector<std::unique_ptr<QProcess>> burst;
        for (int i = 0; i < 20; ++i) {
            burst.push_back(std::make_unique<QProcess>());
            burst.back()->start(QStringLiteral(TB_APP_BINARY), {});
        }
        for (auto& p : burst) {
            QVERIFY(p->waitForFinished(20000));
            QCOMPARE(p->exitCode(), 0);
        }
        QTRY_VERIFY_WITH_TIMEOUT(isViewable(window), XSession::kAnswerMs);
        QCOMPARE(mainWindowId(), window);
        QCOMPARE(app.state(), QProcess::Running);

        // SIGTERM ends it with status 0 and a data file that reads back.
        XSession::quitApp(app);
        QFile data(Store::defaultDataFolder() + QStringLiteral("/tallybrook.json"));
        QVERIFY(data.open(QIODevice::ReadOnly));
        const auto document = DataFile::decode(data.readAll());
        QVERIFY(document);
        QCOMPARE(document->projects.size(), 37);
    }
};

TB_WIDGET_TEST_MAIN(TestXSession)
#include "tst_xsession.moc"
