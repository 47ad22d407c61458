// The import preview of a 10,000-row file as a Turkish spreadsheet writes it (Windows-1254,
// semicolons, DD.MM.YYYY, "1.234,56"), against a document of 10,000 projects for the duplicate
// check; the whole preview has to stay well under a second. The baseline only decodes the bytes
// and splits them into lines, and the run ends with the ratio of the two medians.
//
//   bench_csv_preview --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

#include "CsvSample.h"
#include "Isolation.h"
#include "RatioReporter.h"
#include "model/CsvImport.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <benchmark/benchmark.h>

namespace {

using CsvSample::document;
using CsvSample::file;
using CsvSample::kRows;

void BM_DecodeAndSplitLines(benchmark::State& state)
{
    const QByteArray& bytes = file();
    for (auto _ : state) {
        const QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
        benchmark::DoNotOptimize(lines.size());
    }
}
BENCHMARK(BM_DecodeAndSplitLines)->Unit(benchmark::kMillisecond);

void BM_Preview10000Rows(benchmark::State& state)
{
    const QByteArray& bytes = file();
    const AppData& data = document();
    for (auto _ : state) {
        const CsvImport::Preview p = CsvImport::preview(bytes, data);
        if (p.rows.size() != kRows)
            state.SkipWithError("the preview did not read every row");
        benchmark::DoNotOptimize(p.rows.size());
    }
}
BENCHMARK(BM_Preview10000Rows)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!Isolation::isolate(Isolation::Extra::fixedZone))
        return 1;
    QCoreApplication app(argc, argv);
    RatioReporter reporter("BM_Preview10000Rows", "BM_DecodeAndSplitLines", "preview / decode and split");
    return reporter.runAll(argc, argv);
}
