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
};

TB_TEST_MAIN(TestQuitSignals)
#include "tst_quit_signals.moc"
