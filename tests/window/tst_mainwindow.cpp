#include "TestMain.h"

#include "board/DragScroller.h"
#include "model/AtomicWrite.h"
#include "model/DataFile.h"
#include "model/Preferences.h"
#include "model/Store.h"
#include "ui/Animations.h"
#include "ui/Announcer.h"
#include "ui/InkButton.h"
#include "ui/PillOption.h"
#include "ui/PillSegment.h"
#include "ui/YearMenu.h"
#include "window/MainWindow.h"
#include "window/MainWindowHeader.h"
#include "window/MainWindowSheet.h"
#include "window/SampleTip.h"
#include "window/SearchBar.h"
#include "window/ToastView.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <memory>

namespace {
AppData readDocument(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? DataFile::decode(f.readAll()).value_or(AppData{}) : AppData{};
}

// Pages tall enough to scroll.
QWidget* tallPage(MainTab tab, Store&, QWidget* parent)
{
    QWidget* page = MainWindowPages::emptyPage(tab, parent);
    page->setMinimumHeight(4000);
    return page;
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Store> m_store;
    int m_round = 0;

    std::unique_ptr<MainWindow> openWindow(MainWindowPages::Factory pages = &MainWindowPages::standard)
    {
        auto w = std::make_unique<MainWindow>(*m_store, std::move(pages));
        w->show();
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("window not active");
        return w;
    }

private slots:
    void initTestCase() { Animations::setEnabled(false); }

    void init()
    {
        Preferences::setBoolean(Preferences::kDismissedSampleDataTip, false);
        m_store =
            std::make_unique<Store>(m_dir.path() + QStringLiteral("/d") + QString::number(++m_round), false);
    }
    void cleanup() { m_store.reset(); }

    void sizesAndTitle()
    {
        auto w = openWindow();
        QCOMPARE(w->windowTitle(), QStringLiteral("Tallybrook"));
        QCOMPARE(w->objectName(), QStringLiteral("main"));
        QCOMPARE(w->size(), QSize(1320, 860));
        w->resize(600, 400);
        QCOMPARE(w->size(), QSize(1040, 680));
    }

    void tabsFollowTheStore()
    {
        {
            auto w = openWindow();
            QAccessibleInterface* board =
                QAccessible::queryAccessibleInterface(w->header()->tabs()->optionButton(0));
            QCOMPARE(board->role(), QAccessible::PageTab);
            QVERIFY(board->state().selected);
            // Switching pages is said aloud, as an alert naming the page.
            m_store->ui().setTab(MainTab::stats);
            QAccessibleInterface* said = QAccessible::queryAccessibleInterface(w->announcer());
            QCOMPARE(said->role(), QAccessible::AlertMessage);
            QCOMPARE(said->text(QAccessible::Name), QStringLiteral("Statistics"));
            m_store->ui().setTab(MainTab::board);
        }
        // Stand-in pages: this is about the frame, not the pages.
        auto w = openWindow(
            [](MainTab tab, Store&, QWidget* parent) { return MainWindowPages::emptyPage(tab, parent); });
        PillSegment* tabs = w->header()->tabs();
        QCOMPARE(tabs->selection().toInt(), int(MainTab::board));
        QCOMPARE(tabs->options().size(), 3);
        QCOMPARE(tabs->options().at(1).label, m_store->tabTitle(MainTab::stats));

        QTest::mouseClick(tabs->optionButton(2), Qt::LeftButton);
        QCOMPARE(m_store->ui().tab(), MainTab::settings);
        QCOMPARE(w->currentPage()->objectName(),
                 QStringLiteral("page_") + MainTabInfo::rawValue(MainTab::settings));

        m_store->ui().setTab(MainTab::stats);
        QCOMPARE(tabs->selection().toInt(), int(MainTab::stats));
        QCOMPARE(w->currentPage()->objectName(),
                 QStringLiteral("page_") + MainTabInfo::rawValue(MainTab::stats));

        QTest::mouseClick(w->header()->logoButton(), Qt::LeftButton);
        QCOMPARE(m_store->ui().tab(), MainTab::board);

        m_store->setLanguage(AppLanguage::tr);
        QCOMPARE(tabs->options().at(1).label, m_store->tabTitle(MainTab::stats));
        QCOMPARE(w->header()->searchButton()->toolTip(), QStringLiteral("Ara (Ctrl+F)"));
        m_store->setLanguage(AppLanguage::en);
        QCOMPARE(w->header()->searchButton()->toolTip(), QStringLiteral("Search (Ctrl+F)"));
        QCOMPARE(w->header()->searchButton()->accessibleName(), QStringLiteral("Search"));
    }

    void searchButtonTogglesBarAndQuery()
    {
        auto w = openWindow();
        SearchBar* bar = w->searchBar();
        QVERIFY(!bar->isVisible());
        QTest::mouseClick(w->header()->searchButton(), Qt::LeftButton);
        QVERIFY(m_store->ui().searchVisible());
        QVERIFY(bar->isVisible());
        QVERIFY(bar->height() > 0);
        QTRY_VERIFY(bar->field()->hasFocus());

        QTest::keyClicks(bar->field(), QStringLiteral("logo"));
        QCOMPARE(m_store->ui().searchQuery(), QStringLiteral("logo"));
        const int filtered = m_store->visibleProjects().size();
        QVERIFY(filtered < m_store->yearProjects().size());

        QTest::mouseClick(w->header()->searchButton(), Qt::LeftButton);
        QVERIFY(!m_store->ui().searchVisible());
        QVERIFY(!bar->isVisible());
        QCOMPARE(m_store->ui().searchQuery(), QString());
        QCOMPARE(bar->field()->text(), QString());
        QCOMPARE(m_store->visibleProjects().size(), m_store->yearProjects().size());
    }

    void escapeHidesBarAndClearsQuery()
    {
        auto w = openWindow();
        m_store->ui().setSearchVisible(true);
        QLineEdit* field = w->searchBar()->field();
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClicks(field, QStringLiteral("brand"));
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!m_store->ui().searchVisible());
        QCOMPARE(m_store->ui().searchQuery(), QString());
        QVERIFY(!field->hasFocus());
        QVERIFY(!w->searchBar()->isVisible());

        // A query set elsewhere shows in the field.
        m_store->ui().setSearchVisible(true);
        m_store->ui().setSearchQuery(QStringLiteral("acme"));
        QCOMPARE(field->text(), QStringLiteral("acme"));
    }

