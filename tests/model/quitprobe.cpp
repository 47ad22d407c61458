// Starts a Store on the given folder, makes one change, says "ready" and waits to be
// told to quit by a signal. The change must reach the disk through the quit path.
//   quitprobe FOLDER CLIENT             the change (a new client) waits for the debounce
//   quitprobe FOLDER CLIENT PROJECTS    a document of that many projects is saved first; then a
//                                       renamed project's save is held at the disk until the
//                                       signal comes, and the client is added behind it
#include "model/AtomicWrite.h"
#include "model/QuitSignals.h"
#include "model/Store.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <atomic>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    QuitSignals signals_;
    Store store(QString::fromLocal8Bit(argv[1]), false);
    const int projects = argc > 3 ? std::atoi(argv[3]) : 0;
    QSemaphore held;
    QSemaphore signalled;
    std::atomic<bool> holding{false};
    if (projects > 0) {
        store.update([projects](AppData& d) {
            d.projects.resize(projects);
            for (int i = 0; i < projects; ++i) {
                Project& p = d.projects[i];
                p.id = QUuid::createUuid();
                p.name = QStringLiteral("Project %1 of a large studio").arg(i);
                p.client = QStringLiteral("Client %1").arg(i % 500);
                p.fee = i;
                p.date = QDateTime(QDate(2010 + i % 16, 1 + i % 12, 1 + i % 28), QTime(12, 0), Qt::LocalTime);
            }
        });
        store.flushPendingSave();
        store.setSaveWriter([&](const QString& path, const QByteArray& bytes, QString* error) {
            if (holding.exchange(false)) {
                held.release();
                signalled.acquire();
            }
            return AtomicWrite::write(path, bytes, error);
        });
        QObject::connect(&signals_, &QuitSignals::quitRequested, &store, [&](int number) {
            std::printf("signal %d saving %d\n", number, store.isSaving() ? 1 : 0);
            std::fflush(stdout);
            signalled.release();
        });
        holding = true;
        store.update(
            [](AppData& d) { d.projects.first().name = QStringLiteral("Renamed before the signal"); });
        while (store.hasPendingSave())
            app.processEvents(QEventLoop::WaitForMoreEvents);
        held.acquire(); // encoded, and held at the disk
    }
    store.addClient(QString::fromLocal8Bit(argv[2]));
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
