#include "TestMain.h"
#include "tst_board_fixture.h"

#include "board/BoardColumn.h"
#include "board/BoardColumns.h"
#include "board/BoardView.h"
#include "board/CardList.h"
#include "board/ColumnHeader.h"
#include "board/ColumnModel.h"
#include "board/ProjectCard.h"
#include "board/ProjectMenu.h"
#include "board/StreamControls.h"
#include "board/TrashZone.h"
#include "i18n/CurrencyRate.h"
#include "ui/Animations.h"
#include "ui/Announcer.h"
#include "ui/KeyboardFocus.h"
#include "ui/PillOption.h"
#include "ui/PillSegment.h"
#include "ui/Spring.h"
#include "ui/StatusStyle.h"
#include "ui/Theme.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

using namespace BoardFixture;

namespace {
QVector<Status> shownOrder(BoardView& view)
{
    QVector<Status> order;
    BoardColumns* row = view.columns();
    auto* layout = row->layout();
    for (int i = 0; i < layout->count(); ++i) {
        if (auto* column = qobject_cast<BoardColumn*>(layout->itemAt(i)->widget()))
            order.append(column->status());
    }
    return order;
}

// Shows the board at a size with room for its columns, as the active window (for the keyboard).
bool showActive(BoardView& view)
{
    view.resize(1200, 900);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        return false;
    view.activateWindow();
    return QTest::qWaitForWindowActive(&view);
}

QStringList names(const ColumnModel* model)
{
    QStringList out;
    for (int i = 0; i < model->rowCount(); ++i)
        out.append(model->index(i).data().toString());
    return out;
}
} // namespace

class TestBoardColumns : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Store> m_store;
    Project m_logo = project(QStringLiteral("Logo refresh"), Status::ongoing, 1000, 250);
    Project m_site = project(QStringLiteral("Website"), Status::pending, 4000);
    Project m_book = project(QStringLiteral("Book cover"), Status::paid, 800);
    Project m_old = project(QStringLiteral("Old poster"), Status::paid, 300, 0, QStringLiteral("Acme"),
                            QStringLiteral("Print"), -1);