    void sampleTipClicks()
    {
        {
            auto w = openWindow();
            SampleTip* tip = w->header()->sampleTip();
            QVERIFY(tip->isVisible());
            // The close button only hides the tip.
            QTest::mouseClick(tip, Qt::LeftButton, {}, tip->closeButtonRect().center().toPoint());
            QVERIFY(!tip->isVisible());
            QCOMPARE(m_store->ui().tab(), MainTab::board);
            QCOMPARE(Preferences::boolean(Preferences::kDismissedSampleDataTip), std::optional<bool>(true));
        }
        {
            // Once dismissed, a new window shows only the tabs.
            auto w = openWindow();
            QVERIFY(!w->header()->sampleTip()->isVisible());
        }
        Preferences::setBoolean(Preferences::kDismissedSampleDataTip, false);
        auto w = openWindow();
        SampleTip* tip = w->header()->sampleTip();
        QVERIFY(tip->isVisible());
        // What a screen reader says follows the language like the text on screen.
        QVERIFY(tip->accessibleName().startsWith(QStringLiteral("You can erase")));
        m_store->setLanguage(AppLanguage::tr);
        QVERIFY(tip->accessibleName().startsWith(QStringLiteral("Örnek verileri")));
        m_store->setLanguage(AppLanguage::en);
        // The body of the tip leads to the settings and closes it for good.
        QTest::mouseClick(tip, Qt::LeftButton, {}, tip->cardRect().topLeft().toPoint() + QPoint(14, 8));
        QCOMPARE(m_store->ui().tab(), MainTab::settings);
        QVERIFY(!tip->isVisible());
        QCOMPARE(Preferences::boolean(Preferences::kDismissedSampleDataTip), std::optional<bool>(true));
    }

