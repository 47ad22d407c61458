// Merging a document changed on two computers, as a save does when the file changed on disk:
// 100,000 projects, about 1% changed on each side (edits, deletions, additions, some of the same
// projects on both sides), against encoding the merged document, which the same save then does.
// Prints the ratio of the two medians at the end of the run.
//
//   bench_merge_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "BigDocument.h"
#include "Isolation.h"
#include "RatioReporter.h"
#include "model/DataFile.h"
#include "model/DocumentMerge.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

// 1% of the projects: mostly edits, some deletions and additions; `shared` picks the projects
// both sides edit, so some fields end up in conflict.
void change(AppData& d, QRandomGenerator& rng, const QVector<qsizetype>& shared, const QString& side)
{
    const qsizetype n = d.projects.size();
    for (qsizetype at : shared)
        d.projects[at].fee += side.size();
    for (int i = 0; i < int(n / 100) - int(shared.size()); ++i) {
        Project& p = d.projects[qsizetype(rng.bounded(quint32(n)))];
        switch (i % 4) {
        case 0:
            p.name = side + QStringLiteral(" renamed %1").arg(i);
            break;
        case 1:
            p.status = Status::paid;
            break;
        case 2:
            p.extra.insert(QStringLiteral("note"), side);
            break;
        default:
            p.date = p.date.addDays(1);
        }
    }
    for (int i = 0; i < int(n / 1000); ++i)
        d.projects.removeAt(qsizetype(rng.bounded(quint32(d.projects.size()))));
    for (int i = 0; i < int(n / 1000); ++i) {
        Project p = d.projects.at(0);
        p.id = QUuid::createUuid();
        p.name = side + QStringLiteral(" new %1").arg(i);
        d.projects.prepend(p);
    }
}

struct Fixture
{
    AppData base = BigDocument::bigDocument();
    AppData mine;
    AppData theirs;

    Fixture()
    {
        QRandomGenerator rng(7);
        QVector<qsizetype> shared;
        for (int i = 0; i < 100; ++i)
            shared.append(qsizetype(rng.bounded(quint32(base.projects.size()))));
        mine = base;
        change(mine, rng, shared, QStringLiteral("mine"));
        mine.taxRate = 18;
        AppData other = base;
        change(other, rng, shared, QStringLiteral("theirs side"));
        other.clients.append(QStringLiteral("A new client"));
        // The other side's document is read from the file: no text shared with the base.
        theirs = *DataFile::decode(*DataFile::encode(other));
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_Merge(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        DocumentMerge::Result r = DocumentMerge::merge(f.base, f.mine, f.theirs, true);
        if (r.conflicts.isEmpty() || r.merged.projects.size() < BigDocument::kProjects)
            state.SkipWithError("the changes did not meet");
        benchmark::DoNotOptimize(r.merged.projects.size());
    }
}

// The baseline: encoding the merged document, as the save that follows the merge does.
void BM_Merge_BaselineEncode(benchmark::State& state)
{
    Fixture& f = fixture();
    const AppData merged = DocumentMerge::merge(f.base, f.mine, f.theirs, true).merged;
    for (auto _ : state) {
        const auto bytes = DataFile::encode(merged);
        benchmark::DoNotOptimize(bytes->size());
    }
}

BENCHMARK(BM_Merge)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Merge_BaselineEncode)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    // The dates are written in local time: a zone with daylight-saving history, as the tests use.
    if (!Isolation::isolate(Isolation::Extra::fixedZone))
        return 1;
    QCoreApplication app(argc, argv);
    RatioReporter reporter("BM_Merge", "BM_Merge_BaselineEncode", "merge / encode");
    return reporter.runAll(argc, argv);
}
