#include "SettingsTestUtil.h"
#include "TestMain.h"

#include "model/PreferenceSignals.h"
#include "model/Preferences.h"
#include "settings/ColorWell.h"
#include "settings/ColumnColorsCard.h"
#include "settings/CurrencyCard.h"
#include "settings/DangerButton.h"
#include "settings/DeleteDataCard.h"
#include "settings/DirectoryCard.h"
#include "settings/ForecastCard.h"
#include "settings/LanguageCard.h"
#include "settings/PresenceCard.h"
#include "settings/SettingsView.h"
#include "settings/TextLinkButton.h"
#include "settings/ToggleSwitch.h"
#include "ui/Animations.h"
#include "ui/PillOption.h"
#include "ui/PillSegment.h"
#include "ui/Theme.h"
#include "ui/TrayHost.h"

#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QWheelEvent>

class TestPreferenceCards : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void languageToasts();
    void presenceSwitches();
    void presenceWithoutTray();
    void currencyMenu();
    void columnColors();
    void eraseDialogOutcomes();
    void pageLayout();
    void wheelScrollsThePageNotTheSetting();

private:
    QPushButton* confirmationButton(DeleteDataCard& card, const QString& objectName);

    SettingsFixture m_f;
};

void TestPreferenceCards::init()
{
    Animations::setEnabled(false);
    // A desktop with a system tray, unless a test says otherwise.
    TrayHost::setAvailableForTesting(true);
    m_f.reset();
}

void TestPreferenceCards::languageToasts()
{
    LanguageCard card(*m_f.store);
    card.show();
    PillSegment* picker = card.picker();
    QCOMPARE(picker->options().size(), 2);
    QCOMPARE(picker->options().at(0).label, QStringLiteral("English"));
    QCOMPARE(picker->options().at(1).label, QStringLiteral("Türkçe"));
    QVERIFY(picker->compact());
    QCOMPARE(picker->selectedIndex(), 0);
    auto* title = card.findChild<QLabel*>();
    QCOMPARE(title->text(), QStringLiteral("App Language"));

    QTest::mouseClick(picker->optionButton(1), Qt::LeftButton);
    QCOMPARE(m_f.store->language(), AppLanguage::tr);
    QCOMPARE(m_f.toast(), QStringLiteral("Uygulama dili Türkçe olarak değiştirildi"));
    QCOMPARE(Preferences::text(Preferences::kLanguage), std::optional<QString>(QStringLiteral("tr")));
    QCOMPARE(picker->selectedIndex(), 1);
    QCOMPARE(title->text(), QStringLiteral("Uygulama Dili"));

    QTest::mouseClick(picker->optionButton(0), Qt::LeftButton);
    QCOMPARE(m_f.store->language(), AppLanguage::en);
    QCOMPARE(m_f.toast(), QStringLiteral("Language set to English"));
    QCOMPARE(title->text(), QStringLiteral("App Language"));

    // The language already chosen confirms itself again, with a new toast.
    const QUuid before = m_f.toastId();
    QTest::mouseClick(picker->optionButton(0), Qt::LeftButton);
    QCOMPARE(m_f.toast(), QStringLiteral("Language set to English"));
    QVERIFY(m_f.toastId() != before);

    // A change from elsewhere moves the selection.
    m_f.store->setLanguage(AppLanguage::tr);
    QCOMPARE(picker->selectedIndex(), 1);
}

