#pragma once

#include "model/Preferences.h"

#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>
#include <csignal>
#include <initializer_list>

// Helpers of the tests that run in a real X server (tools/xsession.sh: Xvfb, openbox, tint2). Such
// a test runs twice: outside, `inRealXServer` starts the session with this same program, which
// then runs `insideXServer` in it and drives the application with xdotool. The test's target
// defines TB_APP_BINARY and TB_XSESSION_SCRIPT.
namespace XSession {
// How long the window manager and the panel may take to answer: on a loaded machine an unmap
// once took just over 5 s. A check goes on as soon as the answer is there.
constexpr int kAnswerMs = 20000;

// Called after asking for a window to be minimised, before polling it: polled with xwininfo at
// once, the window stayed on screen in about half the runs on a loaded machine, until the
// polling paused; left a second first, it went every time.
inline void afterMinimizing()
{
    QTest::qWait(1000);
}

// Whether this run is the one inside the session.
inline bool inside()
{
    return qgetenv("TB_XSESSION") == "inside";
}

// What a tool printed, as it printed it; empty when it did not finish in time.
inline QString output(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(5000))
        return {};
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

inline QString run(const QString& program, const QStringList& args)
{
    return output(program, args).trimmed();
}

inline void xdotool(const QStringList& args)
{
    run(QStringLiteral("xdotool"), args);
}

// The first visible window whose title is exactly `title`.
inline QString windowNamed(const QString& title)
{
    return run(QStringLiteral("xdotool"),
               {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                QLatin1Char('^') + title + QLatin1Char('$')})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
        .value(0);
}

// A picture of the whole screen, kept only when TB_SCREENSHOT_DIR names a folder.
inline void screenshot(const QString& name)
{
    const QString dir = qEnvironmentVariable("TB_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        run(QStringLiteral("import"),
            {QStringLiteral("-window"), QStringLiteral("root"), dir + QLatin1Char('/') + name});
}

// The whole of an `inRealXServer` slot: starts the session with this program and passes when
// `test`'s slot `slot` (insideXServer unless named) passed in it. Skips inside the session and
// where a tool is missing.
inline void runInside(const QObject* test,
                      std::initializer_list<const char*> tools = {"xvfb-run", "openbox", "tint2", "xdotool",
                                                                  "xprop"},
                      const char* slot = "insideXServer")
{
    if (inside())
        QSKIP("this is the run inside the session");
    for (const char* tool : tools)
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            QSKIP(qPrintable(
                QStringLiteral("%1 is not installed (tools/deps.sh test)").arg(QLatin1String(tool))));
    QProcess session;
    session.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    session.setProcessEnvironment(env);
    session.start(QStringLiteral(TB_XSESSION_SCRIPT),
                  {QCoreApplication::applicationFilePath(), QLatin1String(slot)});
    QVERIFY(session.waitForFinished(180000));
    const QByteArray out = session.readAll();
    QVERIFY2(session.exitCode() == 0, out.constData());
    const QByteArray passed = QByteArray("PASS   : ") + test->metaObject()->className() + "::" + slot + "()";
    QVERIFY2(out.contains(passed), out.constData());
}

// Starts the application with its output passed through.
struct XWindow
{
    QString id;
    QRect frame; // absolute
};

// Windows of the program in the X tree; `underTray` keeps only those docked in tint2's tray.
inline QVector<XWindow> programWindows(bool underTray)
{
    static const QRegularExpression line(QStringLiteral(
        R"(^(\s*)(0x[0-9a-f]+) .*\("tallybrook" "Tallybrook"\)\s+(\d+)x(\d+)[+-]\d+[+-]\d+\s+\+(-?\d+)\+(-?\d+))"));
    static const QRegularExpression firstMark(QStringLiteral("\\S"));
    QVector<XWindow> found;
    int trayIndent = -1;
    // Raw output: the indents of the window tree matter.
    const QStringList lines =
        output(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")})
            .split(QLatin1Char('\n'));
    for (const QString& l : lines) {
        const int indent = int(l.indexOf(firstMark));
        if (l.contains(QLatin1String(R"(("tint2" "Tint2"))")))
            trayIndent = indent;
        else if (trayIndent >= 0 && indent <= trayIndent && !l.trimmed().isEmpty() &&
                 !l.contains(QLatin1String("child")))
            trayIndent = -1;
        const auto m = line.match(l);
        if (!m.hasMatch() || underTray != (trayIndent >= 0))
            continue;
        found.append({m.captured(2), QRect(m.captured(5).toInt(), m.captured(6).toInt(),
                                           m.captured(3).toInt(), m.captured(4).toInt())});
    }
    return found;
}

inline bool isViewable(const QString& id)
{
    return run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}).contains(QLatin1String("IsViewable"));
}

// The tray panel is the program's only window 290 pixels wide.
inline bool panelShown()
{
    for (const XWindow& w : programWindows(false))
        if (w.frame.width() == 290 && isViewable(w.id))
            return true;
    return false;
}

// The program started by a test goes straight to its window: no install offer, no sample tip.
// The test's private XDG folders are handed down to it.
inline void quietFirstStart()
{
    Preferences::setBoolean(Preferences::kDismissedMoveToApps, true);
    Preferences::setBoolean(Preferences::kDismissedSampleDataTip, true);
}

inline bool startApp(QProcess& app)
{
    app.setProcessChannelMode(QProcess::ForwardedChannels);
    app.start(QStringLiteral(TB_APP_BINARY), {});
    return app.waitForStarted();
}

// Ends the application as the session would and checks it left cleanly; last in a slot.
inline void quitApp(QProcess& app)
{
    ::kill(pid_t(app.processId()), SIGTERM);
    QVERIFY(app.waitForFinished(10000));
    QCOMPARE(app.exitCode(), 0);
}
} // namespace XSession
