// Scrolling the board a page at a time: from the scroll bar's step to the page repainted in a
// 1320 x 860 window, with 20,000 cards in one column of the active year against 100. The time
// should not depend on the column's length: only what is in view is painted.
#include "BenchUtil.h"
#include "board/BoardColumn.h"
#include "board/BoardColumns.h"
#include "board/BoardView.h"
#include "board/CardList.h"

#include <QScrollBar>
#include <algorithm>

namespace {

struct Board : BenchUtil::Page
{
    BoardView* view = nullptr;

    explicit Board(int count)
    {
        const int year = store.activeYear();
        store.update([&](AppData& d) {
            d.projects.clear();
            for (int i = 0; i < count; ++i) {
                Project p;
                p.id = QUuid::createUuid();
                p.name = QStringLiteral("Project %1 for a studio").arg(i);
                p.client = QStringLiteral("Client %1").arg(i % 40);
                p.category = QStringLiteral("Category %1").arg(i % 7);
                p.fee = 1000 + i;
                p.outsource = i % 5 == 0 ? 250 : 0;
                p.status = Status::ongoing;
                p.date = QDateTime(QDate(year, 1 + i % 12, 1 + i % 28), QTime(12, 0), Qt::LocalTime);
                d.projects.append(p);
            }
        });
        view = new BoardView(store);
        show(view);
    }

    CardList* cards() const { return view->columns()->column(Status::ongoing)->cards(); }
};

void BM_PageScrollAndRepaint(benchmark::State& state)
{
    Board board(int(state.range(0)));
    QScrollBar* bar = board.window.verticalScrollBar();
    // Starting 50 pages above the bottom, the run passes the last card and goes on from the top.
    bar->setValue(bar->maximum() - 50 * bar->pageStep());
    int lastPainted = -1;
    for (auto _ : state) {
        // Down a page; from the bottom back to the top.
        bar->setValue(bar->value() >= bar->maximum() ? 0 : bar->value() + bar->pageStep());
        board.window.viewport()->repaint();
        QCoreApplication::sendPostedEvents();
        lastPainted =
            std::max(lastPainted, board.cards()->firstPaintedRow() + board.cards()->paintedItems() - 1);
    }
    // Proof that the pages were drawn and reached far down the column.
    state.counters["last card painted"] = lastPainted;
    state.counters["page"] = bar->pageStep();
    state.SetLabel(std::to_string(state.range(0)) + " cards");
}

} // namespace

BENCHMARK(BM_PageScrollAndRepaint)->Arg(100)->Arg(20000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return BenchUtil::run(argc, argv);
}
