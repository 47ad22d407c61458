#include "TestMain.h"

#include "model/DataFile.h"

#include <QLockFile>
#include <QProcess>
#include <csignal>
#include <memory>

// Twenty starts at the same moment: exactly one program stays, the others hand over and
// leave with status 0, and the data file has one writer.
class TestManyStarts final : public QObject
{
    Q_OBJECT
private slots:
    void withoutADisplaySaysHowToGetOne()
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(TB_APP_BINARY), {});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        const QString said = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(said.contains(QStringLiteral("needs a graphical desktop")), qPrintable(said));
        QVERIFY(said.contains(QStringLiteral("xvfb-run")));
    }

    void twentyStartsLeaveOneInstance()
    {
        for (int round = 0; round < 3; ++round) {
            QTemporaryDir home;
            const QString runtime = home.path() + QStringLiteral("/run");
            QDir().mkpath(runtime);
            QFile::setPermissions(runtime,
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
            env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

            std::vector<std::unique_ptr<QProcess>> starts;
            for (int i = 0; i < 20; ++i) {
                auto p = std::make_unique<QProcess>();
                p->setProcessEnvironment(env);
                p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
                starts.push_back(std::move(p));
            }
            for (auto& p : starts)
                p->start(QStringLiteral(TB_APP_BINARY), {});
            for (auto& p : starts)
                QVERIFY(p->waitForStarted());

            const auto running = [&] {
                int n = 0;
                for (auto& p : starts)
                    n += p->state() != QProcess::NotRunning ? 1 : 0;
                return n;
            };
            QTRY_COMPARE_WITH_TIMEOUT(running(), 1, 30000);
            QProcess* survivor = nullptr;
            for (auto& p : starts) {
                if (p->state() != QProcess::NotRunning) {
                    survivor = p.get();
                    continue;
                }
                QCOMPARE(p->exitStatus(), QProcess::NormalExit);
                QCOMPARE(p->exitCode(), 0);
            }
            // It stays: nobody else is waiting to take over.
            QTest::qWait(300);
            QCOMPARE(survivor->state(), QProcess::Running);

            // The survivor holds the lock.
            QLockFile lock(runtime + QStringLiteral("/tallybrook.lock"));
            qint64 pid = 0;
            QString host, app;
            QVERIFY(lock.getLockInfo(&pid, &host, &app));
            QCOMPARE(pid, survivor->processId());

            const QString dataFolder = home.path() + QStringLiteral("/data/Tallybrook");
            QFile data(dataFolder + QStringLiteral("/tallybrook.json"));
            QVERIFY(data.open(QIODevice::ReadOnly));
            const auto document = DataFile::decode(data.readAll());
            QVERIFY(document);
            QCOMPARE(document->projects.size(), 37);
            QCOMPARE(QDir(dataFolder).entryList(QDir::Files), QStringList{"tallybrook.json"});

            ::kill(pid_t(survivor->processId()), SIGTERM);
            QVERIFY(survivor->waitForFinished(10000));
            QCOMPARE(survivor->exitCode(), 0);
        }
    }
};

TB_TEST_MAIN(TestManyStarts)
#include "tst_manystarts.moc"
