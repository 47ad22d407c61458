// Renders the board page of the sample studio offscreen into a PNG, to look at it without a
// desktop. Usage: tb_board_snapshot OUTPUT.png [--lang tr] [--width 1256] [--scale 2]
//                 [--dark-column paid] [--target-trash] [--hover] [--table] [--search TEXT]
#include "Isolation.h"
#include "board/BoardColumn.h"
#include "board/BoardColumns.h"
#include "board/BoardView.h"
#include "board/CardList.h"
#include "board/ColumnModel.h"
#include "board/StreamControls.h"
#include "board/TrashZone.h"
#include "model/Store.h"
#include "ui/Animations.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <cstdio>

int main(int argc, char** argv)
{
    if (!Isolation::isolate(Isolation::Extra::offscreen))
        return 1;
    QApplication app(argc, argv);
    Theme::applyLightLook(app);
    Animations::setEnabled(false);

    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: tb_board_snapshot OUTPUT.png [options]\n");
        return 2;
    }
    auto option = [&](const QString& name) {
        const qsizetype i = args.indexOf(name);
        return i > 0 && i + 1 < args.size() ? args.at(i + 1) : QString();
    };
    Store store(Isolation::home().path() + QStringLiteral("/data"), true);
    if (option(QStringLiteral("--lang")) == QLatin1String("tr"))
        store.setLanguage(AppLanguage::tr);
    if (const auto dark = StatusInfo::fromRaw(option(QStringLiteral("--dark-column"))))
        store.setColumnColor(*dark, Rgb{0.08, 0.08, 0.1});
    if (args.contains(QStringLiteral("--table")))
        store.update([](AppData& d) { d.layout = BoardLayout::table; });
    if (!option(QStringLiteral("--search")).isEmpty())
        store.ui().setSearchQuery(option(QStringLiteral("--search")));
    const int width =
        option(QStringLiteral("--width")).isEmpty() ? 1256 : option(QStringLiteral("--width")).toInt();
    const qreal scale =
        option(QStringLiteral("--scale")).isEmpty() ? 1 : option(QStringLiteral("--scale")).toDouble();

    // The page padding of the main window, so shadows and the trash glow have their room.
    QWidget page;
    page.setAutoFillBackground(true);
    QPalette pal = page.palette();
    pal.setColor(QPalette::Window, Theme::cream());
    page.setPalette(pal);
    auto* board = new BoardView(store, &page);
    page.resize(width + 64, 100);
    page.show();
    board->setGeometry(32, 24, width, board->sizeHint().height());
    page.resize(width + 64, board->sizeHint().height() + 64);
    board->setGeometry(32, 24, width, board->sizeHint().height());
    QApplication::processEvents();
    // No caret in the first field: the picture shows the page at rest.
    page.setFocus();

    if (args.contains(QStringLiteral("--target-trash"))) {
        TrashZone* trash = board->controls()->trash();
        QMimeData mime;
        mime.setText(QStringLiteral("card:x"));
        QDragEnterEvent enter(QPoint(20, 20), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(trash, &enter);
    }
    if (args.contains(QStringLiteral("--hover")) && board->columns()) {
        CardList* cards = board->columns()->columns().first()->cards();
        if (cards->model()->rowCount() > 0) {
            const QPointF at = cards->itemRect(0).center();
            QMouseEvent move(QEvent::MouseMove, at, cards->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(cards, &move);
        }
        // A drag hovering over the second column shows its dashed outline.
        BoardColumn* second = board->columns()->columns().at(1);
        QMimeData mime;
        mime.setText(QStringLiteral("card:x"));
        QDragEnterEvent enter(QPoint(40, 40), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(second, &enter);
    }
    QApplication::processEvents();

    QImage image((page.size() * scale), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Theme::cream());
    page.render(&image);
    if (!image.save(args.at(1))) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