    void toastWithAndWithoutUndo()
    {
        auto w = openWindow();
        ToastView* toast = w->toast();
        QVERIFY(!toast->isVisible());

        m_store->ui().show(QStringLiteral("Saved"));
        QVERIFY(toast->isVisible());
        QCOMPARE(toast->message(), QStringLiteral("Saved"));
        QVERIFY(toast->undoButton()->isHidden());
        // Bottom-right, 24 from the corner of the content.
        const QRect content = w->centralWidget()->rect();
        QVERIFY(toast->geometry().right() > content.width() - 60);
        QVERIFY(toast->geometry().bottom() > content.height() - 60);
        const QUuid first = toast->toastId();

        const Project victim = m_store->data().projects.first();
        m_store->deleteProject(victim.id);
        QVERIFY(toast->toastId() != first);
        QVERIFY(toast->message().contains(victim.name));
        QVERIFY(!toast->undoButton()->isHidden());
        QCOMPARE(toast->undoButton()->text(), QStringLiteral("Undo"));
        // What the alert reads out, undo hint included.
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(toast);
        QVERIFY(spoken->text(QAccessible::Description).startsWith(toast->message()));
        QVERIFY(
            spoken->text(QAccessible::Description).endsWith(QStringLiteral("Undo available, press Ctrl+Z.")));
        // Spoken as an alert the moment it appears.
        QCOMPARE(spoken->role(), QAccessible::AlertMessage);
        QCOMPARE(spoken->text(QAccessible::Name), toast->message());

        QTest::mouseClick(toast->undoButton(), Qt::LeftButton);
        const auto& projects = m_store->data().projects;
        QVERIFY(std::any_of(projects.begin(), projects.end(),
                            [&](const Project& p) { return p.id == victim.id; }));

        m_store->ui().expireToast();
        QVERIFY(!toast->isVisible());
        QVERIFY(!toast->isPresent());

        // A name that looks like markup is shown as typed, tags and all.
        const QString markup = QStringLiteral("<b>Logo</b>");
        m_store->ui().show(markup);
        auto* label = toast->findChild<QLabel*>(QStringLiteral("toastMessage"));
        QVERIFY(label);
        QVERIFY(label->sizeHint().width() >= QFontMetrics(label->font()).horizontalAdvance(markup));
    }

    void narrowWindowsKeepTheHeaderApart()
    {
        auto w = openWindow();
        MainWindowHeader* header = w->header();
        SampleTip* tip = header->sampleTip();
        QVERIFY(tip->isVisible());
        const int tallWithTip = header->height();
        for (const AppLanguage language : {AppLanguage::en, AppLanguage::tr}) {
            m_store->setLanguage(language);
            for (int width = 1040; width <= 1480; width += 20) {
                w->resize(width, 680);
                QCoreApplication::processEvents();
                const QString at =
                    QStringLiteral("%1 wide, %2").arg(width).arg(AppLanguageInfo::rawValue(language));
                const QRect years = header->yearMenu()->geometry();
                const QRect tabs = header->tabs()->geometry();
                const QRect search = header->searchButton()->geometry();
                const QRect add = header->newProjectButton()->geometry();
                // The tip's card, without the room its shadow takes.
                const QRect card = tip->cardRect().translated(tip->pos()).toAlignedRect();
                QVERIFY2(tabs.left() > years.right() && tabs.right() < search.left(), qPrintable(at));
                QVERIFY2(tip->width() == 0 || (card.left() > tabs.right() && card.right() < search.left()),
                         qPrintable(at));
                QVERIFY2(!card.intersects(add) && !card.intersects(search), qPrintable(at));
                // The whole tip from a width where it fits, and at 1040 still part of it.
                if (width == 1040)
                    QVERIFY2(tip->width() >= tip->minimumSizeHint().width(), qPrintable(at));
                QCOMPARE(header->height(), tallWithTip);
            }
        }
        // Dismissing the tip does not move the divider under the header.
        m_store->setLanguage(AppLanguage::en);
        w->resize(1320, 860);
        tip->dismiss();
        QTRY_VERIFY(!tip->isVisible());
        QCoreApplication::processEvents();
        QCOMPARE(header->height(), tallWithTip);
        // Without the tip the tabs sit in the middle of the window.
        QVERIFY(std::abs(header->tabs()->geometry().center().x() - header->width() / 2) <= 1);
    }

