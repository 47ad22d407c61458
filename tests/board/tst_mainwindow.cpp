#include "TestMain.h"

#include "board/MainWindow.h"
#include "board/MainWindowHeader.h"
#include "board/MainWindowSheet.h"
#include "board/SampleTip.h"
#include "board/SearchBar.h"
#include "board/ToastView.h"
#include "model/Preferences.h"
#include "model/Store.h"
#include "ui/InkButton.h"
#include "ui/PillOption.h"
#include "ui/PillSegment.h"
#include "ui/Spring.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <memory>

namespace {
// Pages tall enough to scroll.
QWidget* tallPage(MainTab tab, Store*, QWidget* parent)
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
        auto w = std::make_unique<MainWindow>(m_store.get(), std::move(pages));
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
        // Stand-in pages: this is about the frame, not the pages.
        auto w = openWindow(
            [](MainTab tab, Store*, QWidget* parent) { return MainWindowPages::emptyPage(tab, parent); });
        PillSegment* tabs = w->header()->tabs();
        QCOMPARE(tabs->selection().toInt(), int(MainTab::board));
        QCOMPARE(tabs->options().size(), 3);
        QCOMPARE(tabs->options().at(1).label, m_store->tabTitle(MainTab::stats));

        QTest::mouseClick(tabs->optionButton(2), Qt::LeftButton);
        QCOMPARE(m_store->tab(), MainTab::settings);
        QCOMPARE(w->currentPage()->objectName(),
                 QStringLiteral("page_") + MainTabInfo::rawValue(MainTab::settings));

        m_store->setTab(MainTab::stats);
        QCOMPARE(tabs->selection().toInt(), int(MainTab::stats));
        QCOMPARE(w->currentPage()->objectName(),
                 QStringLiteral("page_") + MainTabInfo::rawValue(MainTab::stats));

        QTest::mouseClick(w->header()->logoButton(), Qt::LeftButton);
        QCOMPARE(m_store->tab(), MainTab::board);

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
        QVERIFY(m_store->searchVisible());
        QVERIFY(bar->isVisible());
        QVERIFY(bar->height() > 0);
        QTRY_VERIFY(bar->field()->hasFocus());

        QTest::keyClicks(bar->field(), QStringLiteral("logo"));
        QCOMPARE(m_store->searchQuery(), QStringLiteral("logo"));
        const int filtered = m_store->visibleProjects().size();
        QVERIFY(filtered < m_store->yearProjects().size());