private slots:
    void initTestCase() { Animations::setEnabled(false); }
    void init() { m_store = store(m_dir, {m_logo, m_site, m_book, m_old}); }
    void cleanup() { m_store.reset(); }

    void columnsFollowTheColumnOrder()
    {
        BoardView view(*m_store);
        QCOMPARE(shownOrder(view), (QVector<Status>{Status::paid, Status::pending, Status::ongoing}));
        QCOMPARE(view.table(), nullptr);

        // A column handle dropped on another column takes that column's place.
        BoardColumn* ongoing = view.columns()->column(Status::ongoing);
        QVERIFY(drop(ongoing, QStringLiteral("col:paid")));
        QCOMPARE(m_store->data().columnOrder,
                 (QVector<Status>{Status::pending, Status::ongoing, Status::paid}));
        QCOMPARE(shownOrder(view), m_store->data().columnOrder);
        QCOMPARE(m_store->ui().toast()->message, QStringLiteral("Column order updated"));
        // The same columns are kept, only reordered.
        QCOMPARE(view.columns()->column(Status::ongoing), ongoing);

        // Its own handle on its own column changes nothing.
        m_store->ui().setToast(std::nullopt);
        QVERIFY(!drop(ongoing, QStringLiteral("col:ongoing")));
        QVERIFY(!m_store->ui().toast());
    }

    void hoverRepaintsLeaveNothingStale()
    {
        // Hover fades repaint only the cards they touch; what is on screen afterwards must be
        // exactly what a full repaint draws.
        m_store->move(m_site.id, Status::ongoing);
        BoardView view(*m_store);
        view.resize(1200, 900);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        CardList* cards = view.columns()->column(Status::ongoing)->cards();
        QVERIFY(cards->itemRect(1).isValid());
        Animations::setEnabled(true);
        QTest::mouseMove(cards, cards->itemRect(0).center());
        QTest::qWait(300); // the fade runs 150 ms
        QTest::mouseMove(cards, cards->itemRect(1).center());
        QTest::qWait(300);
        Animations::setEnabled(false);
        QCOMPARE(cards->hoveredId(), m_site.id);
        const QImage shown =
            view.screen()->grabWindow(view.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage fresh = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), fresh.size());
        QVERIFY(shown == fresh);
    }

    void reorderedColumnsSlideToTheirPlaces()
    {
        BoardView view(*m_store);
        view.resize(1200, 900);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        BoardColumns* row = view.columns();
        BoardColumn* paid = row->column(Status::paid);
        const int paidX = paid->x();
        Animations::setEnabled(true);
        drop(row->column(Status::ongoing), QStringLiteral("col:paid"));
        Animations::setEnabled(false);
        // It starts where it was and ends last.
        QVERIFY(row->isSliding());
        QCOMPARE(paid->x(), paidX);
        QTRY_VERIFY(!row->isSliding());
        QVERIFY(row->column(Status::pending)->x() < row->column(Status::ongoing)->x());
        QVERIFY(row->column(Status::ongoing)->x() < paid->x());
        QCOMPARE(paid->geometry().right(), row->width() - 1);
    }

    void cardDropsMoveProjects()
    {
        BoardView view(*m_store);
        BoardColumn* paid = view.columns()->column(Status::paid);
        BoardColumn* ongoing = view.columns()->column(Status::ongoing);
        QCOMPARE(names(ongoing->model()), QStringList{QStringLiteral("Logo refresh")});

        QVERIFY(drop(paid, QStringLiteral("card:") + uuidText(m_logo.id)));
        QCOMPARE(statusOf(*m_store, m_logo.id), Status::paid);
        QCOMPARE(m_store->ui().toast()->message, QStringLiteral("Moved to Paid"));
        QVERIFY(m_store->hasPendingSave());
        QCOMPARE(names(paid->model()),
                 (QStringList{QStringLiteral("Logo refresh"), QStringLiteral("Book cover")}));
        QCOMPARE(ongoing->model()->rowCount(), 0);
        QCOMPARE(ongoing->header()->countText(), QStringLiteral("0"));
        QCOMPARE(ongoing->header()->sumText(), m_store->money(0));
        QCOMPARE(paid->header()->sumText(), m_store->money(1800));

        // Dropped again on the same column: nothing happens and the drop is refused.
        m_store->ui().setToast(std::nullopt);
        QVERIFY(!drop(paid, QStringLiteral("card:") + uuidText(m_logo.id)));
        QVERIFY(!m_store->ui().toast());

        // Several texts in one drop (one per line), lower-case ids, and noise among them.
        const QString two = QStringLiteral("card:") + uuidText(m_logo.id).toLower() +
                            QStringLiteral("\r\nhello\n") + QStringLiteral("card:") + uuidText(m_book.id) +
                            QStringLiteral("\n");
        QVERIFY(drop(ongoing, two));
        QCOMPARE(statusOf(*m_store, m_logo.id), Status::ongoing);
        QCOMPARE(statusOf(*m_store, m_book.id), Status::ongoing);
        QCOMPARE(BoardColumn::droppedTexts(two).size(), 3);

        // Texts the Store does not understand change nothing.
        const AppData before = m_store->data();
        QVERIFY(!drop(paid, QStringLiteral("hello")));
        QVERIFY(!drop(paid, QStringLiteral("card:not-a-uuid")));
        QVERIFY(!drop(paid, QStringLiteral("col:done")));
        QVERIFY(m_store->data() == before);
    }

    void dragOverOutlinesTheColumn()
    {
        BoardView view(*m_store);
        BoardColumn* column = view.columns()->column(Status::pending);
        QVERIFY(!column->targeted());
        enter(column, QStringLiteral("anything"));
        QVERIFY(column->targeted());
        leave(column);
        QVERIFY(!column->targeted());
        // A drag without text is not for the board.
        QMimeData image;
        image.setImageData(QImage(4, 4, QImage::Format_RGB32));
        QDragEnterEvent e(QPoint(1, 1), Qt::CopyAction, &image, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(column, &e);
        QVERIFY(!e.isAccepted());
        QVERIFY(!column->targeted());
        enter(column, QStringLiteral("card:x"));
        drop(column, QStringLiteral("card:x"));
        QVERIFY(!column->targeted());
    }

    void trashDeletesTheFirstCardAndUndoBringsItBack()
    {
        BoardView view(*m_store);
        TrashZone* trash = view.controls()->trash();
        QCOMPARE(trash->accessibleName(), QStringLiteral("Trash"));
        QVERIFY(!trash->toolTip().isEmpty());

        enter(trash, QStringLiteral("card:x"));
        QVERIFY(trash->targeted());
        QCOMPARE(trash->scale(), TrashZone::kTargetedScale);
        QCOMPARE(trash->fillColor(), QColor(0xFE, 0xE2, 0xE2));
        QCOMPARE(trash->symbolColor(), QColor(0xDC, 0x26, 0x26));
        QVERIFY(trash->glowColor().alpha() > 0);
        leave(trash);
        QVERIFY(!trash->targeted());
        QCOMPARE(trash->scale(), 1.0);
        QCOMPARE(trash->outlineColor(), QColor(0xF8, 0x71, 0x71));
        QCOMPARE(trash->glowColor().alpha(), 0);

        // A column handle is no card: nothing is deleted.
        const int count = int(m_store->data().projects.size());
        QVERIFY(!drop(trash, QStringLiteral("col:paid")));
        QCOMPARE(m_store->data().projects.size(), count);
        QVERIFY(!trash->targeted());

        BoardColumn* pending = view.columns()->column(Status::pending);
        QVERIFY(drop(trash, QStringLiteral("col:paid\ncard:") + uuidText(m_site.id) +
                                QStringLiteral("\ncard:") + uuidText(m_logo.id)));
        QVERIFY(!contains(*m_store, m_site.id));
        QVERIFY(contains(*m_store, m_logo.id)); // only the first card of a drop
        QCOMPARE(m_store->ui().toast()->message, QStringLiteral("Deleted \"Website\""));
        QVERIFY(m_store->ui().toast()->canUndo);
        QCOMPARE(pending->model()->rowCount(), 0);
        QCOMPARE(pending->cards()->emptyText(), QStringLiteral("Drop projects here"));

        m_store->undoDelete();
        QCOMPARE(names(pending->model()), QStringList{QStringLiteral("Website")});
        QCOMPARE(m_store->data().projects.at(1).id, m_site.id);
    }

    void columnMenuAndAccessibleActions()
    {
        m_store->update([](AppData& d) { d.columnOrder = {Status::pending, Status::paid, Status::ongoing}; });
        BoardView view(*m_store);
        ColumnHeader* first = view.columns()->column(Status::pending)->header();
        ColumnHeader* middle = view.columns()->column(Status::paid)->header();
        ColumnHeader* last = view.columns()->column(Status::ongoing)->header();

        auto actions = [](ColumnHeader* h) {
            std::unique_ptr<QMenu> menu(h->createMenu());
            QList<bool> enabled;
            for (QAction* a : menu->actions())
                enabled.append(a->isEnabled());
            return std::make_pair(menu->actions().size(), enabled);
        };
        QCOMPARE(actions(first), std::make_pair(qsizetype(2), QList<bool>{false, true}));
        QCOMPARE(actions(middle), std::make_pair(qsizetype(2), QList<bool>{true, true}));
        QCOMPARE(actions(last), std::make_pair(qsizetype(2), QList<bool>{true, false}));

        {
            std::unique_ptr<QMenu> menu(first->createMenu());
            QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Move Column Left"));
            QCOMPARE(menu->actions().at(1)->text(), QStringLiteral("Move Column Right"));
            menu->actions().at(1)->trigger();
        }
        QCOMPARE(m_store->data().columnOrder,
                 (QVector<Status>{Status::paid, Status::pending, Status::ongoing}));
        QCOMPARE(shownOrder(view), m_store->data().columnOrder);

        m_store->setLanguage(AppLanguage::tr);
        {
            std::unique_ptr<QMenu> menu(first->createMenu());
            QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Sütunu Sola Taşı"));
            QCOMPARE(menu->actions().at(1)->text(), QStringLiteral("Sütunu Sağa Taşı"));
        }

        // The named actions are not translated and skip the menu's disabled rules.
        QAccessibleInterface* a11y = QAccessible::queryAccessibleInterface(last);
        QVERIFY(a11y && a11y->actionInterface());
        const QStringList namesOffered = a11y->actionInterface()->actionNames();
        QVERIFY(namesOffered.contains(QStringLiteral("Move Column Left")));
        QVERIFY(namesOffered.contains(QStringLiteral("Move Column Right")));
        QVERIFY(a11y->text(QAccessible::Name).contains(QStringLiteral("DEVAM EDİYOR")));
        m_store->ui().setToast(std::nullopt);
        a11y->actionInterface()->doAction(QStringLiteral("Move Column Right"));
        QVERIFY(!m_store->ui().toast()); // already last: the Store does nothing
        a11y->actionInterface()->doAction(QStringLiteral("Move Column Left"));
        QCOMPARE(m_store->data().columnOrder,
                 (QVector<Status>{Status::paid, Status::ongoing, Status::pending}));
    }

    void headerAndEmptyStates()
    {
        m_store->setLanguage(AppLanguage::tr);
        BoardView view(*m_store);
        BoardColumn* ongoing = view.columns()->column(Status::ongoing);
        QCOMPARE(ongoing->header()->titleText(), QStringLiteral("DEVAM EDİYOR"));
        QCOMPARE(view.columns()->column(Status::paid)->header()->titleText(), QStringLiteral("ÖDENDİ"));
        // Last year's paid project is not on this year's board.
        QCOMPARE(view.columns()->column(Status::paid)->header()->countText(), QStringLiteral("1"));

        m_store->ui().setSearchQuery(QStringLiteral("website"));
        QCOMPARE(ongoing->model()->rowCount(), 0);
        QCOMPARE(ongoing->cards()->emptyText(), QStringLiteral("Eşleşme bulunamadı"));
        QCOMPARE(view.columns()->column(Status::pending)->cards()->emptyText(), QString());
        // Blanks count as a search text too.
        m_store->ui().setSearchQuery(QStringLiteral("  "));
        QCOMPARE(ongoing->model()->rowCount(), 1);
        m_store->update([](AppData& d) { d.projects.clear(); });
        QCOMPARE(ongoing->cards()->emptyText(), QStringLiteral("Eşleşme bulunamadı"));
        m_store->ui().setSearchQuery(QString());
        QCOMPARE(ongoing->cards()->emptyText(), QStringLiteral("Projeleri buraya bırakın"));
        m_store->setLanguage(AppLanguage::en);
        QCOMPARE(ongoing->cards()->emptyText(), QStringLiteral("Drop projects here"));
        m_store->ui().setSearchQuery(QStringLiteral("x"));
        QCOMPARE(ongoing->cards()->emptyText(), QStringLiteral("No matches"));
        QCOMPARE(ongoing->header()->countText(), QStringLiteral("0"));
        QCOMPARE(ongoing->header()->sumText(), m_store->money(0));
    }

    void darkColumnsTurnTheirOwnTextsWhite()
    {
        BoardView view(*m_store);
        BoardColumn* paid = view.columns()->column(Status::paid);
        QVERIFY(!paid->isDark());
        QVERIFY(!paid->header()->isDark());
        m_store->setColumnColor(Status::paid, Rgb{0.1, 0.1, 0.15});
        QVERIFY(paid->isDark());
        QVERIFY(paid->header()->isDark());
        QCOMPARE(paid->color(), QColor(0x1A, 0x1A, 0x26)); // as stored in hex
        m_store->setColumnColor(Status::paid, Rgb{0.95, 0.9, 0.8});
        QVERIFY(!paid->isDark());
        m_store->resetColumnColors();
        QCOMPARE(paid->color(), QColor(0xE7, 0xF7, 0xED));
    }

    void layoutSwitchReplacesTheColumns()
    {
        int tablesMade = 0;
        BoardView view(*m_store, [&](Store&, QWidget* parent) {
            ++tablesMade;
            auto* w = new QWidget(parent);
            w->setObjectName(QStringLiteral("fakeTable"));
            return w;
        });
        PillSegment* layoutSwitch = view.controls()->layoutSwitch();
        QCOMPARE(layoutSwitch->optionButton(0)->text(), QStringLiteral("Columns"));
        QCOMPARE(layoutSwitch->optionButton(1)->text(), QStringLiteral("Rows"));
        QCOMPARE(layoutSwitch->selectedIndex(), 0);

        QTest::mouseClick(layoutSwitch->optionButton(1), Qt::LeftButton);
        QCOMPARE(m_store->data().layout, BoardLayout::table);
        QVERIFY(m_store->hasPendingSave());
        QCOMPARE(view.columns(), nullptr);
        QVERIFY(view.table());
        QCOMPARE(view.findChildren<BoardColumn*>().size(), 0);
        QCOMPARE(tablesMade, 1);

        // No column left to take drops; other changes do not rebuild the table.
        m_store->update([](AppData& d) { d.taxRate = 30; });
        QCOMPARE(tablesMade, 1);

        m_store->update([](AppData& d) { d.columnOrder = {Status::ongoing, Status::paid, Status::pending}; });
        QTest::mouseClick(layoutSwitch->optionButton(0), Qt::LeftButton);
        QCOMPARE(m_store->data().layout, BoardLayout::columns);
        QVERIFY(view.columns());
        QCOMPARE(view.table(), nullptr);
        QCOMPARE(shownOrder(view), m_store->data().columnOrder);

        m_store->setLanguage(AppLanguage::tr);
        QCOMPARE(layoutSwitch->optionButton(0)->text(), QStringLiteral("Sütunlar"));
        QCOMPARE(layoutSwitch->optionButton(1)->text(), QStringLiteral("Satırlar"));
        QCOMPARE(view.controls()->title()->text(), QStringLiteral("PROJE AKIŞI"));
        QCOMPARE(layoutSwitch->selectedIndex(), 0);
    }

    void columnModelFollowsTheStore()
    {
        ColumnModel model(*m_store, Status::paid);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        auto sameAsStore = [&] {
            const QVector<Project> expected = m_store->projects(Status::paid);
            if (expected.size() != model.rowCount())
                return false;
            for (int i = 0; i < model.rowCount(); ++i) {
                if (model.project(i) != expected.at(i))
                    return false;
            }
            double sum = 0;
            for (const Project& p : expected)
                sum += p.fee;
            return sum == model.feeSum();
        };
        QVERIFY(sameAsStore());
        QCOMPARE(model.index(0).data(ColumnModel::IdRole).toString(), uuidText(m_book.id));
        QCOMPARE(model.index(0).data(ColumnModel::FeeTextRole).toString(), m_store->money(800));

        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        // A card arriving is one inserted row, at its place in document order.
        m_store->move(m_logo.id, Status::paid);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted.at(0).at(1).toInt(), 0);
        QVERIFY(sameAsStore());
        m_store->move(m_site.id, Status::paid);
        QCOMPARE(inserted.at(1).at(1).toInt(), 1);
        QVERIFY(sameAsStore());

        // An edit of a shown project is a change of that row only.
        Project edited = m_store->data().projects.at(1);
        edited.name = QStringLiteral("Website v2");
        edited.fee = 4500;
        m_store->save(edited);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).value<QModelIndex>().row(), 1);
        QCOMPARE(changed.at(0).at(1).value<QModelIndex>().row(), 1);
        QVERIFY(sameAsStore());

        m_store->deleteProject(m_logo.id);
        QCOMPARE(removed.size(), 1);
        QVERIFY(sameAsStore());
        m_store->undoDelete();
        QVERIFY(sameAsStore());

        m_store->ui().setSearchQuery(QStringLiteral("book"));
        QVERIFY(sameAsStore());
        QCOMPARE(model.rowCount(), 1);
        m_store->ui().setSearchQuery(QString());
        m_store->setActiveYear(Store::currentYear() - 1);
        QVERIFY(sameAsStore());
        QCOMPARE(names(&model), QStringList{QStringLiteral("Old poster")});
        m_store->restoreSample();
        QVERIFY(sameAsStore());
        m_store->eraseAll();
        QVERIFY(sameAsStore());
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(reset.size(), 0);

        // The language changes every money text.
        m_store->restoreSample();
        changed.clear();
        m_store->setLanguage(AppLanguage::tr);
        QCOMPARE(changed.size(), 1);
        QVERIFY(model.index(0).data(ColumnModel::FeeTextRole).toString().endsWith(QStringLiteral(" ₺")));
        // So does the live rate: the cards and the column's sum are drawn again with it.
        QSignalSpy sums(&model, &ColumnModel::summaryChanged);
        const double before = CurrencyRate::usdToTry();
        CurrencyRate::setUsdToTry(before * 2);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(sums.size(), 1);
        QCOMPARE(model.index(0).data(ColumnModel::FeeTextRole).toString(),
                 m_store->money(model.project(0).fee));
        CurrencyRate::setUsdToTry(before);
    }

    void cardsShowOutsourceOnlyWhenThereIsSome()
    {
        ColumnModel model(*m_store, Status::ongoing);
        CardList cards(*m_store, &model);
        ProjectCard::Content c = cards.content(0);
        QVERIFY(!c.outsource.isEmpty());
        QCOMPARE(c.outsource, QStringLiteral("Outsource: ") + m_store->money(250));
        QCOMPARE(c.net, QStringLiteral("Net: ") + m_store->money(750));
        QCOMPARE(c.fee, m_store->money(1000));
        QVERIFY(ProjectCard::height(true) > ProjectCard::height(false));
        QCOMPARE(cards.itemRect(0).height(), ProjectCard::height(true));

        m_store->setLanguage(AppLanguage::tr);
        c = cards.content(0);
        QVERIFY(c.outsource.startsWith(QStringLiteral("Dış Kaynak: ")));
        QVERIFY(c.net.startsWith(QStringLiteral("Net: ")));

        ColumnModel pending(*m_store, Status::pending);
        CardList pendingCards(*m_store, &pending);
        c = pendingCards.content(0);
        QVERIFY(c.net.isEmpty());
        QVERIFY(c.outsource.isEmpty());
        QCOMPARE(pendingCards.itemRect(0).height(), ProjectCard::height(false));
    }

    void longNamesGiveWayToTheFee()
    {
        const QRectF card(0, 0, 260, 100);
        const QString fee = QStringLiteral("$1,234,567.89");
        const QString longName(
            QStringLiteral("A very long project name that cannot possibly fit on one card line"));
        const QString shown = ProjectCard::shownName(card, longName, fee);
        QVERIFY(shown.size() < longName.size());
        QVERIFY(shown.endsWith(QChar(0x2026)));
        QCOMPARE(ProjectCard::shownName(card, QStringLiteral("Logo"), fee), QStringLiteral("Logo"));
        // The fee keeps its full width however narrow the card.
        const QRectF narrow(0, 0, 120, 100);
        QCOMPARE(ProjectCard::feeRect(narrow, fee).width(), ProjectCard::feeRect(card, fee).width());
        QCOMPARE(ProjectCard::feeRect(card, fee).right(), card.right() - ProjectCard::kPadding);
        QVERIFY(ProjectCard::shownName(narrow, longName, fee).size() <= 1);
    }

    void cardGesturesOpenTheEditor()
    {
        BoardView view(*m_store);
        view.resize(1200, 900);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        CardList* cards = view.columns()->column(Status::pending)->cards();
        const QRect card = cards->itemRect(0);
        QVERIFY(card.isValid());
        QCOMPARE(cards->rowAt(card.center()), 0);
        QCOMPARE(cards->rowAt(QPoint(card.center().x(), card.bottom() + 6)), -1);

        QTest::mouseDClick(cards, Qt::LeftButton, Qt::NoModifier, card.center());
        QVERIFY(m_store->ui().editor());
        QCOMPARE(*m_store->ui().editor(), EditorTarget::edit(m_site.id));
        m_store->ui().setEditor(std::nullopt);

        // A single click on the body does nothing; on the pencil it opens the editor.
        QTest::mouseClick(cards, Qt::LeftButton, Qt::NoModifier, card.topLeft() + QPoint(30, 20));
        QVERIFY(!m_store->ui().editor());
        const QPoint pencil = ProjectCard::editButtonRect(QRectF(card)).center().toPoint();
        QTest::mouseMove(cards, pencil);
        QCOMPARE(cards->hoveredId(), m_site.id);
        QTest::mouseClick(cards, Qt::LeftButton, Qt::NoModifier, pencil);
        QCOMPARE(*m_store->ui().editor(), EditorTarget::edit(m_site.id));

        // The secondary click opens the project menu of that card.
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, card.center(),
                                    cards->mapToGlobal(card.center()));
        QApplication::sendEvent(cards, &menuEvent);
        auto* menu = cards->findChild<ProjectMenu*>();
        QVERIFY(menu);
        QCOMPARE(menu->projectId(), m_site.id);
        menu->close();
    }

    void cardsByKeyboard()
    {
        // Two paid cards to walk through.
        m_store->move(m_site.id, Status::paid);
        BoardView view(*m_store);
        QVERIFY(showActive(view));
        CardList* paid = view.columns()->column(Status::paid)->cards();
        QVERIFY(paid->model()->rowCount() >= 2);
        QCOMPARE(paid->focusPolicy(), Qt::TabFocus);

        // Tab brings the keyboard to the first card; the arrows move it; Home and End jump.
        paid->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(paid->hasFocus());
        QCOMPARE(paid->currentRow(), 0);
        QTest::keyClick(paid, Qt::Key_Down);
        QCOMPARE(paid->currentRow(), 1);
        QTest::keyClick(paid, Qt::Key_Down);
        QCOMPARE(paid->currentRow(), paid->model()->rowCount() > 2 ? 2 : 1);
        QTest::keyClick(paid, Qt::Key_Home);
        QCOMPARE(paid->currentRow(), 0);
        QTest::keyClick(paid, Qt::Key_End);
        QCOMPARE(paid->currentRow(), paid->model()->rowCount() - 1);
        QTest::keyClick(paid, Qt::Key_Up);
        const int row = paid->currentRow();
        const QUuid id = paid->projectIdAt(row);

        // A screen reader reads the item the keyboard is on: focused and selected, with its status.
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(paid);
        QAccessibleInterface* item = list->child(row);
        QVERIFY(item->state().focused && item->state().selected);
        QVERIFY(!list->child(row == 0 ? 1 : 0)->state().selected);
        QVERIFY(item->text(QAccessible::Description).startsWith(QStringLiteral("Paid, ")));

        // Return edits it; Shift+F10 and the menu key open its project menu.
        QTest::keyClick(paid, Qt::Key_Return);
        QCOMPARE(*m_store->ui().editor(), EditorTarget::edit(id));
        m_store->ui().setEditor(std::nullopt);
        for (const auto& key : {std::pair{Qt::Key_F10, Qt::KeyboardModifiers(Qt::ShiftModifier)},
                                std::pair{Qt::Key_Menu, Qt::KeyboardModifiers()}}) {
            QTest::keyClick(paid, key.first, key.second);
            auto* menu = paid->findChild<ProjectMenu*>();
            QVERIFY(menu);
            QCOMPARE(menu->projectId(), id);
            menu->close();
            delete menu;
        }
        // Where the menu key gives the window a keyboard context menu (X11, Wayland), Qt hands it to
        // the focus widget: it is the menu of the keyboard's card, not of the card in the middle of
        // the column.
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        QCoreApplication::sendEvent(view.windowHandle(), &menuKey);
        auto* keyMenu = paid->findChild<ProjectMenu*>();
        QVERIFY(keyMenu);
        QCOMPARE(keyMenu->projectId(), id);
        QCOMPARE(keyMenu->pos(), paid->mapToGlobal(paid->itemRect(row).center()));
        keyMenu->close();
        delete keyMenu;
        // One that names no card opens the menu of the card under the pointer.
        const int other = row == 0 ? 1 : 0;
        QTest::mouseMove(paid, paid->itemRect(other).center());
        QContextMenuEvent offCards(QContextMenuEvent::Keyboard, QPoint(0, 0),
                                   paid->mapToGlobal(QPoint(0, 0)));
        QCoreApplication::sendEvent(paid, &offCards);
        keyMenu = paid->findChild<ProjectMenu*>();
        QVERIFY(keyMenu);
        QCOMPARE(keyMenu->projectId(), paid->projectIdAt(other));
        keyMenu->close();
        delete keyMenu;
        // The column headers and the trash are Tab stops too; the arrows move a column.
        ColumnHeader* header = view.columns()->column(Status::paid)->header();
        QCOMPARE(header->focusPolicy(), Qt::TabFocus);
        QCOMPARE(view.controls()->findChild<TrashZone*>()->focusPolicy(), Qt::TabFocus);
        header->setFocus(Qt::TabFocusReason);
        const QVector<Status> before = m_store->data().columnOrder;
        QTest::keyClick(header, Qt::Key_Right);
        QVERIFY(m_store->data().columnOrder != before);
        QCOMPARE(m_store->data().columnOrder.indexOf(Status::paid), before.indexOf(Status::paid) + 1);
        QTest::keyClick(header, Qt::Key_Left);
        QCOMPARE(m_store->data().columnOrder, before);
        paid->setFocus(Qt::TabFocusReason);
        // The keyboard's place follows its project when the list changes around it.
        m_store->move(paid->projectIdAt(0) == id ? paid->projectIdAt(1) : paid->projectIdAt(0),
                      Status::pending);
        QCOMPARE(paid->projectIdAt(paid->currentRow()), id);
    }

    void cardsAcrossColumnsByKeyboard()
    {
        // Three paid cards, none pending, three in the works (all without outsource: one height).
        QVector<Project> projects;
        for (int i = 0; i < 3; ++i) {
            projects << project(QStringLiteral("Paid %1").arg(i), Status::paid, 100 + i)
                     << project(QStringLiteral("Works %1").arg(i), Status::ongoing, 200 + i);
        }
        m_store = store(m_dir, projects);
        BoardView view(*m_store);
        QVERIFY(showActive(view));
        BoardColumns* board = view.columns();
        CardList* paid = board->column(Status::paid)->cards();
        CardList* pending = board->column(Status::pending)->cards();
        CardList* works = board->column(Status::ongoing)->cards();
        const auto ringAt = [](CardList* list, int row) {
            // The ring's line runs 1 pixel inside the card's left edge, over the white card.
            const QRect item = list->itemRect(row);
            const QColor seen = list->grab().toImage().pixelColor(item.left() + 1, item.center().y());
            const QColor ring = KeyboardFocus::ringColor();
            const auto over = [&ring](qreal c) { return ring.alphaF() * c + (1 - ring.alphaF()); };
            return std::abs(seen.redF() - over(ring.redF())) < 0.02 &&
                   std::abs(seen.greenF() - over(ring.greenF())) < 0.02 &&
                   std::abs(seen.blueF() - over(ring.blueF())) < 0.02;
        };

        // Right from the last paid card passes the empty Pending column to the card at the same
        // height; Up and Left come back level with it.
        // From the empty column the arrows reach its neighbours' top cards.
        pending->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(pending->hasFocus());
        QTest::keyClick(pending, Qt::Key_Right);
        QVERIFY(works->hasFocus());
        QCOMPARE(works->currentRow(), 0);
        QTest::keyClick(works, Qt::Key_Left);
        QVERIFY(paid->hasFocus());
        QCOMPARE(paid->currentRow(), 0);
        QTest::keyClick(paid, Qt::Key_End);
        QVERIFY(ringAt(paid, 2));
        QTest::keyClick(paid, Qt::Key_Right);
        QVERIFY(works->hasFocus());
        QCOMPARE(works->currentRow(), 2);
        QVERIFY(ringAt(works, 2));
        QVERIFY(!ringAt(paid, 2));
        QVERIFY(QAccessible::queryAccessibleInterface(works)->child(2)->state().focused);
        QTest::keyClick(works, Qt::Key_Right); // the last column: the keyboard stays
        QVERIFY(works->hasFocus());
        QCOMPARE(works->currentRow(), 2);
        QTest::keyClick(works, Qt::Key_Up);
        QTest::keyClick(works, Qt::Key_Left);
        QVERIFY(paid->hasFocus());
        QCOMPARE(paid->currentRow(), 1);

        // Ctrl+Right carries the card into Pending as a drop does: the status, the toast with
        // Undo, the keyboard going with it, and the move said to a screen reader.
        const QUuid id = paid->projectIdAt(1);
        QTest::keyClick(paid, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(statusOf(*m_store, id), Status::pending);
        QCOMPARE(m_store->ui().toast()->message, QStringLiteral("Moved to Pending"));
        QVERIFY(m_store->ui().toast()->canUndo);
        QVERIFY(pending->hasFocus());
        QCOMPARE(pending->projectIdAt(pending->currentRow()), id);
        QVERIFY(ringAt(pending, pending->currentRow()));
        QAccessibleInterface* said = QAccessible::queryAccessibleInterface(board->announcer());
        QCOMPARE(said->role(), QAccessible::AlertMessage);
        QCOMPARE(said->text(QAccessible::Name), QStringLiteral("Paid 1 moved to Pending, 1 of 1"));
        QTest::keyClick(pending, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(statusOf(*m_store, id), Status::ongoing);
        QVERIFY(works->hasFocus());
        QCOMPARE(works->projectIdAt(works->currentRow()), id);
        // Past the last column nothing moves; Undo takes the last move back.
        QTest::keyClick(works, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(statusOf(*m_store, id), Status::ongoing);
        m_store->undo();
        QCOMPARE(statusOf(*m_store, id), Status::pending);
        // The keyboard goes back with the card.
        QTRY_VERIFY(pending->hasFocus());
        QCOMPARE(pending->projectIdAt(pending->currentRow()), id);
        // Not when it has moved on from the carried card before the Undo.
        QTest::keyClick(pending, Qt::Key_Right, Qt::ControlModifier);
        QVERIFY(works->hasFocus());
        QTest::keyClick(works, Qt::Key_Down);
        const QUuid below = works->projectIdAt(works->currentRow());
        QVERIFY(below != id);
        m_store->undo();
        QCOMPARE(statusOf(*m_store, id), Status::pending);
        QCoreApplication::processEvents();
        QVERIFY(works->hasFocus());
        QCOMPARE(works->projectIdAt(works->currentRow()), below);

        // The user's column order decides the neighbours, and the announcement is in Turkish.
        m_store->setLanguage(AppLanguage::tr);
        m_store->moveColumn(Status::pending, -1); // Pending, Paid, In the Works
        pending->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(pending->hasFocus());
        QCOMPARE(pending->projectIdAt(pending->currentRow()), id);
        QTest::keyClick(pending, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(statusOf(*m_store, id), Status::paid);
        QVERIFY(paid->hasFocus());
        const QString where = QString::number(paid->currentRow() + 1);
        QCOMPARE(said->text(QAccessible::Name),
                 QStringLiteral("Paid 1, Ödendi sütununa taşındı, %1 / 3").arg(where));

        // Delete deletes with Undo; the keyboard stays in the column, on the next card.
        const int row = paid->currentRow();
        QTest::keyClick(paid, Qt::Key_Delete);
        QVERIFY(!contains(*m_store, id));
        QVERIFY(m_store->ui().toast()->canUndo);
        QVERIFY(m_store->ui().toast()->message.startsWith(QStringLiteral("Deleted ")));
        QCOMPARE(paid->currentRow(), std::min(row, paid->projectCount() - 1));
        m_store->undo();
        QVERIFY(contains(*m_store, id));

        // N starts a new project; while the editor is open no key changes the board.
        QTest::keyClick(paid, Qt::Key_N);
        QCOMPARE(*m_store->ui().editor(), EditorTarget::newProject());
        const QUuid kept = paid->projectIdAt(paid->currentRow());
        const AppData before = m_store->data();
        for (const auto& key : {std::pair{Qt::Key_Right, Qt::KeyboardModifiers(Qt::ControlModifier)},
                                std::pair{Qt::Key_Delete, Qt::KeyboardModifiers()},
                                std::pair{Qt::Key_Down, Qt::KeyboardModifiers()},
                                std::pair{Qt::Key_Right, Qt::KeyboardModifiers()}})
            QTest::keyClick(paid, key.first, key.second);
        QCOMPARE(m_store->data().projects, before.projects);
        QVERIFY(paid->hasFocus());
        QCOMPARE(paid->projectIdAt(paid->currentRow()), kept);
        QVERIFY(!paid->findChild<ProjectMenu*>());
        m_store->ui().setEditor(std::nullopt);

        // In the table layout the board's keys do nothing.
        m_store->update([](AppData& d) { d.layout = BoardLayout::table; });
        auto* rows = qobject_cast<ProjectList*>(view.table());
        QVERIFY(rows);
        rows->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(rows->hasFocus());
        const QUuid first = rows->projectIdAt(rows->currentRow());
        const Status was = statusOf(*m_store, first);
        for (const auto& key : {std::pair{Qt::Key_Right, Qt::KeyboardModifiers(Qt::ControlModifier)},
                                std::pair{Qt::Key_Delete, Qt::KeyboardModifiers()},
                                std::pair{Qt::Key_N, Qt::KeyboardModifiers()}})
            QTest::keyClick(rows, key.first, key.second);
        QCOMPARE(m_store->data().projects.size(), before.projects.size());
        QCOMPARE(statusOf(*m_store, first), was);
        QVERIFY(!m_store->ui().editor());
    }

    void cardsForAssistiveTechnology()
    {
        m_store->setLanguage(AppLanguage::tr);
        BoardView view(*m_store);
        CardList* cards = view.columns()->column(Status::ongoing)->cards();
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(cards);
        QVERIFY(list);
        QCOMPARE(list->childCount(), 1);
        QAccessibleInterface* card = list->child(0);
        QCOMPARE(card->role(), QAccessible::ListItem);
        QCOMPARE(card->text(QAccessible::Name), QStringLiteral("Logo refresh"));
        QVERIFY(card->text(QAccessible::Description).contains(m_store->money(750)));
        // It reads what the card paints, in the card's language.
        const QString description = card->text(QAccessible::Description);
        QVERIFY(description.startsWith(QStringLiteral("Devam Ediyor, ") + m_store->money(1000)));
        QVERIFY(description.contains(QStringLiteral("Dış Kaynak: ") + m_store->money(250)));
        QVERIFY(description.contains(cards->content(0).outsource));
        QVERIFY(!description.contains(QStringLiteral("Outsource")));
        QCOMPARE(list->indexOfChild(card), 0);
        QAccessibleInterface* edit = card->child(0);
        QCOMPARE(edit->role(), QAccessible::Button);
        // English in both languages.
        QCOMPARE(edit->text(QAccessible::Name), QStringLiteral("Edit Logo refresh"));
        edit->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(*m_store->ui().editor(), EditorTarget::edit(m_logo.id));

        // A card that leaves the column leaves its interface invalid; the empty column speaks.
        m_store->move(m_logo.id, Status::paid);
        QVERIFY(!card->isValid());
        QCOMPARE(list->childCount(), 0);
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Projeleri buraya bırakın"));
    }

    void onlyCardsInViewArePainted()
    {
        QVector<Project> many;
        for (int i = 0; i < 3000; ++i)
            many.append(
                project(QStringLiteral("Project %1").arg(i), Status::ongoing, 100 + i, i % 3 ? 0 : 50));
        m_store = store(m_dir, many);
        QScrollArea area;
        area.setWidgetResizable(true);
        auto* view = new BoardView(*m_store);
        area.setWidget(view);
        area.resize(1200, 800);
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        CardList* cards = view->columns()->column(Status::ongoing)->cards();
        QVERIFY(cards->height() > 3000 * ProjectCard::height(false));
        view->repaint();
        QVERIFY(cards->paintedItems() > 0);
        QVERIFY(cards->paintedItems() < 20);

        // Far down the list the cards there are the ones drawn.
        area.ensureVisible(0, cards->mapTo(view, cards->itemRect(2500).center()).y());
        QApplication::processEvents();
        view->repaint();
        QVERIFY(cards->paintedItems() > 0 && cards->paintedItems() < 20);
        QVERIFY(cards->firstPaintedRow() <= 2500);
        QVERIFY(cards->firstPaintedRow() + cards->paintedItems() > 2500);
    }

    void aColumnOfTwentyThousandCardsShowsThemAll()
    {
        // Far taller than Qt's layouts go (QLAYOUTSIZE_MAX, 524,287 pixels: some 5,400 cards).
        constexpr int kCount = 20000;
        QVector<Project> many;
        many.reserve(kCount + 1);
        for (int i = 0; i < kCount; ++i)
            many.append(
                project(QStringLiteral("Project %1").arg(i), Status::ongoing, 100 + i, i % 3 ? 0 : 50));
        many.append(m_book);
        m_store = store(m_dir, many);
        QScrollArea area;
        area.setWidgetResizable(true);
        auto* view = new BoardView(*m_store);
        area.setWidget(view);
        area.resize(1200, 800);
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        area.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&area));
        BoardColumn* column = view->columns()->column(Status::ongoing);
        CardList* cards = column->cards();
        QCOMPARE(cards->projectCount(), kCount);

        // The list, its column and the page hold the last card, and the page scrolls down to it.
        const int last = kCount - 1;
        const QRect lastCard = cards->itemRect(last);
        QVERIFY(lastCard.top() > 1000000);
        QVERIFY(cards->rect().contains(lastCard));
        const QRect inColumn(cards->mapTo(column, lastCard.topLeft()), lastCard.size());
        QVERIFY(column->rect().adjusted(0, 0, 0, -BoardColumn::kPadding).contains(inColumn));
        const int bottomInView = cards->mapTo(view, lastCard.bottomLeft()).y();
        QScrollBar* bar = area.verticalScrollBar();
        QVERIFY(bar->maximum() + area.viewport()->height() > bottomInView);
        // The short column next to it keeps its own height.
        BoardColumn* paid = view->columns()->column(Status::paid);
        QCOMPARE(paid->height(), paid->sizeHint().height());
        QCOMPARE(paid->y(), column->y());

        // End on the keyboard brings the last card into view, where it is painted and read.
        cards->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(cards->hasFocus());
        QTest::keyClick(cards, Qt::Key_End);
        QCOMPARE(cards->currentRow(), last);
        QApplication::processEvents();
        const QRect inViewport(cards->mapTo(area.viewport(), lastCard.topLeft()), lastCard.size());
        QVERIFY(area.viewport()->rect().contains(inViewport));
        area.viewport()->repaint();
        QVERIFY(cards->paintedItems() > 0 && cards->paintedItems() < 20);
        QCOMPARE(cards->firstPaintedRow() + cards->paintedItems() - 1, last);
        QAccessibleInterface* item = QAccessible::queryAccessibleInterface(cards)->child(last);
        QVERIFY(item);
        QCOMPARE(item->text(QAccessible::Name), QStringLiteral("Project %1").arg(last));
        const QRect viewportOnScreen(area.viewport()->mapToGlobal(QPoint(0, 0)), area.viewport()->size());
        QVERIFY(viewportOnScreen.contains(item->rect()));
        QVERIFY(item->state().focused);
        // The column's own rounded bottom follows below it, inside the page.
        QVERIFY(column->mapTo(view, QPoint(0, column->height())).y() <= view->height());

        // A drop at the far end still moves the card, and the column shortens by one.
        QVERIFY(drop(paid, QStringLiteral("card:") + uuidText(cards->projectIdAt(last))));
        QCOMPARE(cards->projectCount(), kCount - 1);
        QCOMPARE(paid->cards()->projectCount(), 2);
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QVERIFY(cards->rect().contains(cards->itemRect(last - 1)));
    }
};

TB_WIDGET_TEST_MAIN(TestBoardColumns)
#include "tst_board_columns.moc"
