// A small program around one Store, for tests that need a separate process: killed while
// saving, or run as another user.
//   storeprobe stress FOLDER PROJECTS   saves generation after generation until killed
//   storeprobe save FOLDER              makes one change, saves, reports the outcome
#include "model/Store.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

void fillGeneration(AppData& d, int generation, int projects)
{
    // Every fee and the tax rate carry the generation: a file mixing two saves would show it.
    d.taxRate = generation;
    d.projects.resize(projects);
    for (int i = 0; i < projects; ++i) {
        Project& p = d.projects[i];
        if (p.id.isNull()) {
            p.id = QUuid::createUuid();
            p.name = QStringLiteral("Stress project %1 with a longer name").arg(i);
            p.client = QStringLiteral("Client %1").arg(i % 300);
            p.date = QDateTime(QDate(2020 + i % 6, 1 + i % 12, 15), QTime(12, 0), Qt::LocalTime);
        }
        p.fee = generation;
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    const QString mode = args.at(1);
    Store store(args.at(2), false);
    if (mode == QLatin1String("stress")) {
        const int projects = args.value(3, QStringLiteral("5000")).toInt();
        std::printf("ready\n");
        std::fflush(stdout);
        for (int generation = 1;; ++generation) {
            store.update([&](AppData& d) { fillGeneration(d, generation, projects); });
            store.flushPendingSave();
            // Lets the test time its kill against the saves it has seen land.
            std::printf("saved %d\n", generation);
            std::fflush(stdout);
        }
    }
    if (mode == QLatin1String("save")) {
        std::printf("blocked=%d\n", store.savingBlocked() ? 1 : 0);
        if (store.ui().toast())
            std::printf("startup=%s\n", qPrintable(store.ui().toast()->message));
        store.addClient(QStringLiteral("Probe Client"));
        store.flushPendingSave();
        std::printf("toast=%s\n", store.ui().toast() ? qPrintable(store.ui().toast()->message) : "");
        std::printf("inMemory=%d\n", store.data().clients.contains(QStringLiteral("Probe Client")) ? 1 : 0);
        return 0;
    }
    return 2;
}
