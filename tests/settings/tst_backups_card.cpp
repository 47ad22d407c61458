#include "TestMain.h"

#include "SettingsTestUtil.h"
#include "model/Backups.h"
#include "model/DataFile.h"
#include "settings/BackupsCard.h"
#include "ui/InkButton.h"

#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

class TestBackupsCard final : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_f.reset(); }

    // The list, newest first with what each holds; choosing one previews the restore; Return on
    // the list asks, Return in the question restores, and the document in use is the newest
    // backup afterwards. Escape asks nothing more; a file that cannot be read says why.
    void chooseAndRestore()
    {
        Store& store = *m_f.store;
        const AppData sample = store.data();
        const QString folder = Backups::folderFor(store.fileURL());
        QVERIFY(QDir().mkpath(folder));
        AppData older = sample;
        older.projects.resize(30);
        const QDateTime t(QDate(2026, 12, 5), QTime(9, 15), Qt::LocalTime);
        QFile f(folder + QLatin1Char('/') + Backups::fileName(t));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(*DataFile::encode(older));
        f.close();
        QFile aside(store.dataFolder() + QStringLiteral("/tallybrook-unreadable-1764900000.json"));
        QVERIFY(aside.open(QIODevice::WriteOnly));
        aside.write("{ \"projects\": [");
        aside.close();

        BackupsCard card(store);
        card.resize(560, 700);
        card.show();
        QVERIFY(QTest::qWaitForWindowExposed(&card));
        card.describeAll();
        QCOMPARE(card.list()->count(), 2);
        QVERIFY2(card.list()->item(0)->text().startsWith(QStringLiteral("5 Dec 2026, 09:15  ·  30 projects")),
                 qPrintable(card.list()->item(0)->text()));
        QVERIFY(
            card.list()->item(1)->text().contains(QStringLiteral("Set aside unreadable · Cannot be read: ")));
        QVERIFY(card.list()->focusPolicy() & Qt::TabFocus);
        QVERIFY(!card.restoreButton()->isVisible());

        card.list()->setCurrentRow(1);
        // Read on another thread: "Reading…" until then.
        QVERIFY(card.isReadingPreview());
        QCOMPARE(card.preview()->text(), QStringLiteral("Reading…"));
        QTRY_VERIFY(card.preview()->text().startsWith(QStringLiteral("This file cannot be read: ")));
        QVERIFY(!card.restoreButton()->isVisible());

        card.list()->setCurrentRow(0);
        QTRY_VERIFY2(card.preview()->text().contains(QStringLiteral("7 projects would disappear")),
                     qPrintable(card.preview()->text()));
        QVERIFY(card.restoreButton()->isVisible() && card.restoreButton()->isEnabled());
        QVERIFY(card.restoreButton()->focusPolicy() & Qt::TabFocus);

        // Escape: nothing happens.
        card.list()->setFocus();
        QTest::keyClick(card.list(), Qt::Key_Return);
        QVERIFY(card.confirmation());
        QTest::keyClick(card.confirmation(), Qt::Key_Escape);
        QTRY_VERIFY(!card.confirmation());
        QCOMPARE(store.data().projects.size(), 37);

        // Return, then Return again: restored.
        QTest::keyClick(card.list(), Qt::Key_Return);
        QVERIFY(card.confirmation());
        QCOMPARE(card.confirmation()->text(), QStringLiteral("Restore the backup from 5 Dec 2026, 09:15?"));
        QTest::keyClick(card.confirmation(), Qt::Key_Return);
        QTRY_VERIFY(!card.confirmation());
        QCOMPARE(store.data().projects, older.projects);
        QCOMPARE(m_f.toast(), QStringLiteral("Restored backup from 5 Dec 2026, 09:15"));
        // The document that was in use is now the newest entry, and can be chosen to go back.
        card.describeAll();
        QCOMPARE(card.list()->count(), 3);
        QVERIFY(card.list()->item(0)->text().contains(QStringLiteral("37 projects")));
        card.list()->setCurrentRow(0);
        QTRY_VERIFY(card.preview()->text().contains(QStringLiteral("7 projects would come back")));

        // In Turkish.
        store.setLanguage(AppLanguage::tr);
        QVERIFY(card.preview()->text().contains(QStringLiteral("7 proje geri gelir")));
        QCOMPARE(card.restoreButton()->text(), QStringLiteral("Geri Yükle"));
    }

private:
    SettingsFixture m_f;
};

TB_WIDGET_TEST_MAIN(TestBackupsCard)
#include "tst_backups_card.moc"
