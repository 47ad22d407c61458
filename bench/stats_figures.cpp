// The statistics page recomputes every figure on each redraw. This measures that work for
// 100,000 paid projects in all-time mode against one plain pass that sums their fees, and
// prints the ratio of the two medians at the end of the run.
//
//   bench_stats_figures --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

#include "Isolation.h"
#include "RatioReporter.h"
#include "model/DataFile.h"
#include "model/Payments.h"
#include "model/StatsFigures.h"
#include "model/Store.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <random>

namespace {

constexpr int kProjects = 100000;

// A studio's ten years of work, written to a data file and read back the way the
// application starts, so texts and dates are held in memory as they are when it runs.
const QVector<Project>& projects()
{
    static const QVector<Project> list = [] {
        std::mt19937 random(20250401);
        std::uniform_int_distribution<int> day(0, 10 * 365);
        std::uniform_int_distribution<int> client(0, 39);
        std::uniform_int_distribution<int> category(0, 7);
        std::uniform_int_distribution<int> fee(2, 150);
        AppData data;
        for (int i = 0; i < 40; ++i)
            data.clients << QStringLiteral("Client studio %1").arg(i);
        for (int i = 0; i < 8; ++i)
            data.categories << QStringLiteral("Discipline %1").arg(i);
        const QDate first(2016, 1, 1);
        data.projects.reserve(kProjects);
        for (int i = 0; i < kProjects; ++i) {
            Project p;
            p.id = QUuid::createUuid();
            p.name = QStringLiteral("Project %1").arg(i);
            p.client = data.clients[client(random)];
            p.category = data.categories[category(random)];
            p.fee = fee(random) * 100.0;
            p.outsource = (i % 5 == 0) ? 250.0 : 0.0;
            p.status = Status::paid;
            p.date = QDateTime(first.addDays(day(random)), QTime(12, 0), Qt::LocalTime);
            data.projects.append(p);
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tallybrook.json"));
        QFile file(path);
        const std::optional<QByteArray> bytes = DataFile::encode(data);
        if (!bytes || !file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size())
            qFatal("cannot write the benchmark document");
        file.close();
        const Load load = Store::load(path, dir.path());
        if (load.data.projects.size() != kProjects)
            qFatal("cannot read the benchmark document back");
        return load.data.projects;
    }();
    return list;
}

void BM_PlainFeeSum(benchmark::State& state)
{
    const QVector<Project>& list = projects();
    for (auto _ : state) {
        double sum = 0;
        for (const Project& p : list)
            sum += p.fee;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PlainFeeSum)->Unit(benchmark::kMicrosecond);

void BM_StatsPageAllTime(benchmark::State& state)
{
    const QVector<Project>& list = projects();
    for (auto _ : state) {
        StatsFigures::Figures f = StatsFigures::compute(list, true, 2025, AppLanguage::en);
        benchmark::DoNotOptimize(f);
    }
}
BENCHMARK(BM_StatsPageAllTime)->Unit(benchmark::kMicrosecond);

// The same page with every project's payment days, adding the average days to pay and the
// slowest payers.
void BM_StatsPageAllTime_WithDaysToPay(benchmark::State& state)
{
    static const QVector<Project> list = [] {
        QVector<Project> withDays = projects();
        std::mt19937 random(20261208);
        std::uniform_int_distribution<int> days(0, 90);
        for (Project& p : withDays) {
            p.pendingSince = p.date.date();
            p.paidOn = p.pendingSince.addDays(days(random));
        }
        return withDays;
    }();
    for (auto _ : state) {
        StatsFigures::Figures f = StatsFigures::compute(list, true, 2025, AppLanguage::en);
        benchmark::DoNotOptimize(f);
        const Payments::DaysToPay d = Payments::daysToPay(list, true, 2025);
        benchmark::DoNotOptimize(d.averageDays);
    }
}
BENCHMARK(BM_StatsPageAllTime_WithDaysToPay)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    // Local-time conversion cost depends on the zone; measure in one with daylight-saving history.
    if (!Isolation::isolate(Isolation::Extra::fixedZone))
        return 1;
    QCoreApplication app(argc, argv);
    RatioReporter reporter("BM_StatsPageAllTime", "BM_PlainFeeSum", "page figures / plain fee sum");
    return reporter.runAll(argc, argv);
}
