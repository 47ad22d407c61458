#include "TestMain.h"

#include "StatsFixture.h"
#include "StatsTestData.h"
#include "model/Store.h"
#include "stats/CategoryCard.h"
#include "stats/CategoryDetailSheet.h"
#include "stats/CategoryListModel.h"
#include "stats/CategoryPopover.h"
#include "stats/CategoryRowsView.h"
#include "stats/ShowAllButton.h"
#include "stats/StatsView.h"
#include "ui/GlyphButton.h"
#include "ui/Theme.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QListView>
#include <QScreen>
#include <QScrollBar>

using StatsTestData::project;

class TestCategoryCard final : public QObject
{
    Q_OBJECT

private:
    StatsFixture m_fixture;
    Store* m_store = nullptr;

    // Paid projects with the given category fees, in 2025.
    void setCategories(const QVector<QPair<QString, double>>& fees,
                       const QString& currency = QStringLiteral("$"))
    {
        QVector<Project> projects;
        for (const auto& [name, fee] : fees)
            projects << project(name + QStringLiteral(" job"), fee, 2025, 5, Status::paid, "C", name);
        m_fixture.setProjects(projects, currency);
    }

    static QStringList names(const CategoryRowsView* rows)
    {
        QStringList out;
        for (int i = 0; i < CategoryRowsView::kRows; ++i)
            out << rows->nameText(i);
        return out;
    }

private slots:
    void init()
    {
        m_fixture.reset();
        m_store = m_fixture.store.get();
    }

    void placeholdersFillFivePositions()
    {
        setCategories({}, QStringLiteral("€"));
        StatsView view(*m_store);
        view.show();
        CategoryCard* card = view.categories();
        QCOMPARE(card->title(), QStringLiteral("Category Breakdown"));
        QCOMPARE(card->subtitle(), QStringLiteral("Discipline revenue contribution"));
        QCOMPARE(card->showAllButton()->text(), QStringLiteral("Show All"));
        QCOMPARE(card->rows()->placeholderCount(), 5);
        QCOMPARE(names(card->rows()), QStringList(5, QStringLiteral("N/A")));
        // Fixed texts, whatever the currency.
        QCOMPARE(card->rows()->figuresText(4), QStringLiteral("0% ($0)"));
        QVERIFY(!card->showAllButton()->isEnabled());
        QCOMPARE(card->showAllButton()->drawnOpacity(), 0.5);

        m_store->setLanguage(AppLanguage::tr);
        QCOMPARE(card->title(), QStringLiteral("Kategori Dağılımı"));
        QCOMPARE(card->subtitle(), QStringLiteral("Uzmanlık alanlarına göre gelir katkısı"));
        QCOMPARE(card->showAllButton()->text(), QStringLiteral("Tümünü Göster"));
        QCOMPARE(card->rows()->nameText(0), QStringLiteral("Boş"));
        QCOMPARE(card->rows()->figuresText(0), QStringLiteral("%0 (0 ₺)"));

        // The placeholder track is the pale capsule, not the brand fill.
        card->rows()->resize(272, card->rows()->height());
        const QImage image = card->rows()->grab().toImage();
        const QRectF row = card->rows()->rowRect(0);
        QCOMPARE(image.pixelColor(QPoint(int(row.center().x()), int(row.bottom() - 3))),
                 Theme::hex(QStringLiteral("#E9E5DA")));
    }

