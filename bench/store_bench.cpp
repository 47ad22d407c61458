// Loading, saving and the board's derived figures on a large document: 100,000 projects
// over 20 years, 10,000 of them in the active year. Each case has its plain baseline.
#include "BigDocument.h"
#include "Isolation.h"
#include "model/AtomicWrite.h"
#include "model/DataFile.h"
#include "model/Store.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <simdjson.h>

namespace {

using BigDocument::bigDocument;
using BigDocument::kProjects;

struct Fixture
{
    QTemporaryDir dir;
    AppData data = bigDocument();
    QByteArray bytes = *DataFile::encode(data);
    QString path = dir.path() + QStringLiteral("/tallybrook.json");

    Fixture()
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

// A start's whole load from disk: reading the file, decoding, the dates to noon, the repairs and
// the shared texts (Store::load).
void BM_Load(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        Load l = Store::load(f.path, f.dir.path());
        if (!l.message.isEmpty() || l.data.projects.size() != kProjects)
            state.SkipWithError("the document did not load");
        benchmark::DoNotOptimize(l.data.projects.size());
        // Freeing the document read is no part of a load (a start never does it).
        state.PauseTiming();
        l = Load();
        state.ResumeTiming();
    }
}

// The reading alone, from bytes in memory.
void BM_Load_DecodeOnly(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        auto d = DataFile::decode(f.bytes);
        benchmark::DoNotOptimize(d->projects.size());
    }
}

// simdjson's DOM parse of the same bytes, its parser kept from one run to the next.
void BM_Load_BaselineSimdjson(benchmark::State& state)
{
    Fixture& f = fixture();
    const simdjson::padded_string json(f.bytes.constData(), size_t(f.bytes.size()));
    simdjson::dom::parser parser;
    for (auto _ : state) {
        simdjson::dom::element doc;
        if (parser.parse(json).get(doc) != simdjson::SUCCESS)
            state.SkipWithError("simdjson refused the document");
        benchmark::DoNotOptimize(doc);
    }
}

void BM_Load_BaselineFromJson(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        QJsonDocument d = QJsonDocument::fromJson(f.bytes);
        benchmark::DoNotOptimize(d.isObject());
    }
}

// Arg 0: TZ unset, as on a default Debian system (glibc then checks /etc/localtime at each
// local-time conversion); arg 1: TZ=UTC. The previous setting is restored afterwards.
class ZoneSetting
{
public:
    explicit ZoneSetting(bool utc) : m_had(qEnvironmentVariableIsSet("TZ")), m_old(qgetenv("TZ"))
    {
        if (utc)
            qputenv("TZ", "UTC");
        else
            qunsetenv("TZ");
        tzset();
    }
    ~ZoneSetting()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    bool m_had;
    QByteArray m_old;
};

// Encoding and the atomic write, as one save does them.
void BM_Save(benchmark::State& state)
{
    Fixture& f = fixture();
    const ZoneSetting zone(state.range(0) != 0);
    const QString out = f.dir.path() + QStringLiteral("/saved.json");
    for (auto _ : state) {
        QString error;
        const auto bytes = DataFile::encode(f.data, &error);
        benchmark::DoNotOptimize(AtomicWrite::write(out, *bytes, &error));
    }
}

void BM_Save_BaselineToJsonAndWrite(benchmark::State& state)
{
    Fixture& f = fixture();
    const ZoneSetting zone(state.range(0) != 0);
    const QJsonDocument doc = QJsonDocument::fromJson(f.bytes);
    const QString out = f.dir.path() + QStringLiteral("/plain.json");
    for (auto _ : state) {
        const QByteArray bytes = doc.toJson(QJsonDocument::Indented);
        QFile file(out);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        benchmark::DoNotOptimize(file.write(bytes));
    }
}

Store& bigStore()
{
    static Store* store = [] {
        auto* s = new Store(fixture().dir.path() + QStringLiteral("/store"), true);
        s->update([](AppData& d) { d = fixture().data; });
        return s;
    }();
    return *store;
}

// A change to the document, then what one board redraw reads.
void changeAndReadBoard(Store& s)
{
    s.update([](AppData& d) { d.taxRate = d.taxRate == 20 ? 21 : 20; });
    benchmark::DoNotOptimize(s.years().size());
    benchmark::DoNotOptimize(s.visibleProjects().size());
    for (Status st : StatusInfo::all) {
        benchmark::DoNotOptimize(s.projects(st).size());
        benchmark::DoNotOptimize(s.total(st));
    }
    benchmark::DoNotOptimize(s.netAfterTax());
    benchmark::DoNotOptimize(s.targetProgress());
    benchmark::DoNotOptimize(s.collectionRate());
}

// What one board redraw reads, right after a change to the document.
void BM_BoardFigures(benchmark::State& state)
{
    Store& s = bigStore();
    for (auto _ : state) {
        changeAndReadBoard(s);
    }
}

// The same document with payment days: every pending project due 30 days after its date.
Store& paymentStore()
{
    static Store* store = [] {
        auto* s = new Store(fixture().dir.path() + QStringLiteral("/payments"), true);
        s->update([](AppData& d) {
            d = fixture().data;
            for (Project& p : d.projects) {
                if (p.status != Status::pending)
                    continue;
                p.pendingSince = p.date.date();
                p.dueDate = p.pendingSince.addDays(30);
            }
        });
        const QDate today(s->activeYear(), 7, 1); // about half of the year's pending ones overdue
        s->setToday([today] { return today; });
        return s;
    }();
    return *store;
}

// One board redraw with the payment figures it adds: the overdue summary, the forecast, and the
// due text of the pending cards in view.
void BM_BoardFigures_WithPayments(benchmark::State& state)
{
    Store& s = paymentStore();
    int overdue = 0;
    for (auto _ : state) {
        changeAndReadBoard(s);
        benchmark::DoNotOptimize(s.overdueSummary().size());
        benchmark::DoNotOptimize(s.forecastText().size());
        const QVector<Project> pending = s.projects(Status::pending);
        for (qsizetype i = 0; i < std::min<qsizetype>(pending.size(), 40); ++i)
            benchmark::DoNotOptimize(s.dueText(pending.at(i)).size());
        overdue = s.overdue().count;
    }
    state.counters["overdue"] = overdue;
}

void BM_Board_BaselineFeeSum(benchmark::State& state)
{
    Store& s = bigStore();
    for (auto _ : state) {
        double sum = 0;
        for (const Project& p : s.data().projects)
            sum += p.fee;
        benchmark::DoNotOptimize(sum);
    }
}

void BM_SortByClient(benchmark::State& state)
{
    Store& s = bigStore();
    s.ui().setSortField(SortField::client);
    for (auto _ : state) {
        s.ui().setSortAscending(!s.ui().sortAscending());
        benchmark::DoNotOptimize(s.sortedVisibleProjects().size());
    }
}

} // namespace

BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load_DecodeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load_BaselineSimdjson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load_BaselineFromJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->ArgName("utc")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Save_BaselineToJsonAndWrite)
    ->ArgName("utc")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_BoardFigures)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BoardFigures_WithPayments)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Board_BaselineFeeSum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByClient)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    // No network, and preferences kept in a temporary folder.
    if (!Isolation::isolate())
        return 1;
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
