#include "TestMain.h"

#include "app/SingleInstance.h"
#include "app/TallybrookApp.h"
#include "model/Preferences.h"
#include "model/Store.h"
#include "window/MainWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <csignal>
#include <cstring>
#include <memory>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {
QString runtimeDir()
{
    return SingleInstance::defaultFolder();
}

// The real program, started like a user would (headless here).
std::unique_ptr<QProcess> startApp(const QString& program = QStringLiteral(TB_APP_BINARY))
{
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(program, {});
    return p;
}
} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Preferences::setBoolean(Preferences::kDismissedMoveToApps, true); }

    void secondInstanceAsksTheFirst()
    {
        QTemporaryDir dir;
        auto first = std::make_unique<SingleInstance>(dir.path());
        QCOMPARE(first->acquire(), SingleInstance::Role::primary);
        QSignalSpy asked(first.get(), &SingleInstance::reopenRequested);

        SingleInstance second(dir.path());
        QCOMPARE(second.acquire(), SingleInstance::Role::secondary);
        // The second start blocks on its answer, so it runs beside this event loop.
        bool answered = false;
        std::thread other([&] { answered = second.askPrimaryToReopen(5000); });
        QTRY_COMPARE(asked.size(), 1);
        other.join();
        QVERIFY(answered);

        // Once the first lets go, the next start is the first again.
        first.reset();
        SingleInstance third(dir.path());
        QCOMPARE(third.acquire(), SingleInstance::Role::primary);
    }

    // The socket is its owner's alone; a peer that sends nonsense is dropped unanswered, and
    // the next start is still heard.
    void nonsenseIsDroppedAndTheSocketIsTheOwners()
    {
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QCOMPARE(first.acquire(), SingleInstance::Role::primary);
        QSignalSpy asked(&first, &SingleInstance::reopenRequested);
        const QFile::Permissions others =
            QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
        QCOMPARE(QFileInfo(first.serverName()).permissions() & others, QFile::Permissions());
        QCOMPARE(QDir(dir.path()).entryList(QDir::System | QDir::Files | QDir::Hidden),
                 (QStringList{"tallybrook.lock", "tallybrook.socket"}));

        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        QVERIFY(fd >= 0);
        const auto closeAtEnd = qScopeGuard([fd] { ::close(fd); });
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(first.serverName());
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        QCOMPARE(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
        const QByteArray nonsense(300, 'x');
        QCOMPARE(::send(fd, nonsense.constData(), size_t(nonsense.size()), MSG_NOSIGNAL), ssize_t(300));
        char reply[8];
        QTRY_COMPARE(::recv(fd, reply, sizeof(reply), MSG_DONTWAIT), ssize_t(0)); // closed, no answer
        QCOMPARE(asked.size(), 0);

        SingleInstance second(dir.path());
        bool answered = false;
        std::thread other([&] { answered = second.askPrimaryToReopen(5000); });
        QTRY_COMPARE(asked.size(), 1);
        other.join();
        QVERIFY(answered);
    }

    void nobodyAnswering()
    {
        QTemporaryDir dir;
        SingleInstance lonely(dir.path());
        QVERIFY(!lonely.askPrimaryToReopen(300));
        SingleInstance nowhere(QStringLiteral("/proc/no-such-place"));
        QCOMPARE(nowhere.acquire(), SingleInstance::Role::failed);
        QVERIFY(!nowhere.errorString().isEmpty());
    }

    void garbledLocksHeal()
    {
        QTemporaryDir dir;
        const QString lock = dir.path() + QStringLiteral("/tallybrook.lock");
        const QDateTime old = QDateTime::currentDateTime().addSecs(-60);
        const auto age = [&] {
            QFile f(lock);
            return f.open(QIODevice::ReadOnly) && f.setFileTime(old, QFileDevice::FileModificationTime);
        };
        for (const QByteArray& content : {QByteArray(), QByteArray("\x01\xff garbage\n\n\n")}) {
            {
                QFile f(lock);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(content);
            }
            QVERIFY(age());
            SingleInstance next(dir.path());
            QCOMPARE(next.acquire(), SingleInstance::Role::primary);
        }
        // One just written may be a start in the middle of writing it: left alone.
        {
            QFile f(lock);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        SingleInstance hasty(dir.path());
        QCOMPARE(hasty.acquire(), SingleInstance::Role::secondary);
        QVERIFY(QFile::exists(lock));
        // A live first start is never taken over, however old its lock.
        QVERIFY(QFile::remove(lock));
        SingleInstance first(dir.path());
        QCOMPARE(first.acquire(), SingleInstance::Role::primary);
        QVERIFY(age());
        SingleInstance second(dir.path());
        QCOMPARE(second.acquire(), SingleInstance::Role::secondary);
    }

    void killedOwnerLeavesNoLock()
    {
        // A real first instance killed outright leaves its lock file behind.
        auto first = startApp();
        QVERIFY(first->waitForStarted());
        const QString lock = runtimeDir() + QStringLiteral("/tallybrook.lock");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(runtimeDir() + QStringLiteral("/tallybrook.socket")), 10000);
        ::kill(pid_t(first->processId()), SIGKILL);
        QVERIFY(first->waitForFinished());
        QVERIFY(QFile::exists(lock));

        SingleInstance next;
        QCOMPARE(next.acquire(), SingleInstance::Role::primary);
    }

    void secondStartShowsTheFirstWindow()
    {
        // This process is the first instance, with its window hidden in the tray.
        SingleInstance instance;
        QCOMPARE(instance.acquire(), SingleInstance::Role::primary);
        TallybrookApp app;
        connect(&instance, &SingleInstance::reopenRequested, &app, &TallybrookApp::reopen);
        app.start();
        MainWindow* window = app.mainWindow();
        window->hide();

        auto second = startApp();
        QTRY_VERIFY_WITH_TIMEOUT(second->state() == QProcess::NotRunning, 10000);
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QVERIFY(window->isVisible());
        QCOMPARE(app.mainWindow(), window);
    }

    void twoRealProcessesAndSigterm()
    {
        auto first = startApp();
        QVERIFY(first->waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(runtimeDir() + QStringLiteral("/tallybrook.socket")), 10000);
        auto second = startApp();
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(first->state(), QProcess::Running);

        ::kill(pid_t(first->processId()), SIGTERM);
        QVERIFY(first->waitForFinished(10000));
        QCOMPARE(first->exitStatus(), QProcess::NormalExit);
        QCOMPARE(first->exitCode(), 0);
    }

    void sigtermWritesThePendingChange()
    {
        const QString dataFile = Store::defaultDataFolder() + QStringLiteral("/tallybrook.json");
        QProcess probe;
        probe.setProcessChannelMode(QProcess::SeparateChannels);
        probe.start(QStringLiteral(TB_APP_PROBE), {});
        QVERIFY(probe.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(probe.canReadLine(), 10000);
        QCOMPARE(probe.readLine().trimmed(), QByteArray("ready"));
        // Well inside the save delay: the change is only in memory.
        ::kill(pid_t(probe.processId()), SIGTERM);
        QVERIFY(probe.waitForFinished(10000));
        QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
        QCOMPARE(probe.exitCode(), 0);
        QCOMPARE(probe.readAll().trimmed(), QByteArray("signal 15 pending 1"));

        QFile file(dataFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("Changed before the signal"));
    }
};

TB_WIDGET_TEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
