// How long the GUI thread's event loop stops while a 100,000-project document is saved. A 1 ms
// timer on the GUI thread records the longest gap between its ticks; each case's time is that
// gap (manual time), so the repetitions' median is the median longest stall.
//   BM_SaveStall: the Store's own save, from the debounced change until the file is written.
//     With change_after_ms:N (N > 0), a second change to a project is made N ms after the first
//     save started: at 1 ms while the saving thread still copies the project list (the GUI
//     thread's change then copies it too), at 50 ms while it encodes.
//   BM_SaveStall_BaselineSynchronous: the same document encoded and written on the GUI thread,
//     as every save did before.
//   BM_SaveStall_BaselineIdle: no save at all for 700 ms: what the machine's own load and the
//     scheduler make of the ticks.
// Target: BM_SaveStall under 16 ms (one frame at 60 Hz).
#include "BigDocument.h"
#include "Isolation.h"
#include "model/AtomicWrite.h"
#include "model/DataFile.h"
#include "model/Store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

using BigDocument::bigDocument;

// Records the longest gap between ticks of a 1 ms timer on the calling thread's event loop.
class StallMeter
{
public:
    StallMeter()
    {
        m_tick.setTimerType(Qt::PreciseTimer);
        m_tick.setInterval(1);
        QObject::connect(&m_tick, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
    }
    void start()
    {
        m_longest = 0;
        m_clock.start();
        m_last = 0;
        m_tick.start();
    }
    // Seconds.
    double stop()
    {
        m_tick.stop();
        return double(m_longest) / 1e9;
    }

private:
    QTimer m_tick;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

struct Fixture
{
    QTemporaryDir dir;
    Store store{dir.path(), false};

    Fixture()
    {
        store.update([](AppData& d) { d = bigDocument(); });
        store.flushPendingSave();
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void renameProject(Store& store, int index, int round)
{
    Project p = store.data().projects.at(index);
    p.name = QStringLiteral("Renamed %1").arg(round);
    store.save(p);
}

void BM_SaveStall(benchmark::State& state)
{
    Fixture& f = fixture();
    Store& store = f.store;
    StallMeter meter;
    int round = 0;
    double changeMs = 0;
    for (auto _ : state) {
        ++round;
        QEventLoop loop;
        int saves = 0;
        const qint64 changeAfterMs = state.range(0);
        const bool withChange = changeAfterMs > 0;
        QElapsedTimer sinceSaveStarted;
        bool changedDuringSave = !withChange;
        const auto savedConnection = QObject::connect(&store, &Store::saved, [&] {
            if (++saves == (withChange ? 2 : 1))
                loop.quit();
        });
        // Once the first save is under way, a second change.
        QTimer watch;
        watch.setInterval(1);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (changedDuringSave || store.hasPendingSave() || !store.isSaving())
                return;
            if (!sinceSaveStarted.isValid())
                sinceSaveStarted.start();
            if (sinceSaveStarted.elapsed() < changeAfterMs - 1)
                return;
            changedDuringSave = true;
            QElapsedTimer clock;
            clock.start();
            renameProject(store, 1, round);
            changeMs = std::max(changeMs, double(clock.nsecsElapsed()) / 1e6);
        });
        meter.start();
        watch.start();
        renameProject(store, 0, round);
        loop.exec();
        state.SetIterationTime(meter.stop());
        QObject::disconnect(savedConnection);
        if (!changedDuringSave)
            state.SkipWithError("the second change missed the save in flight");
    }
    state.counters["change_during_save_ms"] = changeMs;
}

void BM_SaveStall_BaselineSynchronous(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString out = f.dir.path() + QStringLiteral("/synchronous.json");
    StallMeter meter;
    for (auto _ : state) {
        QEventLoop loop;
        meter.start();
        QTimer::singleShot(5, [&] {
            QString error;
            const auto bytes = DataFile::encode(f.store.data(), &error);
            benchmark::DoNotOptimize(bytes && AtomicWrite::write(out, *bytes, &error));
            QTimer::singleShot(5, &loop, &QEventLoop::quit);
        });
        loop.exec();
        state.SetIterationTime(meter.stop());
    }
}

void BM_SaveStall_BaselineIdle(benchmark::State& state)
{
    fixture();
    StallMeter meter;
    for (auto _ : state) {
        QEventLoop loop;
        meter.start();
        QTimer::singleShot(700, &loop, &QEventLoop::quit);
        loop.exec();
        state.SetIterationTime(meter.stop());
    }
}

} // namespace

BENCHMARK(BM_SaveStall)
    ->ArgName("change_after_ms")
    ->Arg(0)
    ->Arg(1)
    ->Arg(50)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveStall_BaselineSynchronous)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_SaveStall_BaselineIdle)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (!Isolation::isolate())
        return 1;
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