        QTest::mouseClick(w->header()->searchButton(), Qt::LeftButton);
        QVERIFY(!m_store->searchVisible());
        QVERIFY(!bar->isVisible());
        QCOMPARE(m_store->searchQuery(), QString());
        QCOMPARE(bar->field()->text(), QString());
        QCOMPARE(m_store->visibleProjects().size(), m_store->yearProjects().size());
    }

    void escapeHidesBarAndClearsQuery()
    {
        auto w = openWindow();
        m_store->setSearchVisible(true);
        QLineEdit* field = w->searchBar()->field();
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClicks(field, QStringLiteral("brand"));
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!m_store->searchVisible());
        QCOMPARE(m_store->searchQuery(), QString());
        QVERIFY(!field->hasFocus());
        QVERIFY(!w->searchBar()->isVisible());

        // A query set elsewhere shows in the field.
        m_store->setSearchVisible(true);
        m_store->setSearchQuery(QStringLiteral("acme"));
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
            QCOMPARE(m_store->tab(), MainTab::board);
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
        // The body of the tip leads to the settings and closes it for good.
        QTest::mouseClick(tip, Qt::LeftButton, {}, tip->cardRect().topLeft().toPoint() + QPoint(14, 8));
        QCOMPARE(m_store->tab(), MainTab::settings);
        QVERIFY(!tip->isVisible());
        QCOMPARE(Preferences::boolean(Preferences::kDismissedSampleDataTip), std::optional<bool>(true));
    }

    void toastWithAndWithoutUndo()
    {
        auto w = openWindow();
        ToastView* toast = w->toast();
        QVERIFY(!toast->isVisible());

        m_store->show(QStringLiteral("Saved"));
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
        QVERIFY(spoken->text(QAccessible::Description).endsWith(QStringLiteral("Undo available.")));

        QTest::mouseClick(toast->undoButton(), Qt::LeftButton);
        const auto& projects = m_store->data().projects;
        QVERIFY(std::any_of(projects.begin(), projects.end(),
                            [&](const Project& p) { return p.id == victim.id; }));

        m_store->expireToast();
        QVERIFY(!toast->isVisible());
        QVERIFY(!toast->isPresent());

        // A name that looks like markup is shown as typed, tags and all.
        const QString markup = QStringLiteral("<b>Logo</b>");
        m_store->show(markup);
        auto* label = toast->findChild<QLabel*>(QStringLiteral("toastMessage"));
        QVERIFY(label);
        QVERIFY(label->sizeHint().width() >= QFontMetrics(label->font()).horizontalAdvance(markup));
    }

    void tabChangeScrollsToTop()
    {
        auto w = openWindow(&tallPage);
        QScrollBar* bar = w->pageArea()->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 1000);
        bar->setValue(1500);
        QCOMPARE(bar->value(), 1500);
        m_store->setTab(MainTab::stats);
        QCOMPARE(bar->value(), 0);
        QTRY_VERIFY(bar->maximum() > 1000);
        bar->setValue(800);
        m_store->setTab(MainTab::board);
        QCOMPARE(bar->value(), 0);
        // Each page is built once and kept.
        QWidget* board = w->currentPage();
        m_store->setTab(MainTab::stats);
        m_store->setTab(MainTab::board);
        QCOMPARE(w->currentPage(), board);
        QCOMPARE(w->pageArea()->widget()->layout()->contentsMargins(), QMargins(32, 24, 32, 40));
    }

    void editorSheetFollowsStore()
    {
        auto w = openWindow();
        QVERIFY(!w->sheet()->dialog());
        QTest::mouseClick(w->header()->newProjectButton(), Qt::LeftButton);
        QVERIFY(m_store->editor().has_value());
        QDialog* sheet = w->sheet()->dialog();
        QVERIFY(sheet);
        QVERIFY(sheet->isVisible());
        // Modal to the window's content: a click behind the sheet changes nothing.
        QTest::mouseClick(w->header()->tabs()->optionButton(1), Qt::LeftButton);
        QCOMPARE(m_store->tab(), MainTab::board);
        QCOMPARE(sheet->parentWidget(), w.get());
        QCOMPARE(sheet->windowTitle(), QStringLiteral("New Project"));

        // The user dismisses it: the editor target goes.
        sheet->reject();
        QVERIFY(!m_store->editor().has_value());
        QVERIFY(!w->sheet()->dialog());
        // Without it, the same click reaches the content.
        QTest::mouseClick(w->header()->tabs()->optionButton(1), Qt::LeftButton);
        QCOMPARE(m_store->tab(), MainTab::stats);
        m_store->setTab(MainTab::board);

        // Another target rebuilds it; clearing the target closes it.
        const QUuid id = m_store->data().projects.first().id;
        m_store->setEditor(EditorTarget::edit(id));
        QPointer<QDialog> editing = w->sheet()->dialog();
        QVERIFY(editing);
        QCOMPARE(editing->windowTitle(), QStringLiteral("Edit Project"));
        m_store->setEditor(EditorTarget::newProject());
        QVERIFY(w->sheet()->dialog() != editing.data());
        QTRY_VERIFY(!editing);
        QVERIFY(m_store->editor()->isNew());

        int built = 0;
        w->sheet()->setEditorFactory([&built](Store*, const EditorTarget&, QDialog* d) {
            ++built;
            return new QWidget(d);
        });
        QCOMPARE(built, 1);
        QPointer<QDialog> last = w->sheet()->dialog();
        m_store->setEditor(std::nullopt);
        QTRY_VERIFY(!last);
    }
};

TB_WIDGET_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
