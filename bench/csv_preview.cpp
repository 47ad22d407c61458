// The import preview of a 10,000-row file as a Turkish spreadsheet writes it (Windows-1254,
// semicolons, DD.MM.YYYY, "1.234,56"), against a document of 10,000 projects for the duplicate
// check; the whole preview has to stay well under a second. The baseline only decodes the bytes
// and splits them into lines, and the run ends with the ratio of the two medians.
//
//   bench_csv_preview --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

#include "Isolation.h"
#include "RatioReporter.h"
#include "model/CsvImport.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <benchmark/benchmark.h>
#include <random>

namespace {

constexpr int kRows = 10000;

const QByteArray& file()
{
    static const QByteArray bytes = [] {
        std::mt19937 random(20261208);
        std::uniform_int_distribution<int> day(0, 5 * 365);
        std::uniform_int_distribution<int> fee(100, 2000000);
        const char* statuses[] = {"Ödendi", "Ödenecek", "Devam ediyor"};
        QString text = QStringLiteral("Proje Adı;Müşteri;Kategori;Ücret;Dış Kaynak;Durum;Tarih\r\n");
        const QDate first(2020, 1, 1);
        for (int i = 0; i < kRows; ++i) {
            const int cents = fee(random);
            const QString amount = QStringLiteral("%1.%2,%3")
                                       .arg(cents / 100000)
                                       .arg((cents / 100) % 1000, 3, 10, QLatin1Char('0'))
                                       .arg(cents % 100, 2, 10, QLatin1Char('0'));
            text += QStringLiteral("İş %1;Müşteri Şirketi %2;Kategori %3;%4;0;%5;%6\r\n")
                        .arg(i)
                        .arg(i % 60)
                        .arg(i % 9)
                        .arg(amount, QString::fromUtf8(statuses[i % 3]),
                             first.addDays(day(random)).toString(QStringLiteral("dd.MM.yyyy")));
        }
        QByteArray out;
        out.reserve(text.size());
        // Windows-1254 for the few Turkish letters used here, Latin-1 for the rest.
        for (QChar c : std::as_const(text)) {
            switch (c.unicode()) {
            case 0x0130:
                out += '\xDD';
                break;
            case 0x015F:
                out += '\xFE';
                break;
            case 0x0131:
                out += '\xFD';
                break;
            default:
                out += char(c.unicode() & 0xFF);
            }
        }
        return out;
    }();
    return bytes;
}

const AppData& document()
{
    static const AppData data = [] {
        AppData d;
        for (int i = 0; i < kRows; ++i) {
            Project p;
            p.id = QUuid::createUuid();
            p.name = QStringLiteral("Project %1").arg(i);
            p.client = QStringLiteral("Client %1").arg(i % 40);
            p.fee = 100.0 * (i % 150);
            p.date = QDateTime(QDate(2020, 1, 1).addDays(i % 1800), QTime(12, 0), Qt::LocalTime);
            d.projects.append(p);
        }
        return d;
    }();
    return data;
}

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
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter("BM_Preview10000Rows", "BM_DecodeAndSplitLines", "preview / decode and split");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.print();
    return 0;
}
