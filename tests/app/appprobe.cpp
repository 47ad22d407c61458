// The real application entry with one unsaved change made once it is up; it reports whether
// the change was still waiting to be written when a quit signal arrived.
#include "app/TallybrookApp.h"
#include "model/QuitSignals.h"
#include "model/Store.h"

#include <cstdio>

int main(int argc, char** argv)
{
    return TallybrookApp::run(argc, argv, [](TallybrookApp& app) {
        Store* store = app.store();
        store->update(
            [](AppData& d) { d.projects.first().name = QStringLiteral("Changed before the signal"); });
        if (auto* signals_ = app.findChild<QuitSignals*>()) {
            QObject::connect(signals_, &QuitSignals::quitRequested, store, [store](int number) {
                std::printf("signal %d pending %d\n", number, store->hasPendingSave() ? 1 : 0);
                std::fflush(stdout);
            });
        }
        std::printf("ready\n");
        std::fflush(stdout);
    });
}
