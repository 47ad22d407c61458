#include "TestMain.h"
#include "TestProjects.h"

#include "board/BoardView.h"
#include "board/ProjectMenu.h"
#include "board/ProjectRow.h"
#include "board/ProjectTable.h"
#include "board/ProjectTableModel.h"
#include "board/SortHeaderButton.h"
#include "board/StreamControls.h"
#include "board/SummaryPanel.h"
#include "board/TableHeader.h"
#include "i18n/CurrencyRate.h"
#include "model/Store.h"
#include "ui/Animations.h"
#include "ui/Theme.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QContextMenuEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <memory>

namespace {
Project makeProject(const QString& name, const QString& client, double fee, Status status, int year,
                    double outsource = 0)
{
    return TestProjects::make(name, fee, TestProjects::noon(QDate(year, 3, 10)), status, client,
                              QStringLiteral("Branding"), outsource);
}

QVector<QUuid> ids(const QVector<Project>& projects)
{
    QVector<QUuid> out;
    for (const Project& p : projects)
        out << p.id;
    return out;
}
} // namespace

class TestTable : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Store> m_store;
    int m_round = 0;
    int m_year = 2023;

    void fill(const QVector<Project>& projects)
    {
        m_store->update([&](AppData& d) {
            d = AppData::empty();
            d.projects = projects;
        });
    }

    std::unique_ptr<ProjectTable> openTable()
    {
        auto table = std::make_unique<ProjectTable>(*m_store);
        table->resize(1100, table->sizeHint().height());
        table->show();
        if (!QTest::qWaitForWindowExposed(table.get()))
            qWarning("table not exposed");
        return table;
    }

    // The rows as the model holds them once pending Store changes are read.
    QVector<QUuid> shownIds(ProjectTable* table)
    {
        QCoreApplication::processEvents();
        return ids(table->model()->projects());
    }