void TestPreferenceCards::presenceSwitches()
{
    PresenceCard card(*m_f.store);
    card.show();
    ToggleSwitch* dock = card.dockSwitch();
    ToggleSwitch* menuBar = card.menuBarSwitch();
    QVERIFY(dock->isChecked() && menuBar->isChecked());
    QVERIFY(dock->isEnabled() && menuBar->isEnabled());
    QCOMPARE(dock->accessibleName(), QStringLiteral("Show in Dock"));
    QCOMPARE(menuBar->accessibleName(), QStringLiteral("Show in Menu Bar"));

    // Writing the preference is what tells the application to apply it at once.
    QSignalSpy notified(PreferenceSignals::instance(), &PreferenceSignals::changed);
    QTest::mouseClick(dock, Qt::LeftButton);
    QCOMPARE(Preferences::boolean(Preferences::kShowInDock), std::optional<bool>(false));
    QCOMPARE(notified.size(), 1);
    QCOMPARE(notified.first().first().toString(), QLatin1String(Preferences::kShowInDock));
    QVERIFY(!dock->isChecked());
    // The tray icon is now the only place left: its switch is off limits, the dock's is not.
    QVERIFY(dock->isEnabled());
    QVERIFY(!menuBar->isEnabled());
    QTest::mouseClick(menuBar, Qt::LeftButton);
    QVERIFY(menuBar->isChecked());
    QCOMPARE(Preferences::boolean(Preferences::kShowInMenuBar, true), true);

    QTest::mouseClick(dock, Qt::LeftButton);
    QCOMPARE(Preferences::boolean(Preferences::kShowInDock), std::optional<bool>(true));
    QVERIFY(dock->isEnabled() && menuBar->isEnabled());

    QTest::mouseClick(menuBar, Qt::LeftButton);
    QCOMPARE(Preferences::boolean(Preferences::kShowInMenuBar), std::optional<bool>(false));
    QVERIFY(!dock->isEnabled());
    QVERIFY(menuBar->isEnabled());

    // The application turning the dock entry back on (or anyone writing the preferences) is followed.
    Preferences::setBoolean(Preferences::kShowInMenuBar, true);
    Preferences::setBoolean(Preferences::kShowInDock, false);
    QVERIFY(!dock->isChecked() && menuBar->isChecked());
    QVERIFY(!menuBar->isEnabled());
    // A stored value that is not a boolean counts as on.
    Preferences::setText(Preferences::kShowInDock, QStringLiteral("yes"));
    QVERIFY(dock->isChecked());
    QVERIFY(dock->isEnabled() && menuBar->isEnabled());

    m_f.store->setLanguage(AppLanguage::tr);
    QCOMPARE(dock->accessibleName(), QStringLiteral("Dock'ta Göster"));
    QCOMPARE(menuBar->accessibleName(), QStringLiteral("Menü Çubuğunda Göster"));
}

void TestPreferenceCards::presenceWithoutTray()
{
    TrayHost::setAvailableForTesting(false);
    PresenceCard card(*m_f.store);
    card.show();
    ToggleSwitch* dock = card.dockSwitch();
    ToggleSwitch* menuBar = card.menuBarSwitch();
    // The tray icon cannot be the only way back: the task-bar entry's switch is held on, and says why.
    QVERIFY(dock->isChecked() && menuBar->isChecked());
    QVERIFY(!dock->isEnabled());
    QCOMPARE(dock->toolTip(),
             QStringLiteral("This desktop has no system tray, so Tallybrook keeps its task-bar entry."));
    QVERIFY(menuBar->isEnabled());
    QSignalSpy notified(PreferenceSignals::instance(), &PreferenceSignals::changed);
    QTest::mouseClick(dock, Qt::LeftButton);
    QVERIFY(dock->isChecked());
    QCOMPARE(notified.size(), 0);
    QCOMPARE(Preferences::boolean(Preferences::kShowInDock, true), true);

    m_f.store->setLanguage(AppLanguage::tr);
    QCOMPARE(dock->toolTip(),
             QStringLiteral("Bu masaüstünde sistem tepsisi olmadığından Tallybrook görev çubuğunda kalır."));

    // A stored "off" from a desktop that had a tray stays visible as off, and can be turned on.
    Preferences::setBoolean(Preferences::kShowInDock, false);
    QVERIFY(!dock->isChecked());
    QVERIFY(dock->isEnabled());
    QVERIFY(dock->toolTip().isEmpty());
    QTest::mouseClick(dock, Qt::LeftButton);
    QCOMPARE(Preferences::boolean(Preferences::kShowInDock), std::optional<bool>(true));
    QVERIFY(!dock->isEnabled());

    // A tray host appearing frees the switch at once.
    TrayHost::setAvailableForTesting(true);
    QVERIFY(dock->isEnabled());
    QVERIFY(dock->toolTip().isEmpty());
}

