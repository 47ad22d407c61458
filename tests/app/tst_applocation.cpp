#include "TestMain.h"

#include "app/AppLocationManager.h"

#include <QProcess>
#include <memory>

using Paths = AppLocationManager::Paths;

namespace {
QStringList g_warnings;
QtMessageHandler g_previous = nullptr;

void captureWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg)
        g_warnings << message;
    else
        g_previous(type, context, message);
}

bool writeText(const QString& path, const QByteArray& text, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        return false;
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return true;
}

QByteArray readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestAppLocation : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;

    QString home() const { return m_root.path() + QStringLiteral("/home"); }
    Paths paths(const QString& running) const
    {
        return {running, home(), home() + QStringLiteral("/.local/share")};
    }
    // A fresh home with a downloaded program in it.
    Paths freshInstallation()
    {
        QDir(home()).removeRecursively();
        const QString program = home() + QStringLiteral("/Downloads/tallybrook");
        writeText(program, "#!/bin/sh\necho new\n", true);
        return paths(program);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        // Nothing here may reach the real home, not even by accident.
        qputenv("HOME", home().toUtf8());
        QDir().mkpath(home());
    }

    void init()
    {
        g_warnings.clear();
        g_previous = qInstallMessageHandler(captureWarnings);
    }
    void cleanup() { qInstallMessageHandler(g_previous); }

    void installedPrefixes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("installed");
        QTest::newRow("downloads") << "~/Downloads/Tallybrook" << false;
        QTest::newRow("user applications") << "~/Applications/Tallybrook" << true;
        QTest::newRow("below user applications") << "~/Applications/Office/Tallybrook" << true;
        QTest::newRow("user applications look-alike") << "~/ApplicationsOld/Tallybrook" << false;
        QTest::newRow("local") << "~/.local/bin/tallybrook" << true;
        QTest::newRow("local look-alike") << "~/.localfoo/bin/tallybrook" << false;
        QTest::newRow("usr") << "/usr/bin/tallybrook" << true;
        QTest::newRow("usr local") << "/usr/local/bin/tallybrook" << true;
        QTest::newRow("usr look-alike") << "/usrx/bin/tallybrook" << false;
        QTest::newRow("opt") << "/opt/Tallybrook/tallybrook" << true;
        QTest::newRow("opt look-alike") << "/optional/tallybrook" << false;
        QTest::newRow("climbs into usr") << "/tmp/../usr/bin/tallybrook" << true;
        QTest::newRow("climbs out of usr") << "/usr/../srv/tallybrook" << false;
        QTest::newRow("system applications") << "/Applications/Tallybrook" << false;
        QTest::newRow("nothing") << "" << false;
    }

    void installedPrefixes()
    {
        QFETCH(QString, path);
        QFETCH(bool, installed);
        path.replace(QLatin1Char('~'), home());
        QCOMPARE(AppLocationManager::isInstalledPath(path, home()), installed);
        QCOMPARE(AppLocationManager::isInApplications(paths(path)), installed);
    }

    void linksAreResolvedFirst()
    {
        const QString downloaded = home() + QStringLiteral("/Downloads/tallybrook");
        const QString local = home() + QStringLiteral("/.local/bin/tallybrook");
        QVERIFY(writeText(downloaded, "x", true));
        QVERIFY(writeText(local, "x", true));

        const QString toLocal = home() + QStringLiteral("/Desktop/to-local");
        const QString toUsr = home() + QStringLiteral("/Desktop/to-usr");
        const QString toDownloads = home() + QStringLiteral("/.local/bin/to-downloads");
        QDir().mkpath(home() + QStringLiteral("/Desktop"));
        QVERIFY(QFile::link(local, toLocal));
        QVERIFY(QFile::link(QStringLiteral("/usr/bin/env"), toUsr));
        QVERIFY(QFile::link(downloaded, toDownloads));
        QVERIFY(AppLocationManager::isInApplications(paths(toLocal)));
        QVERIFY(AppLocationManager::isInApplications(paths(toUsr)));
        // The link lies in an installed folder, the program does not.
        QVERIFY(!AppLocationManager::isInApplications(paths(toDownloads)));

        // A home reached through a link still counts once the program's path is resolved.
        const QString realHome = m_root.path() + QStringLiteral("/real-home");
        const QString linkedHome = m_root.path() + QStringLiteral("/linked-home");
        QVERIFY(writeText(realHome + QStringLiteral("/Applications/Tallybrook"), "x", true));
        QVERIFY(QFile::link(realHome, linkedHome));
        QVERIFY(AppLocationManager::isInstalledPath(linkedHome + QStringLiteral("/Applications/Tallybrook"),
                                                    linkedHome));
        QVERIFY(AppLocationManager::isInstalledPath(realHome + QStringLiteral("/Applications/Tallybrook"),
                                                    linkedHome));
    }

    void currentPathsFollowAppImage()
    {
        const QString appImage = home() + QStringLiteral("/Downloads/Tallybrook-x86_64.AppImage");
        qputenv("APPIMAGE", appImage.toUtf8());
        Paths current = Paths::current();
        QCOMPARE(current.running, appImage);
        QCOMPARE(current.home, home());
        QCOMPARE(current.target(), home() + QStringLiteral("/Applications/Tallybrook"));
        QCOMPARE(current.desktopEntry(),
                 qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications/tallybrook.desktop"));
        qunsetenv("APPIMAGE");
        current = Paths::current();
        QCOMPARE(current.running, QCoreApplication::applicationFilePath());
        QVERIFY(!AppLocationManager::isInApplications(current));
    }

    void installReplacesOlderCopy_data()
    {
        QTest::addColumn<QString>("older");
        QTest::newRow("none") << "none";
        QTest::newRow("file") << "file";
        QTest::newRow("folder") << "folder";
        QTest::newRow("link") << "link";
        QTest::newRow("dangling link") << "dangling link";
    }

    void installReplacesOlderCopy()
    {
        QFETCH(QString, older);
        const Paths p = freshInstallation();
        const QString elsewhere = home() + QStringLiteral("/elsewhere");
        QVERIFY(writeText(elsewhere, "keep"));
        if (older == QLatin1String("file"))
            QVERIFY(writeText(p.target(), "old"));
        else if (older == QLatin1String("folder"))
            QVERIFY(writeText(p.target() + QStringLiteral("/bin/tallybrook"), "old"));
        else if (older == QLatin1String("link"))
            QVERIFY(QDir().mkpath(p.applicationsFolder()) && QFile::link(elsewhere, p.target()));
        else if (older == QLatin1String("dangling link"))
            QVERIFY(QDir().mkpath(p.applicationsFolder()) &&
                    QFile::link(home() + QStringLiteral("/gone"), p.target()));

        QCOMPARE(AppLocationManager::install(p), QString());
        const QFileInfo copy(p.target());
        QVERIFY(copy.isFile() && !copy.isSymLink());
        QVERIFY(copy.isExecutable());
        QCOMPARE(readText(p.target()), QByteArray("#!/bin/sh\necho new\n"));
        QCOMPARE(readText(elsewhere), QByteArray("keep"));
        // The source is copied, not moved.
        QCOMPARE(readText(p.running), QByteArray("#!/bin/sh\necho new\n"));

        const QString entry = QString::fromUtf8(readText(p.desktopEntry()));
        QVERIFY(entry.contains(QStringLiteral("\nExec=\"%1\"\n").arg(p.target())));
        QVERIFY(entry.contains(QStringLiteral("\nTryExec=%1\n").arg(p.target())));
        QVERIFY(entry.contains(QStringLiteral("\nIcon=tallybrook\n")));
        QVERIFY(readText(p.iconFile()).contains("<svg"));
        QVERIFY(AppLocationManager::isInApplications(paths(p.target())));
    }

    void refusesToReplaceItself()
    {
        const Paths installed = paths(home() + QStringLiteral("/Applications/Tallybrook"));
        QDir(home()).removeRecursively();
        QVERIFY(writeText(installed.running, "me", true));
        QVERIFY(!AppLocationManager::install(installed).isEmpty());
        QCOMPARE(readText(installed.running), QByteArray("me"));
    }

    void desktopEntryQuotesTheProgram()
    {
        const QString program = QStringLiteral("/srv/a b$%\"q`\\x/Applications/Tallybrook");
        const QString text = AppLocationManager::desktopEntryText(program);
        const QStringList lines = text.split(QLatin1Char('\n'));
        QVERIFY(
            lines.contains(QStringLiteral(R"(Exec="/srv/a b\\$%%\\"q\\`\\\\x/Applications/Tallybrook")")));
        QVERIFY(lines.contains(QStringLiteral(R"(TryExec=/srv/a b$%"q`\\x/Applications/Tallybrook)")));
        QVERIFY(lines.contains(QStringLiteral("StartupWMClass=tallybrook")));
        QVERIFY(!text.contains(QLatin1Char('@')));

        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (validator.isEmpty())
            QSKIP("desktop-file-validate is not installed (Debian: desktop-file-utils)");
        const QString file = m_root.path() + QStringLiteral("/tallybrook.desktop");
        QVERIFY(writeText(file, text.toUtf8()));
        QProcess validate;
        validate.setProcessChannelMode(QProcess::MergedChannels);
        validate.start(validator, {file});
        QVERIFY(validate.waitForFinished(10000));
        const QString output = QString::fromUtf8(validate.readAll());
        QVERIFY2(validate.exitCode() == 0 && output.trimmed().isEmpty(), qPrintable(output));
    }

    void moveLaunchesCopyAndQuits()
    {
        const Paths p = freshInstallation();
        for (const bool starts : {true, false}) {
            // Shared, so a late callback of a failed run never touches a finished frame.
            const auto launched = std::make_shared<QStringList>();
            const auto quits = std::make_shared<int>(0);
            AppLocationManager::moveToApplications(
                p,
                [launched, starts](const QString& program) {
                    *launched << program;
                    return starts;
                },
                [quits] { ++*quits; });
            QTRY_COMPARE(*launched, QStringList{p.target()});
            QCoreApplication::processEvents();
            // A copy that did not start leaves the running one running.
            QCOMPARE(*quits, starts ? 1 : 0);
        }
        QVERIFY(QFileInfo(p.target()).isExecutable());
        QVERIFY(g_warnings.isEmpty());
    }

    void failedCopyIsLoggedAndKeepsRunning()
    {
        const auto launches = std::make_shared<int>(0);
        const auto quits = std::make_shared<int>(0);
        const auto launch = [launches](const QString&) {
            ++*launches;
            return true;
        };
        const auto quit = [quits] { ++*quits; };
        const QString prefix = QStringLiteral("Tallybrook: Failed to copy to %1/Applications: ").arg(home());

        // The folder cannot be made: a file is in its way.
        Paths p = freshInstallation();
        QVERIFY(writeText(p.applicationsFolder(), "in the way"));
        AppLocationManager::moveToApplications(p, launch, quit);
        QTRY_COMPARE(g_warnings.size(), 1);
        QCOMPARE(g_warnings.at(0),
                 prefix + QStringLiteral("Could not create the folder %1").arg(p.applicationsFolder()));

        // The program to copy is gone.
        p = freshInstallation();
        QFile::remove(p.running);
        AppLocationManager::moveToApplications(p, launch, quit);
        QTRY_COMPARE(g_warnings.size(), 2);
        QVERIFY2(g_warnings.at(1).startsWith(prefix), qPrintable(g_warnings.at(1)));
        QVERIFY(!QFileInfo::exists(p.desktopEntry()));

        QCOMPARE(*launches, 0);
        QCOMPARE(*quits, 0);
    }

    void startAfterWaitsForTheProcess()
    {
        const QString marker = m_root.path() + QStringLiteral("/started");
        const QString program = m_root.path() + QStringLiteral("/program");
        QVERIFY(writeText(
            program, QStringLiteral("#!/bin/sh\necho \"started:$APPIMAGE\" > '%1'\n").arg(marker).toUtf8(),
            true));
        qputenv("APPIMAGE", "/somewhere/old.AppImage");
        QProcess previous;
        previous.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        QVERIFY(previous.waitForStarted());

        QVERIFY(AppLocationManager::startAfter(program, previous.processId()));
        QTest::qWait(300);
        QVERIFY(!QFileInfo::exists(marker));
        QCOMPARE(previous.state(), QProcess::Running);

        previous.kill();
        QVERIFY(previous.waitForFinished());
        QTRY_VERIFY(QFileInfo::exists(marker));
        QTRY_COMPARE(readText(marker), QByteArray("started:\n"));
        qunsetenv("APPIMAGE");
    }
};

TB_TEST_MAIN(TestAppLocation)
#include "tst_applocation.moc"
