// Starts a Store on the given folder, makes one change, says "ready" and waits to be
// told to quit by a signal. The change must reach the disk through the quit path.
#include "model/QuitSignals.h"
#include "model/Store.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    QuitSignals signals_;
    Store store(QString::fromLocal8Bit(argv[1]), false);
    store.addClient(QString::fromLocal8Bit(argv[2]));
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