    void rowsAndButtonFollowTheNumberOfCategories()
    {
        StatsView view(*m_store);
        view.show();
        CategoryCard* card = view.categories();

        setCategories({{"Print", 300}, {"Web", 100}, {"Brand", 600}});
        QCOMPARE(names(card->rows()), (QStringList{"Brand", "Print", "Web", "N/A", "N/A"}));
        QCOMPARE(card->rows()->figuresText(0), QStringLiteral("60% ($600)"));
        QCOMPARE(card->rows()->figuresText(2), QStringLiteral("10% ($100)"));
        QVERIFY(!card->showAllButton()->isEnabled());
        // A screen reader finds one progress bar per category, with its share as value and range.
        QAccessibleInterface* rows = QAccessible::queryAccessibleInterface(card->rows());
        QCOMPARE(rows->childCount(), 3);
        QAccessibleInterface* brand = rows->child(0);
        QCOMPARE(brand->role(), QAccessible::ProgressBar);
        QCOMPARE(brand->text(QAccessible::Name), QStringLiteral("Brand"));
        QCOMPARE(brand->text(QAccessible::Value), QStringLiteral("60% ($600)"));
        QCOMPARE(brand->valueInterface()->currentValue().toDouble(), 60.0);
        QCOMPARE(brand->valueInterface()->maximumValue().toDouble(), 100.0);
        QCOMPARE(rows->indexOfChild(rows->child(2)), 2);

        setCategories({{"a", 10}, {"b", 20}, {"c", 30}, {"d", 40}, {"e", 50}});
        QCOMPARE(card->rows()->placeholderCount(), 0);
        QVERIFY(!card->showAllButton()->isEnabled());

        // Equal amounts by code point; an empty category is a row of its own.
        setCategories({{"beta", 50}, {"Zulu", 50}, {"", 50}, {"b", 10}, {"c", 10}, {"d", 5}});
        QCOMPARE(names(card->rows()), (QStringList{"", "Zulu", "beta", "b", "c"}));
        QVERIFY(card->showAllButton()->isEnabled());
        QCOMPARE(card->showAllButton()->drawnOpacity(), 1.0);

        // All fees 0: every share 0, nothing filled, nothing divided by zero.
        setCategories({{"x", 0}, {"y", 0}});
        QCOMPARE(card->rows()->figuresText(0), QStringLiteral("0% ($0)"));
        card->rows()->resize(272, card->rows()->height());
        const QImage image = card->rows()->grab().toImage();
        const QRectF row = card->rows()->rowRect(0);
        QCOMPARE(image.pixelColor(QPoint(int(row.left() + 4), int(row.bottom() - 3))), Theme::track());
    }

    void slowestPayersListEveryClientSlowestFirst()
    {
        // Client i takes 10 * i days on one project; "Mid" pays in 20 and 40 days (30 on average).
        QVector<Project> projects;
        auto paid = [&projects](const QString& client, const QDate& pending, int days) {
            Project p = project(client + QStringLiteral(" job"), 100, pending.year(), pending.month(),
                                Status::paid, client);
            p.pendingSince = pending;
            p.paidOn = pending.addDays(days);
            projects << p;
        };
        for (int i = 1; i <= 6; ++i)
            paid(QStringLiteral("Client %1").arg(i), QDate(2025, 3, 1), 10 * i);
        paid(QStringLiteral("Mid"), QDate(2025, 4, 1), 20);
        paid(QStringLiteral("Mid"), QDate(2025, 5, 1), 40);
        paid(QStringLiteral("Last year"), QDate(2024, 4, 1), 90);
        m_fixture.setProjects(projects);

        StatsView view(*m_store);
        view.resize(1200, 900);
        view.show();
        CategoryCard* card = view.payers();
        QCOMPARE(card->title(), QStringLiteral("Slowest Payers"));
        QCOMPARE(card->subtitle(), QStringLiteral("Average days from pending to paid, per client"));
        // Equal averages by name: "Client 3" before "Mid".
        QCOMPARE(names(card->rows()), (QStringList{"Client 6", "Client 5", "Client 4", "Client 3", "Mid"}));
        QCOMPARE(card->rows()->figuresText(0), QStringLiteral("60 days"));
        QCOMPARE(card->rows()->figuresText(4), QStringLiteral("30 days"));
        // The slowest fills its track; the others by their days against it.
        QCOMPARE(card->rows()->share(0), 1.0);
        QCOMPARE(card->rows()->share(4), 0.5);
        QAccessibleInterface* rows = QAccessible::queryAccessibleInterface(card->rows());
        QCOMPARE(rows->childCount(), 5);
        QCOMPARE(rows->child(3)->text(QAccessible::Name), QStringLiteral("Client 3"));
        QCOMPARE(rows->child(3)->text(QAccessible::Value), QStringLiteral("30 days"));
        QCOMPARE(rows->child(3)->valueInterface()->currentValue().toDouble(), 50.0);
        // The category card beside it is untouched by the clients.
        QCOMPARE(view.categories()->rows()->nameText(0), QStringLiteral("Branding"));

        QVERIFY(card->showAllButton()->isEnabled());
        QTest::mouseClick(card->showAllButton(), Qt::LeftButton);
        QVERIFY(card->showAllCategories());
        QVERIFY(!view.categories()->showAllCategories());
        CategoryDetailSheet* sheet = card->popover()->sheet();
        QCOMPARE(sheet->title(), QStringLiteral("All Clients"));
        QAbstractItemModel* model = sheet->list()->model();
        QCOMPARE(model->rowCount(), 7);
        QStringList all;
        for (int i = 0; i < model->rowCount(); ++i)
            all << model->index(i, 0).data().toString();
        QCOMPARE(all, (QStringList{"Client 6", "Client 5", "Client 4", "Client 3", "Mid", "Client 2",
                                   "Client 1"}));
        QCOMPARE(model->index(6, 0).data(CategoryListModel::ShareRole).toDouble(), 10.0 / 60);
        // The list paints the days, not a share of money.
        sheet->list()->resize(300, 300);
        QVERIFY(!sheet->list()->grab().isNull());

        // All time adds last year's client, now the slowest, to the open list.
        m_store->ui().setStatsAllTime(true);
        QCOMPARE(model->rowCount(), 8);
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("Last year"));
        QCOMPARE(card->rows()->nameText(0), QStringLiteral("Last year"));
        QCOMPARE(card->rows()->share(1), 60.0 / 90);
        QTest::keyClick(card->popover(), Qt::Key_Escape);
        QVERIFY(!card->showAllCategories());