void TestPreferenceCards::currencyMenu()
{
    m_f.store->update([](AppData& d) { d.currency = QStringLiteral("$"); });
    CurrencyCard card(*m_f.store);
    card.show();
    QComboBox* menu = card.menu();
    QCOMPARE(menu->width(), 130);
    QStringList labels;
    for (int i = 0; i < menu->count(); ++i)
        labels << menu->itemText(i);
    QCOMPARE(labels,
             (QStringList{QStringLiteral("$ (USD)"), QStringLiteral("CA$ (CAD)"), QStringLiteral("€ (EUR)"),
                          QStringLiteral("£ (GBP)"), QStringLiteral("₺ (TRY)"), QStringLiteral("¥ (JPY)")}));
    QCOMPARE(menu->currentIndex(), 0);

    m_f.store->ui().setToast(std::nullopt);
    m_f.store->flushPendingSave();
    emit menu->activated(2); // what a click on "€ (EUR)" in the pop-up sends
    QCOMPARE(m_f.store->data().currency, QStringLiteral("€"));
    QCOMPARE(m_f.toast(), QStringLiteral("Currency changed to €"));
    QVERIFY(m_f.store->hasPendingSave());
    QCOMPARE(menu->currentIndex(), 2);

    // Choosing what is already chosen changes nothing and says nothing.
    m_f.store->ui().setToast(std::nullopt);
    m_f.store->flushPendingSave();
    emit menu->activated(2);
    QVERIFY(m_f.toast().isEmpty());
    QVERIFY(!m_f.store->hasPendingSave());

    // A code outside the list selects nothing; choosing one replaces it.
    m_f.store->update([](AppData& d) { d.currency = QStringLiteral("CHF"); });
    QCOMPARE(menu->currentIndex(), -1);
    m_f.store->setLanguage(AppLanguage::tr);
    emit menu->activated(3);
    QCOMPARE(m_f.store->data().currency, QStringLiteral("£"));
    QCOMPARE(m_f.toast(), QStringLiteral("Para birimi £ olarak güncellendi"));
    QCOMPARE(menu->currentIndex(), 3);
    QCOMPARE(menu->accessibleName(), QStringLiteral("Para Birimi"));

    // Keyboard choice goes the same way.
    menu->setFocus();
    QTest::keyClick(menu, Qt::Key_Down);
    QCOMPARE(m_f.store->data().currency, QStringLiteral("₺"));
}