    void giantTextsNeverFreezeTheWindow()
    {
        // A name pasted from somewhere by mistake: twenty million characters, and long client and
        // category names too.
        const QString giant = QString(20'000'000, QLatin1Char('x')) + QStringLiteral("end");
        Project p = m_store->data().projects.first();
        p.name = giant;
        p.client = QString(1'000'000, QLatin1Char('c'));
        p.category = QString(1'000'000, QLatin1Char('k'));
        m_store->update([&](AppData& d) {
            d.projects.first() = p;
            d.clients.append(p.client);
            d.categories.append(p.category);
        });
        QElapsedTimer clock;
        clock.start();
        auto w = openWindow();
        QCoreApplication::processEvents();
        for (MainTab tab : {MainTab::stats, MainTab::settings, MainTab::board}) {
            m_store->ui().setTab(tab);
            QCoreApplication::processEvents();
        }
        m_store->update([](AppData& d) { d.layout = BoardLayout::table; });
        QCoreApplication::processEvents();
        QVERIFY2(clock.elapsed() < 8000, qPrintable(QString::number(clock.elapsed())));
        // A later change is as quick as any.
        clock.restart();
        m_store->move(p.id, Status::paid);
        w->grab();
        QCoreApplication::processEvents();
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        // The toast shows a shortened name; the document keeps it whole, to the last letter.
        m_store->deleteProject(p.id);
        QVERIFY(w->toast()->message().size() < 1100);
        QVERIFY(w->toast()->message().endsWith(QStringLiteral("…")));
        m_store->undoDelete();
        m_store->flushPendingSave();
        QCOMPARE(readDocument(m_store->fileURL()).projects.first().name, giant);
    }

