#include "TestMain.h"

#include "SettingsTestUtil.h"
#include "model/DataFile.h"
#include "model/Preferences.h"
#include "settings/BackupsCard.h"
#include "settings/DataFolderCard.h"
#include "settings/SettingsView.h"
#include "settings/TextLinkButton.h"
#include "ui/OutlineButton.h"

#include <QDesktopServices>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

namespace {

// Stands in for the desktop's file manager.
class UrlCatcher final : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

void writeDocument(const QString& folder, const QString& projectName)
{
    QVERIFY(QDir().mkpath(folder));
    AppData d = AppData::sample();
    d.projects.resize(1);
    d.projects[0].name = projectName;
    QFile f(folder + QStringLiteral("/tallybrook.json"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(*DataFile::encode(d));
}

QPushButton* button(QMessageBox* box, const char* name)
{
    return box ? box->findChild<QPushButton*>(QLatin1String(name)) : nullptr;
}

} // namespace

class TestDataFolderCard final : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_f.reset(); }

    // The folder in use, shortened in the middle when narrow; Change… (by the keyboard too)
    // asks the folder dialog from the folder in use and moves the data to the answer; a cancel
    // does nothing; Open Folder opens the folder in use; the backups listed follow the folder.
    void showChangeAndOpen()
    {
        Store& store = *m_f.store;
        SettingsView view(store);
        view.resize(1000, 900);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        DataFolderCard* card = view.dataFolderCard();
        QCOMPARE(card->pathLabel()->toolTip(), store.dataFolder());
        QCOMPARE(card->pathLabel()->text(), store.dataFolder());

        QStringList asked;
        QString answer;
        card->setFolderPicker([&](QWidget*, const QString& title, const QString& start) {
            asked << title << start;
            return answer;
        });
        QVERIFY(card->changeButton()->focusPolicy() & Qt::TabFocus);
        card->changeButton()->setFocus();
        QTest::keyClick(card->changeButton(), Qt::Key_Space);
        QCOMPARE(asked, (QStringList{QStringLiteral("Choose a Data Folder"), store.dataFolder()}));
        QCOMPARE(store.dataFolder(), m_f.dir->path());

        const QString synced =
            m_f.dir->path() + QStringLiteral("/Sync/a folder with a rather long name/Tallybrook");
        answer = synced;
        QTest::keyClick(card->changeButton(), Qt::Key_Space);
        QCOMPARE(store.dataFolder(), synced);
        QCOMPARE(card->pathLabel()->toolTip(), synced);
        QCOMPARE(Preferences::text(Preferences::kDataFolder).value_or(QString()), synced);
        QCOMPARE(m_f.toast(), QStringLiteral("Data folder changed to ") + synced);
        QVERIFY(!card->question());

        // Narrow: the start and the folder's own name stay, the middle gives way.
        card->pathLabel()->resize(160, card->pathLabel()->height());
        const QString shown = card->pathLabel()->text();
        QVERIFY2(shown.contains(QChar(0x2026)) && shown.endsWith(QStringLiteral("Tallybrook")) &&
                     shown.startsWith(QLatin1Char('/')),
                 qPrintable(shown));
        QCOMPARE(card->pathLabel()->toolTip(), synced);

        // A backup in the new folder shows in the Backups card at once.
        store.update([](AppData& d) { d.taxRate = 12; });
        store.flushPendingSave();
        view.backupsCard()->refresh();
        QCOMPARE(view.backupsCard()->list()->count(), 1);
        QVERIFY(
            view.backupsCard()->list()->item(0)->toolTip().contains(synced + QStringLiteral("/backups/")));

        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        card->openButton()->setFocus();
        QTest::keyClick(card->openButton(), Qt::Key_Space);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.opened, QList<QUrl>{QUrl::fromLocalFile(synced)});
    }

    // A folder that holds a data file asks first: Escape changes nothing, "Use That File" takes
    // that file, "Replace It" writes the data in use over it. In Turkish, the same question.
    void folderWithAFileAsks()
    {
        Store& store = *m_f.store;
        DataFolderCard card(store);
        card.resize(480, 200);
        card.show();
        QVERIFY(QTest::qWaitForWindowExposed(&card));
        const QString first = m_f.dir->path() + QStringLiteral("/first");
        const QString second = m_f.dir->path() + QStringLiteral("/second");
        writeDocument(first, QStringLiteral("First's project"));
        writeDocument(second, QStringLiteral("Second's project"));
        QString answer = first;
        card.setFolderPicker([&](QWidget*, const QString&, const QString&) { return answer; });
        const AppData ours = store.data();
        const QString home = store.dataFolder();

        card.chooseFolder();
        QVERIFY(card.question());
        QCOMPARE(card.question()->text(), QStringLiteral("This folder already holds a Tallybrook file."));
        QCOMPARE(button(card.question(), "useExistingFile")->text(), QStringLiteral("Use That File"));
        QCOMPARE(button(card.question(), "replaceExistingFile")->text(), QStringLiteral("Replace It"));
        QCOMPARE(button(card.question(), "cancelDataFolder")->text(), QStringLiteral("Cancel"));
        QTest::keyClick(card.question(), Qt::Key_Escape);
        QTRY_VERIFY(!card.question());
        QCOMPARE(store.dataFolder(), home);
        QCOMPARE(store.data(), ours);

        card.chooseFolder();
        QVERIFY(card.question());
        button(card.question(), "useExistingFile")->click();
        QTRY_VERIFY(!card.question());
        QCOMPARE(store.dataFolder(), first);
        QCOMPARE(store.data().projects.value(0).name, QStringLiteral("First's project"));
        QCOMPARE(card.pathLabel()->toolTip(), first);

        store.setLanguage(AppLanguage::tr);
        QCOMPARE(card.findChild<QLabel*>(QStringLiteral("dataFolderTitle"))->text(),
                 QStringLiteral("Veri Klasörü"));
        QCOMPARE(card.changeButton()->text(), QStringLiteral("Değiştir…"));
        QCOMPARE(card.openButton()->text(), QStringLiteral("Klasörü Aç"));
        answer = second;
        card.chooseFolder();
        QVERIFY(card.question());
        QCOMPARE(card.question()->text(), QStringLiteral("Bu klasörde zaten bir Tallybrook dosyası var."));
        QCOMPARE(button(card.question(), "useExistingFile")->text(), QStringLiteral("O Dosyayı Kullan"));
        QCOMPARE(button(card.question(), "replaceExistingFile")->text(), QStringLiteral("Değiştir"));
        QCOMPARE(button(card.question(), "cancelDataFolder")->text(), QStringLiteral("Vazgeç"));
        button(card.question(), "replaceExistingFile")->click();
        QTRY_VERIFY(!card.question());
        QCOMPARE(store.dataFolder(), second);
        QCOMPARE(store.data().projects.value(0).name, QStringLiteral("First's project"));
        QVERIFY(QDir(second + QStringLiteral("/backups")).entryList(QDir::Files).size() == 1);
        QCOMPARE(m_f.toast(), QStringLiteral("Veri klasörü %1 olarak değiştirildi").arg(second));

        // An answer that cannot be used leaves everything and says why, in the language in use.
        answer = second + QStringLiteral("/tallybrook.json/sub");
        card.chooseFolder();
        QVERIFY(!card.question());
        QCOMPARE(store.dataFolder(), second);
        QVERIFY2(m_f.toast().startsWith(QStringLiteral("Bu klasör kullanılamadı: ")),
                 qPrintable(m_f.toast()));
    }

private:
    SettingsFixture m_f;
};

TB_WIDGET_TEST_MAIN(TestDataFolderCard)
#include "tst_data_folder_card.moc"