void TestPreferenceCards::wheelScrollsThePageNotTheSetting()
{
    m_f.store->update([](AppData& d) { d.currency = QStringLiteral("$"); });
    // The page scrolls in the window as it does there.
    QScrollArea area;
    area.setWidgetResizable(true);
    area.setWidget(new SettingsView(*m_f.store));
    area.resize(1100, 400);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    auto* menu = area.findChild<CurrencyCard*>()->menu();
    QScrollBar* bar = area.verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    m_f.store->flushPendingSave();
    // Fourteen notches over the menu, as a user scrolling the page would turn them (up, from
    // the page's middle, where the menu still is).
    bar->setValue(bar->maximum() / 2);
    const int middle = bar->value();

    for (int i = 0; i < 14; ++i) {
        const QPoint at = menu->rect().center();
        QWheelEvent wheel(at, menu->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        // As from the window system: only such events go on to the parents a widget leaves them to.
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        qApp->notify(menu, &wheel);
    }
    QCOMPARE(m_f.store->data().currency, QStringLiteral("$"));
    QCOMPARE(menu->currentIndex(), 0);
    QVERIFY(!m_f.store->hasPendingSave());
    QVERIFY(bar->value() < middle); // the page scrolled instead
}

void TestPreferenceCards::columnColors()
{
    ColumnColorsCard card(*m_f.store);
    card.show();
    QVERIFY(QTest::qWaitForWindowExposed(&card));
    const QColor defaultPaid = Theme::fromRgb(m_f.store->columnColor(Status::paid));
    QCOMPARE(card.well(Status::paid)->color(), defaultPaid);
    QCOMPARE(card.well(Status::ongoing)->accessibleName(), QStringLiteral("In the Works"));
    QStringList labels;
    for (QLabel* l : card.findChildren<QLabel*>())
        labels << l->text();
    QVERIFY(labels.contains(QStringLiteral("Pending Column Color")));

    // The well opens the colour dialog without opacity; the picked colour goes to the store.
    QTest::mouseClick(card.well(Status::paid), Qt::LeftButton);
    QColorDialog* dialog = card.well(Status::paid)->dialog();
    QVERIFY(dialog);
    QVERIFY(!dialog->testOption(QColorDialog::ShowAlphaChannel));
    dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
    dialog->accept();
    QCOMPARE(m_f.store->data().columnColors.value(QStringLiteral("paid")), QStringLiteral("#123456"));
    QCOMPARE(card.well(Status::paid)->color(), QColor(0x12, 0x34, 0x56));
    QTRY_VERIFY(!card.well(Status::paid)->dialog());

    // Cancel picks nothing.
    QTest::mouseClick(card.well(Status::pending), Qt::LeftButton);
    dialog = card.well(Status::pending)->dialog();
    QVERIFY(dialog);
    dialog->setCurrentColor(Qt::red);
    dialog->reject();
    QVERIFY(!m_f.store->data().columnColors.contains(QStringLiteral("pending")));

    QTest::mouseClick(card.resetButton(), Qt::LeftButton);
    QVERIFY(m_f.store->data().columnColors.isEmpty());
    QCOMPARE(m_f.toast(), QStringLiteral("Colors reset to defaults"));
    QCOMPARE(card.well(Status::paid)->color(), defaultPaid);

    m_f.store->setLanguage(AppLanguage::tr);
    labels.clear();
    for (QLabel* l : card.findChildren<QLabel*>())
        labels << l->text();
    QVERIFY(labels.contains(QStringLiteral("Ödendi Sütun Rengi")));
    QVERIFY(labels.contains(QStringLiteral("Sütun Renkleri")));
    QCOMPARE(card.resetButton()->text(), QStringLiteral("Sıfırla"));
    QCOMPARE(ColumnColorsCard::markerColor(Status::paid), QColor(0x10, 0xB9, 0x81));
}

QPushButton* TestPreferenceCards::confirmationButton(DeleteDataCard& card, const QString& objectName)
{
    QMessageBox* box = card.confirmation();
    return box ? box->findChild<QPushButton*>(objectName) : nullptr;
}

void TestPreferenceCards::eraseDialogOutcomes()
{
    QWidget window;
    auto* card = new DeleteDataCard(*m_f.store, &window);
    window.resize(600, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const AppData before = m_f.store->data();
    QVERIFY(!before.projects.isEmpty());
    QVERIFY(!card->confirming());

    // The red look: a pale red plate, deeper while pressed, 18 and 9 pixels round the trash and text.
    DangerButton* button = card->deleteButton();
    const QFontMetrics fm(Theme::font(12, QFont::DemiBold));
    QCOMPARE(button->sizeHint(), QSize(12 + 6 + fm.horizontalAdvance(QStringLiteral("Delete Data")) + 36,
                                       std::max(fm.height(), 12) + 18));
    QCOMPARE(button->grab().toImage().pixelColor(6, button->height() / 2), QColor(0xFE, 0xF2, 0xF2));
    button->setDown(true);
    QCOMPARE(button->grab().toImage().pixelColor(6, button->height() / 2), QColor(0xFE, 0xE2, 0xE2));
    button->setDown(false);

    // Cancel: nothing changes.
    QTest::mouseClick(card->deleteButton(), Qt::LeftButton);
    QVERIFY(card->confirming());
    QMessageBox* box = card->confirmation();
    QCOMPARE(box->text(), QStringLiteral("Delete all Tallybrook data?"));
    QVERIFY(box->informativeText().contains(QStringLiteral("on this computer will be removed")));
    QCOMPARE(confirmationButton(*card, QStringLiteral("confirmDeleteEverything"))->text(),
             QStringLiteral("Delete Everything"));
    QCOMPARE(confirmationButton(*card, QStringLiteral("confirmReplaceWithSample"))->text(),
             QStringLiteral("Replace with Sample Data"));
    QPushButton* cancel = confirmationButton(*card, QStringLiteral("confirmCancel"));
    QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
    QCOMPARE(box->defaultButton(), cancel);
    cancel->click();
    QTRY_VERIFY(!card->confirming());
    QCOMPARE(m_f.store->data().projects.size(), before.projects.size());
    QVERIFY(m_f.toast().isEmpty());

    // Escape is Cancel too.
    QTest::mouseClick(card->deleteButton(), Qt::LeftButton);
    QTest::keyClick(card->confirmation(), Qt::Key_Escape);
    QTRY_VERIFY(!card->confirming());
    QCOMPARE(m_f.store->data().clients, before.clients);

    // Delete Everything empties the document.
    QTest::mouseClick(card->deleteButton(), Qt::LeftButton);
    confirmationButton(*card, QStringLiteral("confirmDeleteEverything"))->click();
    QTRY_VERIFY(!card->confirming());
    QVERIFY(m_f.store->data().projects.isEmpty());
    QVERIFY(m_f.store->data().clients.isEmpty());
    QCOMPARE(m_f.toast(), QStringLiteral("All data deleted"));

    // Replace with Sample Data brings the studio back.
    m_f.store->setLanguage(AppLanguage::tr);
    QTest::mouseClick(card->deleteButton(), Qt::LeftButton);
    QVERIFY(card->confirmation()->informativeText().startsWith(QStringLiteral("Bu bilgisayardaki")));
    QCOMPARE(confirmationButton(*card, QStringLiteral("confirmReplaceWithSample"))->text(),
             QStringLiteral("Örnek Verileri Yükle"));
    confirmationButton(*card, QStringLiteral("confirmReplaceWithSample"))->click();
    QTRY_VERIFY(!card->confirming());
    QCOMPARE(m_f.store->data().projects.size(), before.projects.size());
    QCOMPARE(m_f.store->data().clients, before.clients);
    QCOMPARE(m_f.toast(), QStringLiteral("Sample data restored"));
}

void TestPreferenceCards::pageLayout()
{
    m_f.store->ui().setTab(MainTab::settings);
    SettingsView view(*m_f.store);
    // As tall as the page asks, as its scroll area makes it in the window.
    view.resize(1136, std::max(1000, view.sizeHint().height()));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    const QRect clients = view.clientsCard()->geometry();
    const QRect categories = view.categoriesCard()->geometry();
    const QRect language = view.languageCard()->geometry();
    QCOMPARE(clients.height(), DirectoryCard::kHeight);
    QCOMPARE(categories.height(), DirectoryCard::kHeight);
    QCOMPARE(categories.top() - clients.bottom() - 1, 24);
    // Two halves, 24 apart, tops aligned.
    const QRect left = clients;
    const QRect right = language;
    QVERIFY(qAbs(left.width() - right.width()) <= 1);
    QCOMPARE(right.left() - left.right() - 1, 24);
    QCOMPARE(clients.top(), language.top());
    QCOMPARE(left.left(), 0);
    QCOMPARE(right.right(), view.width() - 1);
    // The right column, top to bottom.
    QList<QWidget*> order{view.languageCard(), view.columnColorsCard(), view.presenceCard(),
                          view.currencyCard(), view.forecastCard(),     view.deleteDataCard()};
    for (int i = 1; i < order.size(); ++i)
        QCOMPARE(order[i]->geometry().top() - order[i - 1]->geometry().bottom() - 1, 24);

    // The confirmation goes away with the page.
    QTest::mouseClick(view.deleteDataCard()->deleteButton(), Qt::LeftButton);
    QVERIFY(view.deleteDataCard()->confirming());
    m_f.store->ui().setTab(MainTab::board);
    QTRY_VERIFY(!view.deleteDataCard()->confirming());
    QVERIFY(!m_f.store->data().projects.isEmpty());

    // To look at the page: TALLYBROOK_SNAPSHOT_DIR=/some/folder.
    const QString folder = qEnvironmentVariable("TALLYBROOK_SNAPSHOT_DIR");
    if (!folder.isEmpty()) {
        QWidget page;
        page.setAutoFillBackground(true);
        QPalette palette = page.palette();
        palette.setColor(QPalette::Window, Theme::cream());
        page.setPalette(palette);
        auto* settings = new SettingsView(*m_f.store, &page);
        // As tall as the page asks, so that no card is pressed against the next.
        const int height = std::max(960, settings->sizeHint().height());
        settings->setGeometry(32, 24, 1136, height);
        page.resize(1200, height + 50);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        for (AppLanguage l : AppLanguageInfo::allCases) {
            m_f.store->setLanguage(l);
            QCoreApplication::processEvents();
            QImage image(page.size() * 2, QImage::Format_ARGB32);
            image.setDevicePixelRatio(2);
            page.render(&image);
            QVERIFY(image.save(folder + QStringLiteral("/settings-") + AppLanguageInfo::rawValue(l) +
                               QStringLiteral(".png")));
        }
        // A row in edit mode, next to rows in display mode.
        settings->clientsCard()->startEditing(m_f.store->data().clients.at(1));
        QCoreApplication::processEvents();
        QImage image(settings->clientsCard()->size() * 2, QImage::Format_ARGB32);
        image.setDevicePixelRatio(2);
        image.fill(Theme::cream());
        settings->clientsCard()->render(&image);
        QVERIFY(image.save(folder + QStringLiteral("/settings-editing.png")));
    }
}

TB_WIDGET_TEST_MAIN(TestPreferenceCards)
#include "tst_preference_cards.moc"
