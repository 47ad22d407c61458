#include "TestMain.h"

#include "StoreTestUtil.h"

#include <QProcess>
#include <csignal>

using namespace StoreTestUtil;

class TestQuitSignals final : public QObject
{
    Q_OBJECT
private slots:
    void signalQuitsWritePendingChange_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void signalQuitsWritePendingChange()
    {
        QFETCH(int, signalNumber);
        QTemporaryDir dir;
        // First start writes the sample; the probe then adds a client and waits.
        QProcess probe;
        probe.start(QStringLiteral(TB_QUITPROBE), {dir.path(), QStringLiteral("Signalled Client")});
        QVERIFY(probe.waitForStarted());
        QVERIFY(probe.waitForReadyRead(10000));
        QCOMPARE(probe.readLine().trimmed(), QByteArray("ready"));
        // Well inside the 0.4 s debounce: only the quit path can write it.
        QVERIFY(!readDocument(dir.path() + QStringLiteral("/tallybrook.json"))
                     .clients.contains("Signalled Client"));
        ::kill(pid_t(probe.processId()), signalNumber);
        QVERIFY(probe.waitForFinished(10000));
        QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
        QCOMPARE(probe.exitCode(), 0);
        QVERIFY(readDocument(dir.path() + QStringLiteral("/tallybrook.json"))
                    .clients.contains(QStringLiteral("Signalled Client")));
    }

    void signalDuringLargeSaveWritesTheLatest_data() { signalQuitsWritePendingChange_data(); }
    void signalDuringLargeSaveWritesTheLatest()
    {
        // 100,000 projects; one change's save is under way (held at the disk until the signal
        // comes) and a newer change waits behind it. Quitting lets the first finish, then
        // writes the newer one.
        QFETCH(int, signalNumber);
        QTemporaryDir dir;
        QProcess probe;
        probe.start(QStringLiteral(TB_QUITPROBE), {dir.path(), QStringLiteral("Signalled Client"), "100000"});
        QVERIFY(probe.waitForStarted());
        QVERIFY(probe.waitForReadyRead(120000));
        QCOMPARE(probe.readLine().trimmed(), QByteArray("ready"));
        ::kill(pid_t(probe.processId()), signalNumber);
        QVERIFY(probe.waitForFinished(120000));
        QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
        QCOMPARE(probe.exitCode(), 0);
        QCOMPARE(probe.readAllStandardOutput().trimmed(),
                 QByteArray("signal %1 saving 1").replace("%1", QByteArray::number(signalNumber)));
        const AppData written = readDocument(dir.path() + QStringLiteral("/tallybrook.json"));
        QCOMPARE(written.projects.size(), 100000);
        QCOMPARE(written.projects.first().name, QStringLiteral("Renamed before the signal"));
        QVERIFY(written.clients.contains(QStringLiteral("Signalled Client")));
    }
};

TB_TEST_MAIN(TestQuitSignals)
#include "tst_quit_signals.moc"
