#include "TestMain.h"

#include "model/DataFile.h"
#include "model/Preferences.h"
#include "model/Store.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <csignal>

// End to end in a real X server (tools/xsession.sh): a project is created through the editor
// sheet with the keyboard alone and lands first in the data file. The outer test starts the
// session and runs this same program inside it.
namespace {
bool insideSession()
{
    return qgetenv("TB_XSESSION") == "inside";
}

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(5000))
        return {};
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

// The first visible window of the program whose title is exactly `title`.
QString windowNamed(const QString& title)
{
    const QStringList ids = run(QStringLiteral("xdotool"),
                                {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$')})
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return ids.value(0);
}

void xdotool(const QStringList& args)
{
    run(QStringLiteral("xdotool"), args);
}

void screenshot(const QString& name)
{
    const QString dir = qEnvironmentVariable("TB_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        run(QStringLiteral("import"),
            {QStringLiteral("-window"), QStringLiteral("root"), dir + QLatin1Char('/') + name});
}

QString firstProjectName(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const std::optional<AppData> doc = DataFile::decode(f.readAll());
    if (!doc || doc->projects.isEmpty())
        return {};
    return doc->projects.first().name;
}
} // namespace

class TestEditorX11 : public QObject
{
    Q_OBJECT

private slots:
    void inRealXServer()
    {
        if (insideSession())
            QSKIP("this is the run inside the session");
        for (const char* tool : {"xvfb-run", "openbox", "tint2", "xdotool", "xprop"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP(qPrintable(
                    QStringLiteral("%1 is not installed (tools/deps.sh test)").arg(QLatin1String(tool))));
        QProcess session;
        session.setProcessChannelMode(QProcess::MergedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        session.setProcessEnvironment(env);
        session.start(QStringLiteral(TB_XSESSION_SCRIPT),
                      {QCoreApplication::applicationFilePath(), QStringLiteral("insideXServer")});
        QVERIFY(session.waitForFinished(180000));
        const QByteArray output = session.readAll();
        QVERIFY2(session.exitCode() == 0, output.constData());
        QVERIFY2(output.contains("PASS   : TestEditorX11::insideXServer()"), output.constData());
    }

    void insideXServer()
    {
        if (!insideSession())
            QSKIP("runs inside tools/xsession.sh");
        // The temporary XDG folders of this test are handed down to the program.
        Preferences::setBoolean(Preferences::kDismissedMoveToApps, true);
        Preferences::setBoolean(Preferences::kDismissedSampleDataTip, true);
        const QString dataFile = Store::defaultDataFolder() + QStringLiteral("/tallybrook.json");
        QVERIFY(dataFile.startsWith(TestEnv::home().path()));

        QProcess app;
        app.setProcessChannelMode(QProcess::ForwardedChannels);
        app.start(QStringLiteral(TB_APP_BINARY), {});
        QVERIFY(app.waitForStarted());
        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = windowNamed(QStringLiteral("Tallybrook"))).isEmpty(), 15000);
        // The first start writes the sample studio.
        QTRY_VERIFY_WITH_TIMEOUT(!firstProjectName(dataFile).isEmpty(), 5000);
        QVERIFY(firstProjectName(dataFile) != QStringLiteral("Keyboard Poster"));

        xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
        xdotool({QStringLiteral("key"), QStringLiteral("ctrl+n")});
        QString sheet;
        QTRY_VERIFY_WITH_TIMEOUT(!(sheet = windowNamed(QStringLiteral("New Project"))).isEmpty(), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}),
                                  QString::number(sheet.toULongLong()), 5000);

        // Name, then past the client and category the directories filled in, to the fee.
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"),
                 QStringLiteral("Keyboard Poster")});
        xdotool({QStringLiteral("key"), QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab")});
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"),
                 QStringLiteral("2500")});
        QTest::qWait(200);
        screenshot(QStringLiteral("xsession-editor.png"));
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});

        QTRY_VERIFY_WITH_TIMEOUT(windowNamed(QStringLiteral("New Project")).isEmpty(), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(firstProjectName(dataFile), QStringLiteral("Keyboard Poster"), 5000);
        QFile f(dataFile);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const AppData doc = DataFile::decode(f.readAll()).value_or(AppData{});
        QCOMPARE(doc.projects.first().fee, 2500.0);
        QCOMPARE(doc.projects.first().client, doc.clients.value(0));
        QCOMPARE(doc.projects.first().status, Status::ongoing);

        ::kill(pid_t(app.processId()), SIGTERM);
        QVERIFY(app.waitForFinished(10000));
        QCOMPARE(app.exitCode(), 0);
    }
};

TB_WIDGET_TEST_MAIN(TestEditorX11)
#include "tst_editor_x11.moc"