private slots:
    void initTestCase() { Animations::setEnabled(false); }

    void init()
    {
        CurrencyRate::setUsdToTry(CurrencyRate::kInitialUsdToTry);
        m_store =
            std::make_unique<Store>(m_dir.path() + QStringLiteral("/d") + QString::number(++m_round), false);
        m_store->setActiveYear(m_year);
        // The language is a preference: a test that switched it must not leave it to the next.
        m_store->setLanguage(AppLanguage::en);
        fill({makeProject(QStringLiteral("Bravo"), QStringLiteral("Zeta"), 300, Status::paid, m_year),
              makeProject(QStringLiteral("alpha"), QStringLiteral("Yankee"), 100, Status::pending, m_year,
                          250),
              makeProject(QStringLiteral("Charlie"), QStringLiteral("Xray"), 200, Status::ongoing, m_year),
              makeProject(QStringLiteral("Other year"), QStringLiteral("Xray"), 50, Status::paid,
                          m_year - 1)});
    }

    void cleanup() { m_store.reset(); }

    void headerClicksSortThroughTheStore()
    {
        auto table = openTable();
        QAbstractItemModelTester tester(table->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        TableHeader* header = table->header();
        QCOMPARE(header->buttons().size(), 5);
        QCOMPARE(header->editTitle(), QStringLiteral("EDIT"));
        SortHeaderButton* fee = header->button(SortField::fee);
        SortHeaderButton* status = header->button(SortField::status);
        QCOMPARE(fee->shownTitle(), QStringLiteral("FEE"));
        QCOMPARE(fee->accessibleName(), QStringLiteral("Sort by Fee"));
        QCOMPARE(header->button(SortField::name)->shownTitle(), QStringLiteral("PROJECT NAME"));

        // Sorted by status (the board's column order) to begin with.
        QCOMPARE(status->chevron(), QStringLiteral("chevron.up"));
        QCOMPARE(status->chevronColor(), Theme::ink());
        // How the table is sorted is the button's accessible value, as a screen reader reads it.
        const auto value = [](SortHeaderButton* b) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(b);
            return a ? a->text(QAccessible::Value) : QStringLiteral("no accessible");
        };
        QCOMPARE(value(status), QStringLiteral("Sorted ascending"));
        QCOMPARE(QAccessible::queryAccessibleInterface(status)->role(), QAccessible::Button);
        QCOMPARE(status->accessibleDescription(), QString());
        QCOMPARE(shownIds(table.get()), ids(m_store->sortedVisibleProjects()));
        QCOMPARE(table->model()->rowCount(), 3);
        QCOMPARE(table->model()->project(0).name, QStringLiteral("Bravo"));

        QTest::mouseClick(fee, Qt::LeftButton);
        QCOMPARE(m_store->ui().sortField(), SortField::fee);
        QVERIFY(m_store->ui().sortAscending());
        QCOMPARE(fee->chevron(), QStringLiteral("chevron.up"));
        QCOMPARE(fee->chevronColor(), Theme::ink());
        for (SortHeaderButton* b : header->buttons()) {
            if (b == fee)
                continue;
            QCOMPARE(b->chevron(), QStringLiteral("chevron.up.chevron.down"));
            QCOMPARE(b->chevronColor(), Theme::muted());
            QCOMPARE(value(b), QString());
        }
        QTRY_COMPARE(table->model()->project(0).name, QStringLiteral("alpha"));
        QCOMPARE(table->model()->project(2).name, QStringLiteral("Bravo"));

        QTest::mouseClick(fee, Qt::LeftButton);
        QVERIFY(!m_store->ui().sortAscending());
        QCOMPARE(fee->chevron(), QStringLiteral("chevron.down"));
        QCOMPARE(value(fee), QStringLiteral("Sorted descending"));
        // Pressed through accessibility it sorts like a click.
        QAccessible::queryAccessibleInterface(fee)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QVERIFY(m_store->ui().sortAscending());
        QCOMPARE(value(fee), QStringLiteral("Sorted ascending"));
        QTest::mouseClick(fee, Qt::LeftButton);
        QCOMPARE(shownIds(table.get()), ids(m_store->sortedVisibleProjects()));
        QCOMPARE(table->model()->project(0).name, QStringLiteral("Bravo"));

        // Names compare without regard to case.
        QTest::mouseClick(header->button(SortField::name), Qt::LeftButton);
        QCOMPARE(shownIds(table.get()), ids(m_store->sortedVisibleProjects()));
        QCOMPARE(table->model()->project(0).name, QStringLiteral("alpha"));
        QTest::mouseClick(header->button(SortField::client), Qt::LeftButton);
        QCOMPARE(m_store->ui().sortField(), SortField::client);
        QCOMPARE(shownIds(table.get()), ids(m_store->sortedVisibleProjects()));
        QCOMPARE(table->model()->project(0).client, QStringLiteral("Xray"));
    }

    void turkishHeaderAndTexts()
    {
        m_store->setLanguage(AppLanguage::tr);
        auto table = openTable();
        SortHeaderButton* client = table->header()->button(SortField::client);
        QCOMPARE(client->shownTitle(), QStringLiteral("MÜŞTERİ"));
        QCOMPARE(client->accessibleName(), QStringLiteral("Sort by Müşteri"));
        QCOMPARE(table->header()->button(SortField::name)->shownTitle(), QStringLiteral("PROJE ADI"));
        QCOMPARE(table->header()->editTitle(), QStringLiteral("DÜZENLE"));

        int outsourced = -1;
        for (int i = 0; i < table->model()->rowCount(); ++i) {
            if (table->model()->project(i).outsource > 0)
                outsourced = i;
        }
        const QModelIndex withOutsource = table->model()->index(outsourced);
        QCOMPARE(table->content(outsourced).outsource, QStringLiteral("Outsource: -12.535 ₺"));
        // A screen reader hears the row's painted texts.
        QAccessibleInterface* row =
            QAccessible::queryAccessibleInterface(table.get())->child(table->accessibleIndexOf(outsourced));
        QVERIFY(row);
        QVERIFY(row->text(QAccessible::Description).contains(QStringLiteral("Outsource: -12.535 ₺")));
        QVERIFY(row->text(QAccessible::Description).endsWith(QStringLiteral(", ÖDENECEK")));
        QCOMPARE(withOutsource.data(ProjectTableModel::FeeTextRole).toString(), QStringLiteral("5.014 ₺"));
        QCOMPARE(withOutsource.data(ProjectTableModel::StatusTitleRole).toString(),
                 QStringLiteral("ÖDENECEK"));
        // The live rate arriving redraws the rows.
        QSignalSpy redrawn(table->model(), &QAbstractItemModel::dataChanged);
        CurrencyRate::setUsdToTry(40);
        QTRY_COMPARE(redrawn.size(), 1);
        QCOMPARE(withOutsource.data(ProjectTableModel::FeeTextRole).toString(), QStringLiteral("4.000 ₺"));
        CurrencyRate::setUsdToTry(CurrencyRate::kInitialUsdToTry);

        // Switching back relabels the header at once.
        m_store->setLanguage(AppLanguage::en);
        QCOMPARE(table->header()->button(SortField::client)->shownTitle(), QStringLiteral("CLIENT"));
        QTRY_COMPARE(withOutsource.data(ProjectTableModel::FeeTextRole).toString(), QStringLiteral("$100"));
    }

    void rowsDividersAndFeeLines()
    {
        auto table = openTable();
        QCoreApplication::processEvents();
        ProjectTableModel* model = table->model();
        QCOMPARE(model->rowCount(), 3);
        // The first divider sits right under the header; none follows the last row.
        QCOMPARE(table->itemRect(0).top(), TableHeader::kHeight + 1);
        for (int i = 1; i < 3; ++i)
            QCOMPARE(table->itemRect(i).top(), table->itemRect(i - 1).bottom() + 2);
        QCOMPARE(table->frameHeight(), table->itemRect(2).bottom() + 1);
        QCOMPARE(table->height(), table->frameHeight() + ProjectTable::kShadowBleed);

        for (int i = 0; i < 3; ++i) {
            const QModelIndex index = model->index(i);
            const bool outsourced = model->project(i).outsource > 0;
            QCOMPARE(table->content(i).outsource,
                     outsourced ? QStringLiteral("Outsource: -$250") : QString());
            QCOMPARE(table->itemRect(i).height(), ProjectRow::height(outsourced));
            QVERIFY(!(model->flags(index) & (Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled)));
        }
        QVERIFY(ProjectRow::height(true) > ProjectRow::height(false));
        QVERIFY(!table->acceptDrops());

        // An edit shows at once, in place.
        Project changed = model->project(0);
        changed.name = QStringLiteral("Bravo renamed");
        m_store->save(changed);
        QTRY_COMPARE(model->project(0).name, QStringLiteral("Bravo renamed"));
    }

    void emptyStates()
    {
        auto table = openTable();
        QCOMPARE(table->emptyText(), QString());
        m_store->ui().setSearchQuery(QStringLiteral("nothing like it"));
        QTRY_COMPARE(table->model()->rowCount(), 0);
        QCOMPARE(table->emptyText(), QStringLiteral("No matches"));
        // Blanks count as search text.
        m_store->ui().setSearchQuery(QStringLiteral("  "));
        QTRY_COMPARE(table->model()->rowCount(), 3);
        m_store->ui().setSearchQuery(QString());
        m_store->setActiveYear(2019);
        QTRY_COMPARE(table->model()->rowCount(), 0);
        QCOMPARE(table->emptyText(), QStringLiteral("No projects in 2019 yet"));
        m_store->setLanguage(AppLanguage::tr);
        QCOMPARE(table->emptyText(), QStringLiteral("2019 yılında henüz proje yok"));
        m_store->ui().setSearchQuery(QStringLiteral("x"));
        QCOMPARE(table->emptyText(), QStringLiteral("Eşleşme bulunamadı"));
        // Header, a divider and the padded text.
        QCOMPARE(table->frameHeight(), TableHeader::kHeight + 1 + 2 * ProjectTable::kEmptyPadding +
                                           QFontMetrics(Theme::font(12, QFont::Medium)).height());
    }

    void rowGestures()
    {
        auto table = openTable();
        QCoreApplication::processEvents();
        const QRect second = table->itemRect(1);
        const QUuid id = table->model()->project(1).id;

        QTest::mouseMove(table.get(), second.center());
        QTRY_COMPARE(table->hoveredRow(), 1);
        const QImage hovered = table->grab().toImage();
        const QPoint sample(ProjectRow::kPadX / 2, second.center().y());
        QCOMPARE(QColor(hovered.pixel(sample)), Theme::cream());
        QCOMPARE(QColor(hovered.pixel(sample.x(), table->itemRect(0).center().y())), QColor(Qt::white));

        // A single click on the row opens nothing; the pencil and a double click do.
        QTest::mouseClick(table.get(), Qt::LeftButton, {}, second.center());
        QVERIFY(!m_store->ui().editor().has_value());
        QTest::mouseDClick(table.get(), Qt::LeftButton, {}, second.center());
        QVERIFY(m_store->ui().editor().has_value());
        QCOMPARE(*m_store->ui().editor(), EditorTarget::edit(id));
        m_store->ui().setEditor(std::nullopt);
        const QPoint pencil = ProjectRow::editButtonRect(QRectF(table->itemRect(2))).center().toPoint();
        QTest::mouseClick(table.get(), Qt::LeftButton, {}, pencil);
        QCOMPARE(*m_store->ui().editor(), EditorTarget::edit(table->model()->project(2).id));
        m_store->ui().setEditor(std::nullopt);
        // A press anywhere on the row and the release on its pencil count too, as on a card; a
        // press on another row does not.
        QTest::mousePress(table.get(), Qt::LeftButton, {}, table->itemRect(2).topLeft() + QPoint(40, 10));
        QTest::mouseRelease(table.get(), Qt::LeftButton, {}, pencil);
        QVERIFY(m_store->ui().editor() == EditorTarget::edit(table->model()->project(2).id));
        m_store->ui().setEditor(std::nullopt);
        QTest::mousePress(table.get(), Qt::LeftButton, {}, second.center());
        QTest::mouseRelease(table.get(), Qt::LeftButton, {}, pencil);
        QVERIFY(!m_store->ui().editor().has_value());

        // The secondary click offers the project menu of that row's project.
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, second.center(),
                                    table->mapToGlobal(second.center()));
        QCoreApplication::sendEvent(table.get(), &menuEvent);
        auto* menu = table->findChild<ProjectMenu*>();
        QVERIFY(menu);
        QCOMPARE(menu->projectId(), id);
        menu->deleteAction()->trigger();
        menu->close();
        QTRY_COMPARE(table->model()->rowCount(), 2);
        QCOMPARE(table->model()->rowOf(id), -1);
    }

    void rowsForAssistiveTechnology()
    {
        auto table = openTable();
        QCoreApplication::processEvents();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(table.get());
        QVERIFY(iface);
        QCOMPARE(iface->childCount(), 4);
        QCOMPARE(iface->child(0)->object(), table->header());
        const Project second = table->model()->project(1);
        QAccessibleInterface* row = iface->child(2);
        QVERIFY(row && row->isValid());
        QCOMPARE(row->text(QAccessible::Name), second.name);
        QVERIFY(row->text(QAccessible::Description).contains(QStringLiteral("Outsource: -$250")));
        QCOMPARE(iface->indexOfChild(row), 2);
        QCOMPARE(iface->child(2), row);
        QCOMPARE(iface->childAt(row->rect().center().x(), row->rect().center().y()), row);

        QAccessibleInterface* edit = row->child(0);
        QCOMPARE(edit->role(), QAccessible::Button);
        QCOMPARE(edit->text(QAccessible::Name), QStringLiteral("Edit ") + second.name);
        QVERIFY(row->rect().contains(edit->rect()));
        edit->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(*m_store->ui().editor(), EditorTarget::edit(second.id));

        // A row whose project went away is no longer valid.
        m_store->deleteProject(second.id);
        QTRY_COMPARE(iface->childCount(), 3);
        QVERIFY(!row->isValid());
    }

    void boardShowsTheTableForTheTableLayout()
    {
        BoardView board(*m_store);
        QVERIFY(!board.table());
        m_store->update([](AppData& d) { d.layout = BoardLayout::table; });
        auto* table = qobject_cast<ProjectTable*>(board.table());
        QVERIFY(table);
        QCOMPARE(table->model()->rowCount(), 3);
        m_store->update([](AppData& d) { d.layout = BoardLayout::columns; });
        QVERIFY(!board.table());
    }

    void rowsByKeyboard()
    {
        auto table = openTable();
        table->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(table.get()));
        table->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(table->hasFocus());
        QCoreApplication::processEvents();
        QCOMPARE(table->currentRow(), 0);
        QTest::keyClick(table.get(), Qt::Key_Down);
        QCOMPARE(table->currentRow(), 1);
        const QUuid id = table->projectIdAt(1);
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(table.get());
        // The header row comes first among the children.
        QAccessibleInterface* item = list->child(list->childCount() - table->model()->rowCount() + 1);
        QVERIFY(item->state().focused && item->state().selected);
        QVERIFY(item->text(QAccessible::Description)
                    .endsWith(table->model()->index(1).data(ProjectTableModel::StatusTitleRole).toString()));
        QTest::keyClick(table.get(), Qt::Key_Return);
        QCOMPARE(*m_store->ui().editor(), EditorTarget::edit(id));
        m_store->ui().setEditor(std::nullopt);

        // Shift+F10 and the menu key open the project menu of the keyboard's row.
        QTest::keyClick(table.get(), Qt::Key_End);
        const int last = table->currentRow();
        QCOMPARE(last, table->model()->rowCount() - 1);
        const auto menuFor = [&table] {
            auto* menu = table->findChild<ProjectMenu*>();
            const QUuid shown = menu ? menu->projectId() : QUuid();
            delete menu;
            return shown;
        };
        for (const auto& key : {std::pair{Qt::Key_F10, Qt::KeyboardModifiers(Qt::ShiftModifier)},
                                std::pair{Qt::Key_Menu, Qt::KeyboardModifiers()}}) {
            QTest::keyClick(table.get(), key.first, key.second);
            QCOMPARE(menuFor(), table->projectIdAt(last));
        }
        // So does the keyboard context menu the platform gives the window for the menu key (X11,
        // Wayland): not the menu of the row in the middle of the table.
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        QCoreApplication::sendEvent(table->windowHandle(), &menuKey);
        QCOMPARE(menuFor(), table->projectIdAt(last));
    }

    void fewRowsKeepTheBoardSpacing()
    {
        m_store->update([](AppData& d) { d.layout = BoardLayout::table; });
        BoardView board(*m_store);
        board.resize(1200, 1400); // far taller than a short table needs
        board.show();
        QVERIFY(QTest::qWaitForWindowExposed(&board));
        const auto gaps = [&board] {
            const QRect summary = board.summary()->geometry();
            const QRect controls = board.controls()->geometry();
            const QRect table = board.table()->geometry();
            return QList<int>{controls.top() - summary.bottom() - 1, table.top() - controls.bottom() - 1};
        };
        QCOMPARE(gaps(), (QList<int>{BoardView::kSpacing, BoardView::kSpacing}));
        QCOMPARE(board.summary()->geometry().top(), 0);
        // One row left, and none: the table stays under the controls, the room stays below it.
        const QVector<Project> projects = m_store->data().projects;
        for (int i = 1; i < projects.size(); ++i)
            m_store->deleteProject(projects.at(i).id);
        QTRY_COMPARE(qobject_cast<ProjectTable*>(board.table())->model()->rowCount(), 1);
        QTRY_COMPARE(gaps(), (QList<int>{BoardView::kSpacing, BoardView::kSpacing}));
        QVERIFY(board.table()->geometry().bottom() < board.height() / 2);
    }

    void onlyRowsInViewArePainted()
    {
        QVector<Project> many;
        for (int i = 0; i < 3000; ++i)
            many << makeProject(QStringLiteral("Project %1").arg(i), QStringLiteral("Client %1").arg(i % 7),
                                i, Status(i % 3), m_year, i % 5 == 0 ? 10 : 0);
        fill(many);
        QScrollArea area;
        area.resize(1100, 700);
        area.setWidgetResizable(true);
        auto* table = new ProjectTable(*m_store);
        area.setWidget(table);
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        QCOMPARE(table->model()->rowCount(), 3000);
        QVERIFY(table->height() > 3000 * ProjectRow::height(false));
        QTRY_VERIFY(table->paintedItems() > 0);
        QVERIFY(table->paintedItems() < 20);

        area.verticalScrollBar()->setValue(area.verticalScrollBar()->maximum());
        const quint64 before = table->paintCount();
        QTRY_VERIFY(table->paintCount() > before);
        QVERIFY(table->paintedItems() < 20);
        // The last row is reachable and sits at the bottom of the frame.
        QCOMPARE(table->itemRect(2999).bottom() + 1, table->frameHeight());
    }
};

TB_WIDGET_TEST_MAIN(TestTable)
#include "tst_table.moc"