    void dragsScrollThePage()
    {
        auto w = openWindow(&tallPage);
        auto* area = w->findChild<QScrollArea*>(QStringLiteral("pageArea"));
        auto* scroller = area->findChild<DragScroller*>();
        QVERIFY(scroller);
        QScrollBar* bar = area->verticalScrollBar();
        QVERIFY(bar->maximum() > 1000);
        QWidget* viewport = area->viewport();
        QMimeData mime;
        mime.setText(QStringLiteral("card:whatever"));
        // As the window system hands a drag's moves to the window, whatever lies under the pointer.
        const auto dragTo = [&](QPoint at) {
            QDragMoveEvent move(viewport->mapTo(w.get(), at), Qt::MoveAction, &mime, Qt::LeftButton,
                                Qt::NoModifier);
            QCoreApplication::sendEvent(w->windowHandle(), &move);
        };
        const QPoint nearBottom(viewport->width() / 2, viewport->height() - 5);
        const QPoint middle(viewport->width() / 2, viewport->height() / 2);

        // Without a drag of the board's own, nothing scrolls.
        dragTo(nearBottom);
        QTest::qWait(5 * DragScroller::kStepMs);
        QCOMPARE(bar->value(), 0);
        {
            const DragScroller::Session drag;
            // The drag's own filter, installed once it runs, swallows the wheel as the real one does.
            struct Swallow : QObject
            {
                bool eventFilter(QObject*, QEvent* e) override { return e->type() == QEvent::Wheel; }
            } swallow;
            qApp->installEventFilter(&swallow);
            QCoreApplication::processEvents();

            // Resting near the bottom edge scrolls on and on, resting in the middle stops it.
            dragTo(nearBottom);
            QTRY_VERIFY(bar->value() > 200);
            dragTo(middle);
            const int stopped = bar->value();
            QTest::qWait(5 * DragScroller::kStepMs);
            QCOMPARE(bar->value(), stopped);
            QVERIFY(!scroller->isScrolling());
            // Near the top it goes back up.
            dragTo(QPoint(viewport->width() / 2, 3));
            QTRY_VERIFY(bar->value() < stopped);
            dragTo(middle);
            QTRY_VERIFY(!scroller->isScrolling());

            // The wheel scrolls the page while dragging.
            const int before = bar->value();
            QWheelEvent wheel(middle, viewport->mapToGlobal(middle), QPoint(), QPoint(0, -120),
                              Qt::LeftButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QSpontaneKeyEvent::setSpontaneous(&wheel);
            qApp->notify(viewport, &wheel);
            QTRY_VERIFY(bar->value() > before); // the page's scroll bar glides
            qApp->removeEventFilter(&swallow);
        }
        // After the drop the edges are quiet again.
        const int after = bar->value();
        dragTo(nearBottom);
        QTest::qWait(5 * DragScroller::kStepMs);
        QCOMPARE(bar->value(), after);
    }

    void toastTakesNoFocusAndCoversNoControl()
    {
        // A page with a text field and, under the toast's corner, a button.
        QPointer<QLineEdit> field;
        QPointer<QPushButton> beneath;
        auto w = openWindow([&](MainTab tab, Store&, QWidget* parent) -> QWidget* {
            if (tab != MainTab::board)
                return MainWindowPages::emptyPage(tab, parent);
            auto* page = new QWidget(parent);
            auto* column = new QVBoxLayout(page);
            field = new QLineEdit(page);
            beneath = new QPushButton(QStringLiteral("Beneath"), page);
            beneath->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
            beneath->setMinimumHeight(2000);
            column->addWidget(field);
            column->addWidget(beneath, 1);
            return page;
        });
        QVERIFY(field && beneath);
        field->setFocus();
        field->setText(QStringLiteral("typing"));
        QTRY_VERIFY(field->hasFocus());
        ToastView* toast = w->toast();

        // Undo by click: the work goes on where it was.
        const Project victim = m_store->data().projects.first();
        m_store->deleteProject(victim.id);
        QTest::mouseClick(toast->undoButton(), Qt::LeftButton);
        QCOMPARE(m_store->data().projects.first().id, victim.id);
        QCOMPARE(QApplication::focusWidget(), field.data());

        // Ctrl+Z in a text field is the field's own undo, never the toast's.
        const Project second = m_store->data().projects.first();
        m_store->deleteProject(second.id);
        QVERIFY(toast->undoKey()->isEnabled());
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral(" more"));
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(m_store->data().projects.first().id != second.id);
        QCOMPARE(field->text(), QStringLiteral("typing"));
        // Elsewhere it undoes the deletion the toast offers.
        beneath->setFocus();
        QTRY_VERIFY(beneath->hasFocus());
        QTest::keyClick(beneath, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_store->data().projects.first().id, second.id);
        QVERIFY(!toast->undoKey()->isEnabled());

        // A click on the toast's message reaches the button beneath it, a press and release alike.
        m_store->ui().show(QStringLiteral("Saved"));
        QVERIFY(toast->isVisible());
        const QPoint onToast = toast->rect().center();
        QVERIFY(beneath->rect().contains(beneath->mapFromGlobal(toast->mapToGlobal(onToast))));
        QSignalSpy clicked(beneath.data(), &QAbstractButton::clicked);
        QTest::mouseClick(toast, Qt::LeftButton, {}, onToast);
        QCOMPARE(clicked.size(), 1);
        QVERIFY(toast->isVisible());
    }

