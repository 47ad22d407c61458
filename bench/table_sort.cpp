// The table's answer to a click on a column header: from the click to the table repainted, with
// 10,000 visible projects in a 1320 x 860 page. The Store sorts the whole list once per click; the
// table lays out and paints only the rows in view.
#include "BenchUtil.h"
#include "board/ProjectTable.h"
#include "board/ProjectTableModel.h"
#include "board/SortHeaderButton.h"
#include "board/TableHeader.h"

namespace {

struct Table : BenchUtil::Page
{
    ProjectTable* table = nullptr;

    explicit Table(int count)
    {
        const int year = store.activeYear();
        store.update([&](AppData& d) {
            d.projects.clear();
            d.layout = BoardLayout::table;
            for (int i = 0; i < count; ++i) {
                Project p;
                p.id = QUuid::createUuid();
                // Names in no particular order, with shared prefixes as real names have.
                p.name = QStringLiteral("Project %1 for a studio").arg((i * 7919) % 100003);
                p.client = QStringLiteral("Client %1").arg(i % 97);
                p.category = QStringLiteral("Category %1").arg(i % 13);
                p.fee = 1000 + (i * 37) % 5000;
                p.outsource = i % 5 == 0 ? 250 : 0;
                p.status = Status(i % 3);
                p.date = QDateTime(QDate(year, 1 + i % 12, 1 + i % 28), QTime(12, 0), Qt::LocalTime);
                d.projects.append(p);
            }
        });
        table = new ProjectTable(store);
        show(table);
    }
};

void BM_SortClickAndRepaint(benchmark::State& state)
{
    Table t(int(state.range(1)));
    SortHeaderButton* header = t.table->header()->button(SortField(state.range(0)));
    for (auto _ : state) {
        const quint64 painted = t.table->paintCount();
        // The click flips the direction, or chooses this field: a full sort either way.
        header->click();
        // The model reads the Store once the click's signals have all arrived.
        QCoreApplication::sendPostedEvents();
        t.settle();
        QCoreApplication::sendPostedEvents();
        if (t.table->paintCount() == painted)
            t.table->repaint();
    }
    if (t.table->model()->refreshPending())
        state.SkipWithError("the table never read the new order");
    state.counters["painted rows"] = t.table->paintedItems();
    state.SetLabel(std::to_string(state.range(1)) + " projects");
}

} // namespace

BENCHMARK(BM_SortClickAndRepaint)
    ->ArgNames({"field", "projects"})
    ->Args({int(SortField::name), 10000})
    ->Args({int(SortField::client), 10000})
    ->Args({int(SortField::status), 10000})
    ->Args({int(SortField::fee), 10000})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return BenchUtil::run(argc, argv);
}
