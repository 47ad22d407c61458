#include "TestMain.h"

#include "app/AppCommands.h"
#include "app/MenuBarExtra.h"
#include "app/TallybrookApp.h"
#include "board/MainWindow.h"
#include "board/MainWindowSheet.h"
#include "model/Preferences.h"
#include "model/Store.h"
#include "ui/Spring.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSignalSpy>
#include <memory>

class TestAppCommands : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TallybrookApp> m_app;
    AppCommands* commands() const { return m_app->commands(); }
    Store* store() const { return m_app->store(); }

private slots:
    void initTestCase()
    {
        Animations::setEnabled(false);
        Preferences::setBoolean(Preferences::kDismissedMoveToApps, true);
        MenuBarExtra::setTrayAvailableForTesting(true);
    }

    void init()
    {
        Preferences::setBoolean(Preferences::kShowInDock, true);
        Preferences::setBoolean(Preferences::kShowInMenuBar, true);
        m_app = std::make_unique<TallybrookApp>();
        m_app->start();
        QVERIFY(m_app->mainWindow());
        QVERIFY(m_app->mainWindow()->isVisible());
    }
    void cleanup() { m_app.reset(); }

    void menusAndShortcuts()
    {
        QMenuBar* bar = m_app->mainWindow()->menuBar();
        QStringList titles;
        for (QAction* menu : bar->actions())
            titles << menu->text();
        QCOMPARE(titles, (QStringList{"&File", "&Edit", "&View", "&Window"}));
        const QMenu* file = bar->actions().at(0)->menu();
        QVERIFY(file->actions().contains(commands()->newProject()));
        QVERIFY(file->actions().contains(commands()->quit()));
        QVERIFY(bar->actions().at(3)->menu()->actions().contains(commands()->minimize()));

        QCOMPARE(commands()->newProject()->text(), QStringLiteral("New Project…"));
        QCOMPARE(commands()->newProject()->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(commands()->showWindow()->shortcut(), QKeySequence(QStringLiteral("Ctrl+0")));
        QCOMPARE(commands()->settings()->shortcut(), QKeySequence(QStringLiteral("Ctrl+,")));
        QCOMPARE(commands()->findProject()->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
        QCOMPARE(commands()->tab(MainTab::board)->shortcut(), QKeySequence(QStringLiteral("Ctrl+1")));
        QCOMPARE(commands()->tab(MainTab::stats)->text(), QStringLiteral("Statistics"));
        QCOMPARE(commands()->tab(MainTab::settings)->shortcut(), QKeySequence(QStringLiteral("Ctrl+3")));
        QCOMPARE(commands()->minimize()->shortcut(), QKeySequence(QStringLiteral("Ctrl+M")));
        QCOMPARE(commands()->quit()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
        QVERIFY(commands()->zoom()->shortcut().isEmpty());

        // Texts stay English in Turkish.
        store()->setLanguage(AppLanguage::tr);
        QCOMPARE(commands()->findProject()->text(), QStringLiteral("Find Project"));
        store()->setLanguage(AppLanguage::en);

        // The shortcut reaches the command from the window.
        QVERIFY(QTest::qWaitForWindowActive(m_app->mainWindow()));
        QTest::keyClick(m_app->mainWindow(), Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(store()->tab(), MainTab::stats);
    }

    void editorDisablesTheEditingCommands()
    {
        commands()->newProject()->trigger();
        QVERIFY(store()->editor().has_value());
        QVERIFY(store()->editor()->isNew());
        QVERIFY(m_app->mainWindow()->sheet()->dialog());
        for (QAction* a : {commands()->newProject(), commands()->settings(), commands()->findProject(),
                           commands()->tab(MainTab::board), commands()->tab(MainTab::stats),
                           commands()->tab(MainTab::settings)})
            QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
        for (QAction* a :
             {commands()->showWindow(), commands()->minimize(), commands()->zoom(), commands()->quit()})
            QVERIFY2(a->isEnabled(), qPrintable(a->text()));

        m_app->mainWindow()->sheet()->dialog()->reject();
        QVERIFY(!store()->editor().has_value());
        for (QAction* a : {commands()->newProject(), commands()->settings(), commands()->findProject(),
                           commands()->tab(MainTab::stats)})
            QVERIFY2(a->isEnabled(), qPrintable(a->text()));
    }

    void findProjectShowsTheBarOnce()
    {
        commands()->settings()->trigger();
        QCOMPARE(store()->tab(), MainTab::settings);
        QSignalSpy shown(store(), &Store::searchVisibleChanged);
        commands()->findProject()->trigger();
        QCOMPARE(store()->tab(), MainTab::board);
        QVERIFY(store()->searchVisible());
        QCOMPARE(shown.size(), 1);
        commands()->findProject()->trigger();
        QVERIFY(store()->searchVisible());
        QCOMPARE(shown.size(), 1);

        commands()->tab(MainTab::settings)->trigger();
        QCOMPARE(store()->tab(), MainTab::settings);
    }

    void showWindowBringsItBack()
    {
        QPointer<MainWindow> first = m_app->mainWindow();
        first->showMinimized();
        QVERIFY(first->isMinimized());
        commands()->showWindow()->trigger();
        QCOMPARE(m_app->mainWindow(), first.data());
        QVERIFY(!first->isMinimized());
        QVERIFY(first->isVisible());

        // A closed window is gone for good; the command builds a new one, the process stays.
        first->close();
        QTRY_VERIFY(!first);
        QVERIFY(!m_app->mainWindow());
        commands()->showWindow()->trigger();
        QVERIFY(m_app->mainWindow());
        QVERIFY(m_app->mainWindow()->isVisible());
        QCOMPARE(m_app->mainWindow()->menuBar()->actions().size(), 4);

        // New Project… with no window opens one with the sheet.
        m_app->mainWindow()->close();
        QTRY_VERIFY(!m_app->mainWindow());
        commands()->newProject()->trigger();
        QVERIFY(m_app->mainWindow());
        QVERIFY(m_app->mainWindow()->sheet()->dialog());
    }

    void minimizeAndZoom()
    {
        MainWindow* window = m_app->mainWindow();
        commands()->zoom()->trigger();
        QVERIFY(window->isMaximized());
        commands()->zoom()->trigger();
        QVERIFY(!window->isMaximized());

        commands()->minimize()->trigger();
        QVERIFY(window->isMinimized());
        commands()->showWindow()->trigger();

        // Without a task-bar entry the window is hidden instead, and comes back the same.
        Preferences::setBoolean(Preferences::kShowInDock, false);
        QVERIFY(window->isVisible());
        commands()->minimize()->trigger();
        QVERIFY(!window->isVisible());
        QVERIFY(!window->isMinimized());
        commands()->showWindow()->trigger();
        QCOMPARE(m_app->mainWindow(), window);
        QVERIFY(window->isVisible());
    }
};

TB_WIDGET_TEST_MAIN(TestAppCommands)
#include "tst_appcommands.moc"