        m_store->setLanguage(AppLanguage::tr);
        QCOMPARE(card->title(), QStringLiteral("En Geç Ödeyenler"));
        QCOMPARE(card->subtitle(), QStringLiteral("Müşteri başına ortalama ödeme süresi"));
        QCOMPARE(card->rows()->figuresText(0), QStringLiteral("90 gün"));
        QTest::mouseClick(card->showAllButton(), Qt::LeftButton);
        QCOMPARE(card->popover()->sheet()->title(), QStringLiteral("Tüm Müşteriler"));
        card->setShowAllCategories(false);

        // To look at the page and the list: TALLYBROOK_SNAPSHOT_DIR=/some/folder.
        const QString folder = qEnvironmentVariable("TALLYBROOK_SNAPSHOT_DIR");
        if (!folder.isEmpty()) {
            view.resize(976, view.sizeHint().height());
            for (AppLanguage l : AppLanguageInfo::allCases) {
                m_store->setLanguage(l);
                QCoreApplication::processEvents();
                const QString suffix = AppLanguageInfo::rawValue(l) + QStringLiteral(".png");
                QVERIFY(view.grab().save(folder + QStringLiteral("/stats-payers-") + suffix));
                QTest::mouseClick(card->showAllButton(), Qt::LeftButton);
                QVERIFY(card->popover()->sheet()->grab().save(folder + QStringLiteral("/payers-sheet-") +
                                                              suffix));
                card->setShowAllCategories(false);
            }
        }

