// Typing in the search bar: from a key event in the search field to the window repainted, in the
// 1320 x 860 main window on the board, with 100,000 projects over 20 years (5,000 in the active
// year). Each iteration types or erases one letter of a word, so the board is filtered afresh with
// every key. Baselines: the same word typed with 1,000 projects (50 in the year), and blanks, which
// filter nothing, typed with 100,000.
#include "BenchUtil.h"
#include "BigDocument.h"
#include "board/BoardColumn.h"
#include "board/BoardColumns.h"
#include "board/BoardView.h"
#include "board/CardList.h"
#include "window/MainWindow.h"
#include "window/SearchBar.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <memory>

namespace {

void fill(Store& store, int projects)
{
    store.update([projects](AppData& d) { d = BigDocument::bigDocument(projects); });
    store.ui().setToast(std::nullopt);
}

struct Window
{
    QTemporaryDir dir;
    Store store{dir.path(), true};
    std::unique_ptr<MainWindow> window;
    QLineEdit* field = nullptr;

    explicit Window(int projects)
    {
        fill(store, projects);
        window = std::make_unique<MainWindow>(store);
        window->resize(1320, 860);
        window->show();
        while (!window->windowHandle()->isExposed())
            QCoreApplication::processEvents();
        store.ui().setSearchVisible(true);
        field = window->searchBar()->field();
        field->setFocus();
        settle();
    }

    // Until nothing is left to do: the filter, the layouts it asks for and the repaint.
    static void settle()
    {
        for (int i = 0; i < 4; ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            QCoreApplication::processEvents();
        }
    }

    // Kept out of line, to be named in a profile: valgrind --tool=callgrind '--toggle-collect=*Window::key*'
    __attribute__((noinline)) void key(int key, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(field, &release);
        settle();
    }

    int paintedCards() const
    {
        auto* board = qobject_cast<BoardView*>(window->currentPage());
        int painted = 0;
        if (board && board->columns()) {
            for (BoardColumn* column : board->columns()->columns())
                painted += column->cards()->paintedItems();
        }
        return painted;
    }
};

// Types the word and erases it again, one key per iteration.
void typeAndErase(benchmark::State& state, const QString& word)
{
    Window w(int(state.range(0)));
    int at = 0;
    bool typing = true;
    for (auto _ : state) {
        if (typing)
            w.key(Qt::Key_A, word.mid(at++, 1)); // the key code does not matter, the text does
        else
            w.key(Qt::Key_Backspace, QString()), --at;
        if (at == word.size())
            typing = false;
        else if (at == 0)
            typing = true;
    }
    if (w.field->text() != word.left(at))
        state.SkipWithError("the field did not take the keys");
    state.counters["painted cards"] = w.paintedCards();
    state.SetLabel(std::to_string(state.range(0)) + " projects");
}

void BM_TypeInSearch(benchmark::State& state)
{
    // Each letter narrows the board: all 5,000, then some hundreds, then a few.
    typeAndErase(state, QStringLiteral("client 42"));
}

void BM_TypeBlanks(benchmark::State& state)
{
    // Blanks are trimmed: the same keys and field, a query that shows every project.
    typeAndErase(state, QStringLiteral("         "));
}

} // namespace

// Five times the word typed and erased.
BENCHMARK(BM_TypeInSearch)->Arg(100000)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(90);
BENCHMARK(BM_TypeBlanks)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(90);

int main(int argc, char** argv)
{
    return BenchUtil::run(argc, argv);
}
