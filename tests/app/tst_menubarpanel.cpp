#include "TestMain.h"

#include "app/AppAccessible.h"
#include "app/MenuBarExtra.h"
#include "app/MenuBarPanel.h"
#include "app/TallybrookApp.h"
#include "i18n/CurrencyRate.h"
#include "model/Preferences.h"
#include "model/Store.h"
#include "ui/Animations.h"
#include "ui/Announcer.h"
#include "ui/YearMenu.h"
#include "window/MainWindow.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <memory>

namespace {
QString textOf(QWidget* panel, const QString& name)
{
    QWidget* w = panel->findChild<QWidget*>(name);
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    return w ? w->accessibleName() : QStringLiteral("<missing %1>").arg(name);
}
} // namespace

class TestMenuBarPanel : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_round = 0;

    std::unique_ptr<Store> freshStore()
    {
        return std::make_unique<Store>(m_dir.path() + QStringLiteral("/s") + QString::number(++m_round),
                                       false);
    }

private slots:
    void initTestCase()
    {
        // As the program does at start: nothing has asked for the application's interface yet.
        AppAccessible::install();
        Animations::setEnabled(false);
        Preferences::setBoolean(Preferences::kDismissedMoveToApps, true);
    }

    void figuresOfTheActiveYear()
    {
        auto store = freshStore();
        MenuBarPanel panel(*store, [] {});
        QCOMPARE(panel.width(), 290);
        // Opening, it tells a screen reader what it shows, and is part of the application's tree.
        panel.show();
        QAccessibleInterface* said = QAccessible::queryAccessibleInterface(panel.announcer());
        QCOMPARE(said->role(), QAccessible::AlertMessage);
        QVERIFY(said->text(QAccessible::Name).startsWith(QStringLiteral("Tallybrook: Earned in ")));
        QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
        QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(&panel);
        const int at = application->indexOfChild(shown);
        QVERIFY(at >= 0);
        QCOMPARE(application->child(at)->object(), &panel);
        QCOMPARE(shown->parent()->object(), qApp);
        panel.hide();
        QCOMPARE(application->indexOfChild(shown), -1);
        const QString year = QString::number(store->activeYear());
        QCOMPARE(textOf(&panel, QStringLiteral("panelEarnedLabel")), QStringLiteral("EARNED IN ") + year);
        double paid = 0;
        for (const Project& p : store->paidThisYear())
            paid += p.fee;
        QVERIFY(paid > 0);
        QCOMPARE(textOf(&panel, QStringLiteral("panelAmount")), store->money(paid));
        QCOMPARE(textOf(&panel, QStringLiteral("panelNetLine")),
                 QStringLiteral("Net after 20% tax: ") + store->money(store->netAfterTax()));
        QCOMPARE(textOf(&panel, QStringLiteral("panelTargetLabel")),
                 QStringLiteral("Target ") + store->money(store->data().targetGoal));
        QCOMPARE(textOf(&panel, QStringLiteral("panelTargetPercent")),
                 store->percent(store->targetProgress()));
        int ongoing = 0;
        for (const Project& p : store->yearProjects())
            ongoing += p.status == Status::ongoing;
        QCOMPARE(textOf(&panel, QStringLiteral("panelStatusCount_ongoing")), QString::number(ongoing));
        QCOMPARE(textOf(&panel, QStringLiteral("panelStatusTitle_ongoing")), QStringLiteral("In the Works"));

        // It follows the Store while open: a year without paid projects, then Turkish.
        store->update([](AppData& d) {
            for (Project& p : d.projects)
                if (p.status == Status::paid)
                    p.status = Status::pending;
        });
        QCOMPARE(textOf(&panel, QStringLiteral("panelAmount")), store->money(0));
        QCOMPARE(textOf(&panel, QStringLiteral("panelStatusCount_paid")), QStringLiteral("0"));
        store->setLanguage(AppLanguage::tr);
        QCOMPARE(textOf(&panel, QStringLiteral("panelEarnedLabel")),
                 year + QStringLiteral(" YILINDA KAZANILAN"));
        QCOMPARE(textOf(&panel, QStringLiteral("panelOpenButton")), QStringLiteral("Tallybrook'yı Aç"));
        QVERIFY(textOf(&panel, QStringLiteral("panelNetLine"))
                    .startsWith(QStringLiteral("%20 vergi sonrası net: ")));
        // The live rate reaches the open panel at once.
        const double rate = CurrencyRate::usdToTry();
        CurrencyRate::setUsdToTry(rate * 2);
        QCOMPARE(textOf(&panel, QStringLiteral("panelTargetLabel")),
                 QStringLiteral("Hedef: ") + store->money(store->data().targetGoal));
        CurrencyRate::setUsdToTry(rate);
        store->setLanguage(AppLanguage::en);
    }

    void rowsFollowTheColumnOrder()
    {
        auto store = freshStore();
        MenuBarPanel panel(*store, [] {});
        panel.show();
        auto rowY = [&panel](Status s) {
            return panel.findChild<QLabel*>(QStringLiteral("panelStatusTitle_") + StatusInfo::rawValue(s))
                ->mapTo(&panel, QPoint())
                .y();
        };
        // Rows top to bottom in the board's column order.
        auto inColumnOrder = [&] {
            const QVector<Status> order = store->data().columnOrder;
            return rowY(order[0]) < rowY(order[1]) && rowY(order[1]) < rowY(order[2]);
        };
        QTRY_VERIFY(inColumnOrder());
        QVERIFY(rowY(Status::paid) < rowY(Status::pending));
        store->moveColumn(Status::paid, 2);
        QCOMPARE(store->data().columnOrder.last(), Status::paid);
        QTRY_VERIFY(inColumnOrder());
        QVERIFY(rowY(Status::pending) < rowY(Status::paid));
    }

    // What is owed and the forecast, as the board's summary says them.
    void overdueAndForecastLines()
    {
        auto store = freshStore();
        const int year = Store::currentYear();
        const QDate today(year, 6, 1);
        store->setToday([today] { return today; });
        store->setLanguage(AppLanguage::en);
        const auto make = [year](const QString& name, Status status, double fee) {
            Project p;
            p.id = QUuid::createUuid();
            p.name = name;
            p.client = QStringLiteral("Acme");
            p.category = QStringLiteral("Web");
            p.fee = fee;
            p.status = status;
            p.date = QDateTime(QDate(year, 3, 1), QTime(12, 0));
            return p;
        };
        Project late = make(QStringLiteral("Late"), Status::pending, 4000);
        late.pendingSince = today.addDays(-40);
        late.dueDate = today.addDays(-10);
        store->update([&](AppData& d) {
            d = AppData::empty();
            d.projects = {make(QStringLiteral("P"), Status::paid, 10000), late,
                          make(QStringLiteral("O"), Status::ongoing, 6000)};
            d.targetGoal = 120000;
        });
        MenuBarPanel panel(*store, [] {});
        QCOMPARE(textOf(&panel, QStringLiteral("panelOverdueTitle")), QStringLiteral("Overdue"));
        QCOMPARE(textOf(&panel, QStringLiteral("panelOverdueCount")), QStringLiteral("1"));
        QCOMPARE(textOf(&panel, QStringLiteral("panelOverdueTotal")), store->money(4000));
        QCOMPARE(textOf(&panel, QStringLiteral("panelForecast")), store->forecastText());
        QVERIFY(store->forecastText().startsWith(QStringLiteral("Forecast: ") + store->money(16600)));

        store->setLanguage(AppLanguage::tr);
        QCOMPARE(textOf(&panel, QStringLiteral("panelOverdueTitle")), QStringLiteral("Gecikmede"));
        QVERIFY(textOf(&panel, QStringLiteral("panelForecast")).startsWith(QStringLiteral("Tahmin: ")));
        // Once paid, nothing is overdue; without a target, no forecast.
        store->move(late.id, Status::paid);
        QVERIFY(!panel.findChild<QLabel*>(QStringLiteral("panelOverdueTitle")));
        store->setTargetGoal(0);
        QVERIFY(!panel.findChild<QLabel*>(QStringLiteral("panelForecast"))->isVisibleTo(&panel));
        // The language is a preference: the next test starts in English.
        store->setLanguage(AppLanguage::en);
    }

    void yearMenuChangesTheActiveYear()
    {
        auto store = freshStore();
        store->update([](AppData& d) { d.projects.first().date = d.projects.first().date.addYears(-3); });
        MenuBarPanel panel(*store, [] {});
        auto* years = panel.findChild<YearMenu*>(QStringLiteral("panelYearMenu"));
        years->rebuildMenu();
        const QList<QAction*> items = years->popupMenu()->actions();
        QVERIFY(items.size() >= 2);
        QAction* older = items.last();
        older->trigger();
        QCOMPARE(QString::number(store->activeYear()), older->text());
        QCOMPARE(textOf(&panel, QStringLiteral("panelEarnedLabel")),
                 QStringLiteral("EARNED IN ") + older->text());
    }

    void buttonsOfTheRunningApp()
    {
        MenuBarExtra::setTrayAvailableForTesting(true);
        Preferences::setBoolean(Preferences::kShowInMenuBar, true);
        TallybrookApp app;
        app.start();
        app.mainWindow()->close();
        QTRY_VERIFY(!app.mainWindow());

        // New Project… with the window closed opens it with the editor for a new project.
        QPointer<MenuBarPanel> panel = app.menuBarExtra()->openPanel();
        QVERIFY(panel->isVisible());
        QTest::mouseClick(panel->findChild<QAbstractButton*>(QStringLiteral("panelNewProjectButton")),
                          Qt::LeftButton);
        QVERIFY(app.mainWindow());
        QVERIFY(app.mainWindow()->isVisible());
        QVERIFY(app.store()->ui().editor().has_value() && app.store()->ui().editor()->isNew());
        QTRY_VERIFY(!panel);
        app.store()->ui().setEditor(std::nullopt);

        // Quit asks the event loop to end.
        panel = app.menuBarExtra()->openPanel();
        bool quitting = false;
        connect(qApp, &QCoreApplication::aboutToQuit, this, [&quitting] { quitting = true; });
        QTimer::singleShot(0, panel, [&panel] {
            QTest::mouseClick(panel->findChild<QAbstractButton*>(QStringLiteral("panelQuitButton")),
                              Qt::LeftButton);
        });
        QTimer::singleShot(2000, qApp, [] { qApp->exit(7); }); // a safety net only
        QCOMPARE(qApp->exec(), 0);
        QVERIFY(quitting);
    }
};

TB_WIDGET_TEST_MAIN(TestMenuBarPanel)
#include "tst_menubarpanel.moc"
