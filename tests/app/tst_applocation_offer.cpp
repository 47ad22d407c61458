#include "TestMain.h"

#include "app/MoveOffer.h"
#include "model/Preferences.h"
#include "model/Store.h"

#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <memory>

class TestAppLocationOffer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    std::unique_ptr<Store> m_store;
    std::unique_ptr<QWidget> m_window;
    std::shared_ptr<QStringList> m_launched;
    std::shared_ptr<int> m_quits;

    QString home() const { return m_root.path() + QStringLiteral("/home"); }
    MoveOffer::Options options(const QString& running)
    {
        MoveOffer::Options o;
        o.paths = {running, home(), home() + QStringLiteral("/.local/share")};
        o.launch = [launched = m_launched](const QString& program) {
            *launched << program;
            return true;
        };
        o.quit = [quits = m_quits] { ++*quits; };
        return o;
    }
    MoveOffer::Options downloaded() { return options(home() + QStringLiteral("/Downloads/tallybrook")); }
    QPushButton* button(const char* name) const
    {
        auto* box = m_window->findChild<QMessageBox*>(QStringLiteral("moveToApplicationsPrompt"));
        return box ? box->findChild<QPushButton*>(QLatin1String(name)) : nullptr;
    }
    static std::optional<bool> declined() { return Preferences::boolean(Preferences::kDismissedMoveToApps); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        qputenv("HOME", home().toUtf8());
        m_store = std::make_unique<Store>(m_root.path() + QStringLiteral("/data"), true);
    }

    void init()
    {
        QSettings(QStringLiteral("Tallybrook"), QStringLiteral("Tallybrook"))
            .remove(Preferences::kDismissedMoveToApps);
        QDir(home()).removeRecursively();
        QFile program(home() + QStringLiteral("/Downloads/tallybrook"));
        QVERIFY(QDir().mkpath(home() + QStringLiteral("/Downloads")) && program.open(QIODevice::WriteOnly));
        program.write("#!/bin/sh\n");
        program.close();
        m_launched = std::make_shared<QStringList>();
        m_quits = std::make_shared<int>(0);
        m_store->setLanguage(AppLanguage::en);
        m_window = std::make_unique<QWidget>();
        m_window->show();
    }

    void cleanup() { m_window.reset(); }

    void promptFollowsTheOpeningAfterADelay()
    {
        QPointer<MoveOffer> offer = MoveOffer::offerIfNeeded(m_window.get(), *m_store, downloaded());
        QVERIFY(offer);
        QCOMPARE(offer->delay().interval(), 600);
        QVERIFY(offer->delay().isActive());
        QVERIFY(!offer->showMoveToApplicationsPrompt());
        // One offer per window at a time.
        QVERIFY(!MoveOffer::offerIfNeeded(m_window.get(), *m_store, downloaded()));

        offer->showPrompt();
        QVERIFY(offer->showMoveToApplicationsPrompt());
        QMessageBox* box = offer->prompt();
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->windowTitle(), QStringLiteral("Move to Applications Folder?"));
        QCOMPARE(box->informativeText(),
                 QStringLiteral("Tallybrook works best when placed in your Applications folder."));
        QCOMPARE(button("moveButton")->text(), QStringLiteral("Move to Applications"));
        QCOMPARE(button("doNotMoveButton")->text(), QStringLiteral("Do Not Move"));
        QCOMPARE(box->defaultButton(), button("moveButton"));
        m_window.reset();
        QTRY_VERIFY(offer.isNull());
    }

    void noPromptWhenInstalled()
    {
        for (const QString& running :
             {home() + QStringLiteral("/Applications/Tallybrook"),
              home() + QStringLiteral("/.local/bin/tallybrook"), QStringLiteral("/usr/bin/tallybrook"),
              QStringLiteral("/opt/tb/tallybrook")})
            QVERIFY2(!MoveOffer::offerIfNeeded(m_window.get(), *m_store, options(running)),
                     qPrintable(running));
    }

    void refusalIsRemembered_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("button") << false;
        QTest::newRow("escape") << true;
    }

    void refusalIsRemembered()
    {
        QFETCH(bool, byEscape);
        QPointer<MoveOffer> offer = MoveOffer::offerIfNeeded(m_window.get(), *m_store, downloaded());
        QVERIFY(offer);
        offer->showPrompt();
        QVERIFY(!declined().has_value());
        if (byEscape)
            QTest::keyClick(offer->prompt(), Qt::Key_Escape);
        else
            button("doNotMoveButton")->click();
        QCOMPARE(declined(), std::optional<bool>(true));
        QTRY_VERIFY(offer.isNull());
        QVERIFY(m_launched->isEmpty());

        // Not in a later window of this run, nor in a later run that reads the stored preference.
        auto later = std::make_unique<QWidget>();
        later->show();
        QVERIFY(!MoveOffer::offerIfNeeded(later.get(), *m_store, downloaded()));
        QCOMPARE(QSettings(QStringLiteral("Tallybrook"), QStringLiteral("Tallybrook"))
                     .value(QLatin1String(Preferences::kDismissedMoveToApps))
                     .toString(),
                 QStringLiteral("true"));
    }

    void acceptMovesAndQuits()
    {
        const MoveOffer::Options o = downloaded();
        MoveOffer* offer = MoveOffer::offerIfNeeded(m_window.get(), *m_store, o);
        QVERIFY(offer);
        offer->showPrompt();
        button("moveButton")->click();
        QTRY_COMPARE(*m_launched, QStringList{o.paths.target()});
        QTRY_COMPARE(*m_quits, 1);
        QVERIFY(QFileInfo(o.paths.target()).isFile());
        QVERIFY(QFileInfo(o.paths.desktopEntry()).isFile());
        // Accepting is no refusal: a later run may offer again if this one did not work out.
        QVERIFY(!declined().has_value());
    }

    void closedWindowDropsThePendingOffer()
    {
        QPointer<MoveOffer> offer = MoveOffer::offerIfNeeded(m_window.get(), *m_store, downloaded());
        QVERIFY(offer);
        m_window->hide();
        offer->showPrompt();
        QVERIFY(!m_window->findChild<QMessageBox*>());
        QTRY_VERIFY(offer.isNull());
        // Reopening the window offers again.
        m_window->show();
        QVERIFY(MoveOffer::offerIfNeeded(m_window.get(), *m_store, downloaded()));
    }

    void promptSpeaksTurkish()
    {
        m_store->setLanguage(AppLanguage::tr);
        MoveOffer* offer = MoveOffer::offerIfNeeded(m_window.get(), *m_store, downloaded());
        QVERIFY(offer);
        offer->showPrompt();
        QCOMPARE(offer->prompt()->windowTitle(), QStringLiteral("Uygulamalar Klasörüne Taşınsın mı?"));
        QCOMPARE(button("moveButton")->text(), QStringLiteral("Uygulamalar'a Taşı"));
        QCOMPARE(button("doNotMoveButton")->text(), QStringLiteral("Şimdilik Burada Çalıştır"));
    }
};

TB_WIDGET_TEST_MAIN(TestAppLocationOffer)
#include "tst_applocation_offer.moc"
