// Opening the import preview of a 10,000-row file as a Turkish spreadsheet writes it: the guesses,
// the rows read against a document of 10,000 projects, the table filled and the sheet painted.
// The whole has to stay under a second; the baseline is the preview of the same bytes alone, and
// the run ends with the ratio of the two medians.
//
//   bench_import_sheet --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "BenchUtil.h"
#include "CsvSample.h"
#include "app/ImportSheet.h"
#include "ui/InkButton.h"

namespace {

void BM_Preview10000Rows(benchmark::State& state)
{
    for (auto _ : state) {
        const CsvImport::Preview p = CsvImport::preview(CsvSample::file(), CsvSample::document());
        benchmark::DoNotOptimize(p.rows.size());
    }
}
BENCHMARK(BM_Preview10000Rows)->Unit(benchmark::kMillisecond);

void BM_OpenSheet10000Rows(benchmark::State& state)
{
    QTemporaryDir dir;
    Store store(dir.path(), true);
    store.update([](AppData& d) { d = CsvSample::document(); });
    for (auto _ : state) {
        ImportSheet sheet(store, CsvSample::file(), QStringLiteral("projeler.csv"));
        sheet.show();
        while (!sheet.windowHandle()->isExposed())
            QCoreApplication::processEvents();
        // The layout and the first frame.
        QCoreApplication::processEvents();
        sheet.grab();
        if (sheet.tickedCount() != CsvSample::kRows || !sheet.importButton()->isEnabled())
            state.SkipWithError("the sheet does not offer every row");
        state.PauseTiming();
        sheet.close();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenSheet10000Rows)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    RatioReporter reporter("BM_OpenSheet10000Rows", "BM_Preview10000Rows", "open the sheet / preview alone");
    return BenchUtil::run(argc, argv, &reporter);
}