        // No paid project with both days: five placeholders and nothing to show.
        m_store->setActiveYear(2023);
        m_store->ui().setStatsAllTime(false);
        QCOMPARE(card->rows()->placeholderCount(), 5);
        QCOMPARE(card->rows()->nameText(0), QStringLiteral("Boş"));
        QCOMPARE(card->rows()->figuresText(0), QStringLiteral("—"));
        QVERIFY(!card->showAllButton()->isEnabled());
    }

    void popoverOpensBelowItsAnchor()
    {
        QWidget anchor;
        anchor.setGeometry(200, 40, 80, 20);
        anchor.show();
        CategoryPopover popover(*m_store, Breakdown::Kind::revenue, {}, 0);
        popover.openBelow(&anchor);
        QVERIFY(popover.isVisible());
        QVERIFY(popover.windowFlags().testFlag(Qt::Popup));
        const QPoint bottomCentre = anchor.mapToGlobal(QPoint(40, 20));
        // The offscreen platform may add its 2-point window frame to the placement.
        QVERIFY(qAbs(popover.geometry().top() - (bottomCentre.y() + 4)) <= 2);
        QVERIFY(qAbs(popover.geometry().center().x() - bottomCentre.x()) <= 3);
        popover.close();

        // Near the bottom of the screen it opens above instead, still on the screen.
        const QRect screen = anchor.screen()->availableGeometry();
        anchor.move(200, screen.bottom() - 30);
        CategoryPopover above(*m_store, Breakdown::Kind::revenue, {}, 0);
        above.openBelow(&anchor);
        QVERIFY(qAbs(above.geometry().bottom() + 1 - (anchor.mapToGlobal(QPoint(0, 0)).y() - 4)) <= 2);
        QVERIFY(above.geometry().top() >= screen.top());
    }

    void popoverListsEveryCategory()
    {
        setCategories({{"f", 10}, {"e", 20}, {"d", 30}, {"c", 40}, {"b", 50}, {"a", 60}});
        StatsView view(*m_store);
        view.resize(1200, 800);
        view.show();
        CategoryCard* card = view.categories();
        QTest::mouseClick(card->showAllButton(), Qt::LeftButton);
        QVERIFY(card->showAllCategories());
        CategoryPopover* popover = card->popover();
        QVERIFY(popover);
        QVERIFY(popover->isVisible());
        QVERIFY(popover->windowFlags().testFlag(Qt::Popup));

        CategoryDetailSheet* sheet = popover->sheet();
        QCOMPARE(sheet->size(), QSize(340, 360));
        QCOMPARE(sheet->title(), QStringLiteral("All Categories"));
        QCOMPARE(sheet->categories().size(), 6);
        QCOMPARE(sheet->categories().last().name, QStringLiteral("f"));
        QAbstractItemModel* model = sheet->list()->model();
        QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model->rowCount(), 6);
        double shares = 0;
        for (int i = 0; i < 6; ++i)
            shares += model->index(i, 0).data(CategoryListModel::ShareRole).toDouble();
        QVERIFY(qAbs(shares - 1) < 1e-9);

        // A change while open rebuilds the list.
        m_store->save(project("g job", 5, 2025, 5, Status::paid, "C", "g"));
        QCOMPARE(model->rowCount(), 7);
        QCOMPARE(model->index(6, 0).data().toString(), QStringLiteral("g"));

        QTest::keyClick(popover, Qt::Key_Escape);
        QVERIFY(!card->showAllCategories());

        // The close button and a click outside close it too; the button opens it again.
        QTest::mouseClick(card->showAllButton(), Qt::LeftButton);
        QVERIFY(card->showAllCategories());
        QTest::mouseClick(card->popover()->sheet()->closeButton(), Qt::LeftButton);
        QVERIFY(!card->showAllCategories());
        QTest::mouseClick(card->showAllButton(), Qt::LeftButton);
        QTest::mouseClick(card->popover(), Qt::LeftButton, {}, QPoint(-20, -20));
        QVERIFY(!card->showAllCategories());

        m_store->setLanguage(AppLanguage::tr);
        QTest::mouseClick(card->showAllButton(), Qt::LeftButton);
        QCOMPARE(card->popover()->sheet()->title(), QStringLiteral("Tüm Kategoriler"));
        card->setShowAllCategories(false);

        // A long list scrolls inside the fixed sheet, with the cream scroll bar.
        QVector<QPair<QString, double>> many;
        for (int i = 0; i < 60; ++i)
            many.append({QStringLiteral("Category %1").arg(i, 2, 10, QLatin1Char('0')), 1000.0 - i});
        setCategories(many);
        QTest::mouseClick(card->showAllButton(), Qt::LeftButton);
        QListView* list = card->popover()->sheet()->list();
        QCOMPARE(list->model()->rowCount(), 60);
        QVERIFY(list->verticalScrollBar()->maximum() > 0);
        QCOMPARE(list->verticalScrollBar()->objectName(), QStringLiteral("creamScroller"));
        QCOMPARE(card->popover()->sheet()->size(), QSize(340, 360));
        card->setShowAllCategories(false);

        // Fewer than six categories: the disabled button opens nothing.
        setCategories({{"a", 1}});
        QTest::mouseClick(card->showAllButton(), Qt::LeftButton);
        card->setShowAllCategories(true);
        QVERIFY(!card->showAllCategories());
    }
};

TB_WIDGET_TEST_MAIN(TestCategoryCard)
#include "tst_category_card.moc"
