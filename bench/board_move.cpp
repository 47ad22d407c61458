// The board's answer to a move: from Store::move of one card to the board page repainted in a
// 1320 x 860 window, with 50 and with 5,000 projects in one column of the active year. The time
// should hardly depend on the column's length: only the cards in view are laid out and painted.
#include "BenchUtil.h"
#include "board/BoardColumn.h"
#include "board/BoardColumns.h"
#include "board/BoardView.h"
#include "board/CardList.h"

#include <memory>

namespace {

struct Board : BenchUtil::Page
{
    QUuid moving;
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
        moving = store.data().projects.first().id;
        view = new BoardView(store);
        show(view);
    }
};

void BM_MoveAndRepaint(benchmark::State& state)
{
    Board board(int(state.range(0)));
    bool toPaid = true;
    for (auto _ : state) {
        board.store.move(board.moving, toPaid ? Status::paid : Status::ongoing);
        board.settle();
        board.view->repaint();
        // Whatever else the change posted (update requests and the like) is part of the answer.
        QCoreApplication::sendPostedEvents();
        toPaid = !toPaid;
    }
    // Proof that the columns were really drawn: the cards painted by the last repaint.
    int painted = 0;
    for (BoardColumn* column : board.view->columns()->columns())
        painted += column->cards()->paintedItems();
    state.counters["painted"] = painted;
    state.SetLabel(std::to_string(state.range(0)) + " cards");
}

} // namespace

BENCHMARK(BM_MoveAndRepaint)->Arg(50)->Arg(5000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return BenchUtil::run(argc, argv);
}