    void tabChangeScrollsToTop()
    {
        auto w = openWindow(&tallPage);
        QScrollBar* bar = w->pageArea()->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 1000);
        bar->setValue(1500);
        QCOMPARE(bar->value(), 1500);
        m_store->ui().setTab(MainTab::stats);
        QCOMPARE(bar->value(), 0);
        QTRY_VERIFY(bar->maximum() > 1000);
        bar->setValue(800);
        m_store->ui().setTab(MainTab::board);
        QCOMPARE(bar->value(), 0);
        // Each page is built once and kept.
        QWidget* board = w->currentPage();
        m_store->ui().setTab(MainTab::stats);
        m_store->ui().setTab(MainTab::board);
        QCOMPARE(w->currentPage(), board);
        QCOMPARE(w->pageArea()->widget()->layout()->contentsMargins(), QMargins(32, 24, 32, 40));
    }

    // Another computer's changes arriving from disk leave the window as it was: the tab, the year,
    // the scroll position, the search and an open editor whose project is still there.
    void outsideChangesKeepTheView()
    {
        const int year = Store::currentYear() - 1;
        m_store->update([year](AppData& d) {
            d = AppData::empty();
            for (int i = 0; i < 80; ++i) {
                Project p;
                p.id = QUuid::createUuid();
                p.name = QStringLiteral("Project %1").arg(i);
                p.fee = 100 + i;
                p.status = StatusInfo::all[size_t(i % 3)];
                p.date = QDateTime(QDate(year, 1 + i % 12, 10), QTime(12, 0), Qt::LocalTime);
                d.projects.append(p);
            }
        });
        m_store->flushPendingSave();
        m_store->startWatching();
        m_store->setActiveYear(year);
        auto w = openWindow();
        m_store->ui().setTab(MainTab::board);
        m_store->ui().setSearchVisible(true);
        m_store->ui().setSearchQuery(QStringLiteral("project"));
        QScrollBar* bar = w->pageArea()->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 400);
        bar->setValue(400);
        const QUuid edited = m_store->data().projects.at(5).id;
        m_store->ui().setEditor(EditorTarget::edit(edited));
        QTRY_VERIFY(m_store->ui().editor());

        AppData other = m_store->data();
        other.projects[5].name = QStringLiteral("Project 5, renamed on the laptop");
        other.projects.removeAt(7);
        const QString file = m_store->fileURL();
        QString error;
        QVERIFY2(AtomicWrite::write(file, *DataFile::encode(other), &error), qPrintable(error));
        QTRY_COMPARE_WITH_TIMEOUT(m_store->data().projects.size(), other.projects.size(), 2000);
        QCOMPARE(m_store->ui().toast()->message, QStringLiteral("Reloaded changes from disk"));
        QCoreApplication::processEvents();
        QCOMPARE(m_store->ui().tab(), MainTab::board);
        QCOMPARE(m_store->activeYear(), year);
        QCOMPARE(m_store->ui().searchQuery(), QStringLiteral("project"));
        QCOMPARE(bar->value(), 400);
        QVERIFY(m_store->ui().editor());
        QCOMPARE(m_store->ui().editor()->id, edited);
    }

    void editorSheetFollowsStore()
    {
        auto w = openWindow();
        QVERIFY(!w->sheet()->dialog());
        QTest::mouseClick(w->header()->newProjectButton(), Qt::LeftButton);
        QVERIFY(m_store->ui().editor().has_value());
        QDialog* sheet = w->sheet()->dialog();
        QVERIFY(sheet);
        QVERIFY(sheet->isVisible());
        // Modal to the window's content: a click behind the sheet changes nothing.
        QTest::mouseClick(w->header()->tabs()->optionButton(1), Qt::LeftButton);
        QCOMPARE(m_store->ui().tab(), MainTab::board);
        QCOMPARE(sheet->parentWidget(), w.get());
        QCOMPARE(sheet->windowTitle(), QStringLiteral("New Project"));

        // The user dismisses it: the editor target goes.
        sheet->reject();
        QVERIFY(!m_store->ui().editor().has_value());
        QVERIFY(!w->sheet()->dialog());
        // Without it, the same click reaches the content.
        QTest::mouseClick(w->header()->tabs()->optionButton(1), Qt::LeftButton);
        QCOMPARE(m_store->ui().tab(), MainTab::stats);
        m_store->ui().setTab(MainTab::board);

        // Another target rebuilds it; clearing the target closes it.
        const QUuid id = m_store->data().projects.first().id;
        m_store->ui().setEditor(EditorTarget::edit(id));
        QPointer<QDialog> editing = w->sheet()->dialog();
        QVERIFY(editing);
        QCOMPARE(editing->windowTitle(), QStringLiteral("Edit Project"));
        m_store->ui().setEditor(EditorTarget::newProject());
        QVERIFY(w->sheet()->dialog() != editing.data());
        QTRY_VERIFY(!editing);
        QVERIFY(m_store->ui().editor()->isNew());

        int built = 0;
        w->sheet()->setEditorFactory([&built](Store&, const EditorTarget&, QDialog* d) {
            ++built;
            return new QWidget(d);
        });
        QCOMPARE(built, 1);
        QPointer<QDialog> last = w->sheet()->dialog();
        m_store->ui().setEditor(std::nullopt);
        QTRY_VERIFY(!last);
    }
};

TB_WIDGET_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
