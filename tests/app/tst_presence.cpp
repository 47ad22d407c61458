#include "TestMain.h"

#include "app/MenuBarExtra.h"
#include "app/MenuBarPanel.h"
#include "app/Presence.h"
#include "app/TallybrookApp.h"
#include "board/MainWindow.h"
#include "model/Preferences.h"
#include "ui/Spring.h"

#include <QAbstractButton>
#include <QSettings>
#include <QSystemTrayIcon>
#include <memory>

class TestPresence : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TallybrookApp> m_app;

    void start(bool dock, bool menuBar)
    {
        Preferences::setBoolean(Preferences::kShowInDock, dock);
        Preferences::setBoolean(Preferences::kShowInMenuBar, menuBar);
        m_app = std::make_unique<TallybrookApp>();
        m_app->start();
    }

private slots:
    void initTestCase()
    {
        Animations::setEnabled(false);
        Preferences::setBoolean(Preferences::kDismissedMoveToApps, true);
    }
    void init() { MenuBarExtra::setTrayAvailableForTesting(true); }
    void cleanup() { m_app.reset(); }

    void storedValues()
    {
        QSettings settings(QStringLiteral("Tallybrook"), QStringLiteral("Tallybrook"));
        settings.remove(QLatin1String(Preferences::kShowInDock));
        QVERIFY(Presence::showsInDock());
        settings.setValue(QLatin1String(Preferences::kShowInDock), QStringLiteral("no"));
        QVERIFY(Presence::showsInDock());
        settings.setValue(QLatin1String(Preferences::kShowInDock), QStringLiteral("false"));
        QVERIFY(!Presence::showsInDock());
        QVERIFY(!Presence::mainWindow());
    }

    void trayIconFollowsPreference()
    {
        start(true, true);
        QVERIFY(m_app->menuBarExtra()->isPresent());
        QCOMPARE(m_app->menuBarExtra()->trayIcon()->toolTip(), QStringLiteral("Tallybrook"));
        Preferences::setBoolean(Preferences::kShowInMenuBar, false);
        QVERIFY(!m_app->menuBarExtra()->isPresent());
        QVERIFY(Presence::showsInDock());
        Preferences::setBoolean(Preferences::kShowInMenuBar, true);
        QVERIFY(m_app->menuBarExtra()->isPresent());
    }

    void neverNeither()
    {
        // Without a task-bar entry, taking the tray icon away brings the entry back.
        start(false, true);
        QVERIFY(!Presence::showsInDock());
        Preferences::setBoolean(Preferences::kShowInMenuBar, false);
        QVERIFY(Presence::showsInDock());
        QVERIFY(!m_app->menuBarExtra()->isPresent());
        m_app.reset();

        // A desktop without a tray counts as no tray icon.
        MenuBarExtra::setTrayAvailableForTesting(false);
        start(false, true);
        QVERIFY(Presence::showsInDock());
        QVERIFY(m_app->mainWindow()->isVisible());
    }

    void minimiseWithoutTaskbarEntryHides()
    {
        start(false, true);
        MainWindow* window = m_app->mainWindow();
        QCOMPARE(Presence::mainWindow(), window);
        window->showMinimized();
        QTRY_VERIFY(!window->isVisible());
        QVERIFY(!window->isMinimized());
        QCOMPARE(Presence::mainWindow(), window);

        // The tray panel's open button brings the same window back.
        m_app->menuBarExtra()->openPanel();
        auto* open =
            m_app->menuBarExtra()->panel()->findChild<QAbstractButton*>(QStringLiteral("panelOpenButton"));
        QTest::mouseClick(open, Qt::LeftButton);
        QCOMPARE(m_app->mainWindow(), window);
        QVERIFY(window->isVisible());
        QTRY_VERIFY(!m_app->menuBarExtra()->panel());

        // With the entry back, minimising is minimising again.
        Preferences::setBoolean(Preferences::kShowInDock, true);
        QCoreApplication::processEvents(); // the deferred step of applyDock
        window->showMinimized();
        QTest::qWait(10);
        QVERIFY(window->isMinimized());
        QVERIFY(window->isVisible());
    }

    void applyDockBringsTheWindowForward()
    {
        start(true, true);
        MainWindow* window = m_app->mainWindow();
        window->hide();
        Presence::applyDock(false);
        QTRY_VERIFY(window->isVisible());
    }
};

TB_WIDGET_TEST_MAIN(TestPresence)
#include "tst_presence.moc"
