#include "SettingsTestUtil.h"
#include "TestMain.h"

#include "settings/DirectoryCard.h"
#include "settings/DirectoryDelegate.h"
#include "settings/DirectoryList.h"
#include "settings/DirectoryModel.h"
#include "settings/DirectoryRowEditor.h"
#include "settings/DirectoryText.h"
#include "settings/SettingsView.h"
#include "ui/Animations.h"
#include "ui/CountBadge.h"
#include "ui/GlyphButton.h"
#include "ui/InkButton.h"
#include "ui/InvalidOutline.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScrollBar>
#include <QToolTip>

namespace {
const QString Q = QStringLiteral("\"");
}

class TestDirectoryCard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void badgeTexts();
    void cardFollowsStoreAndLanguage();
    void addPath();
    void renamePath();
    void renameRejectsDuplicatesAndNoOps();
    void editModeMovesAndCancels();
    void removePath();
    void rowsFollowTheViewportWidth();
    void tooltipsAndAccessibility();
    void editSurvivesOtherChanges();
    void leavingThePageDiscardsDrafts();
    void paymentTermsOnClientRows();

private:
    DirectoryCard* showClients();
    QPoint buttonCentre(const QString& name, DirectoryList::RowButton button);
    void click(const QString& name, DirectoryList::RowButton button);

    SettingsFixture m_f;
    std::unique_ptr<DirectoryCard> m_card;
};

void TestDirectoryCard::init()
{
    Animations::setEnabled(false);
    m_f.reset();
    m_f.store->update([](AppData& d) {
        d.clients = {QStringLiteral("Acme"), QStringLiteral("Beta"), QStringLiteral("Gamma")};
    });
    m_f.store->ui().setToast(std::nullopt);
}

void TestDirectoryCard::cleanup()
{
    m_card.reset();
}

DirectoryCard* TestDirectoryCard::showClients()
{
    m_card = std::make_unique<DirectoryCard>(*m_f.store, DirectoryCard::clients(*m_f.store));
    m_card->resize(420, DirectoryCard::kHeight);
    m_card->show();
    m_card->activateWindow();
    if (!QTest::qWaitForWindowActive(m_card.get()))
        qWarning("card not active");
    return m_card.get();
}

QPoint TestDirectoryCard::buttonCentre(const QString& name, DirectoryList::RowButton button)
{
    DirectoryList* list = m_card->list();
    const QModelIndex index = m_card->model()->index(m_card->model()->rowOf(name));
    list->scrollTo(index);
    const QRect item = list->visualRect(index);
    switch (button) {
    case DirectoryList::RowButton::edit:
        return DirectoryDelegate::editButtonRect(item).center();
    case DirectoryList::RowButton::terms:
        return DirectoryDelegate::termsRect(item).center();
    default:
        return DirectoryDelegate::removeButtonRect(item).center();
    }
}

void TestDirectoryCard::click(const QString& name, DirectoryList::RowButton button)
{
    const QPoint at = buttonCentre(name, button);
    QCOMPARE(m_card->list()->buttonAt(at), button);
    QTest::mouseClick(m_card->list()->viewport(), Qt::LeftButton, {}, at);
}

void TestDirectoryCard::badgeTexts()
{
    using DirectoryText::badge;
    const QString client = QStringLiteral("Client");
    const QString musteri = QStringLiteral("Müşteri");
    const QString category = QStringLiteral("Category");
    const QString kategori = QStringLiteral("Kategori");
    QCOMPARE(badge(AppLanguage::en, 0, client, musteri), QStringLiteral("0 Clients"));
    QCOMPARE(badge(AppLanguage::en, 1, client, musteri), QStringLiteral("1 Client"));
    QCOMPARE(badge(AppLanguage::en, 5, client, musteri), QStringLiteral("5 Clients"));
    QCOMPARE(badge(AppLanguage::en, 0, category, kategori), QStringLiteral("0 Categories"));
    QCOMPARE(badge(AppLanguage::en, 1, category, kategori), QStringLiteral("1 Category"));
    QCOMPARE(badge(AppLanguage::en, 2, category, kategori), QStringLiteral("2 Categories"));
    QCOMPARE(badge(AppLanguage::tr, 12, client, musteri), QStringLiteral("12 Müşteri"));
    QCOMPARE(badge(AppLanguage::tr, 1, category, kategori), QStringLiteral("1 Kategori"));
    QCOMPARE(badge(AppLanguage::tr, 0, client, musteri), QStringLiteral("0 Müşteri"));

    QCOMPARE(DirectoryText::addButton(AppLanguage::en, client, musteri), QStringLiteral("Add Client"));
    QCOMPARE(DirectoryText::addButton(AppLanguage::tr, client, musteri), QStringLiteral("Müşteri Ekle"));
}

void TestDirectoryCard::cardFollowsStoreAndLanguage()
{
    showClients();
    QCOMPARE(m_card->titleLabel()->text(), QStringLiteral("Clients Directory"));
    QCOMPARE(m_card->badge()->text(), QStringLiteral("3 Clients"));
    QCOMPARE(m_card->addField()->placeholderText(), QStringLiteral("New client name…"));
    QCOMPARE(m_card->addButton()->text(), QStringLiteral("Add Client"));
    QCOMPARE(m_card->height(), DirectoryCard::kHeight);

    m_f.store->update([](AppData& d) { d.clients = {QStringLiteral("Solo")}; });
    QCOMPARE(m_card->badge()->text(), QStringLiteral("1 Client"));
    QCOMPARE(m_card->model()->names(), QStringList{QStringLiteral("Solo")});

    m_f.store->setLanguage(AppLanguage::tr);
    QCOMPARE(m_card->titleLabel()->text(), QStringLiteral("Müşteri Rehberi"));
    QCOMPARE(m_card->badge()->text(), QStringLiteral("1 Müşteri"));
    QCOMPARE(m_card->addField()->placeholderText(), QStringLiteral("Yeni müşteri adı…"));
    QCOMPARE(m_card->addButton()->text(), QStringLiteral("Müşteri Ekle"));

    // An empty list keeps the card's height and shows an empty list.
    m_f.store->eraseAll();
    QCOMPARE(m_card->badge()->text(), QStringLiteral("0 Müşteri"));
    QCOMPARE(m_card->model()->rowCount(), 0);
    QCOMPARE(m_card->height(), DirectoryCard::kHeight);

    DirectoryCard categories(*m_f.store, DirectoryCard::categories(*m_f.store));
    QCOMPARE(categories.titleLabel()->text(), QStringLiteral("Uzmanlıklar ve Kategoriler"));
    m_f.store->setLanguage(AppLanguage::en);
    QCOMPARE(categories.titleLabel()->text(), QStringLiteral("Disciplines & Categories"));
    QCOMPARE(categories.addField()->placeholderText(), QStringLiteral("e.g. Spatial Design…"));
    QCOMPARE(categories.badge()->text(), QStringLiteral("0 Categories"));
    m_f.store->addCategory(QStringLiteral("Motion"));
    QCOMPARE(categories.badge()->text(), QStringLiteral("1 Category"));
}

void TestDirectoryCard::addPath()
{
    showClients();
    QLineEdit* field = m_card->addField();
    InkButton* button = m_card->addButton();
    QVERIFY(!button->isEnabled());

    // Blanks only: the button stays off, but Return still goes to the store, which ignores it.
    QTest::keyClicks(field, QStringLiteral("  "));
    field->insert(QStringLiteral("\t"));
    QVERIFY(!button->isEnabled());
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(field->text().isEmpty());
    QCOMPARE(m_f.store->data().clients.size(), 3);
    QVERIFY(m_f.toast().isEmpty());

    QTest::keyClicks(field, QStringLiteral("  Northwind "));
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(m_f.store->data().clients.last(), QStringLiteral("Northwind"));
    QCOMPARE(m_f.toast(),
             QStringLiteral("Client ") + Q + QStringLiteral("Northwind") + Q + QStringLiteral(" added"));
    QVERIFY(field->text().isEmpty());
    QVERIFY(!button->isEnabled());
    QCOMPARE(m_card->badge()->text(), QStringLiteral("4 Clients"));
    QCOMPARE(m_card->model()->names().last(), QStringLiteral("Northwind"));

    // A name already there, in other letters: ignored by the store, the field is emptied anyway.
    m_f.store->ui().setToast(std::nullopt);
    QTest::keyClicks(field, QStringLiteral("ACME"));
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(field->text().isEmpty());
    QCOMPARE(m_f.store->data().clients.size(), 4);
    QVERIFY(m_f.toast().isEmpty());

    // Return in Turkish adds with the Turkish message.
    m_f.store->setLanguage(AppLanguage::tr);
    field->insert(QStringLiteral("Işık"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(m_f.toast(),
             QStringLiteral("Müşteri ") + Q + QStringLiteral("Işık") + Q + QStringLiteral(" eklendi"));
}

void TestDirectoryCard::renamePath()
{
    showClients();
    click(QStringLiteral("Beta"), DirectoryList::RowButton::edit);
    QCOMPARE(m_card->editingItem(), std::optional<QString>(QStringLiteral("Beta")));
    DirectoryRowEditor* editor = m_card->rowEditor();
    QVERIFY(editor);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->field()->text(), QStringLiteral("Beta"));
    // The editor sits on the row being edited, and it is the only row widget.
    const QRect item = m_card->list()->visualRect(m_card->model()->index(1));
    QCOMPARE(editor->geometry(), DirectoryDelegate::editorRect(item));
    QCOMPARE(m_card->list()->viewport()->findChildren<DirectoryRowEditor*>().size(), 1);

    editor->field()->selectAll();
    QTest::keyClicks(editor->field(), QStringLiteral("  Beta Works"));
    editor->field()->insert(QStringLiteral("\t"));
    QCOMPARE(m_card->editingDraft(), QStringLiteral("  Beta Works\t"));
    QTest::keyClick(editor->field(), Qt::Key_Return);
    QVERIFY(!m_card->editingItem());
    QTRY_VERIFY(!m_card->rowEditor());
    QCOMPARE(m_f.store->data().clients,
             (QStringList{QStringLiteral("Acme"), QStringLiteral("Beta Works"), QStringLiteral("Gamma")}));
    QCOMPARE(m_f.toast(), QStringLiteral("Client updated"));
    QCOMPARE(m_card->model()->names().at(1), QStringLiteral("Beta Works"));

    // A change of letter case alone is a rename too, through the commit button.
    m_f.store->ui().setToast(std::nullopt);
    click(QStringLiteral("Acme"), DirectoryList::RowButton::edit);
    editor = m_card->rowEditor();
    QVERIFY(editor);
    editor->field()->selectAll();
    QTest::keyClicks(editor->field(), QStringLiteral("ACME"));
    QTest::mouseClick(editor->commitButton(), Qt::LeftButton);
    QCOMPARE(m_f.store->data().clients.first(), QStringLiteral("ACME"));
    QCOMPARE(m_f.toast(), QStringLiteral("Client updated"));
    QVERIFY(!m_card->editingItem());

    // After a rename, committed or cancelled, no row is current: Delete and Return touch nothing
    // the user did not choose.
    DirectoryList* list = m_card->list();
    for (const bool commit : {true, false}) {
        const QString name = commit ? QStringLiteral("Gamma") : QStringLiteral("Gamma Ltd");
        click(name, DirectoryList::RowButton::edit);
        editor = m_card->rowEditor();
        QVERIFY(editor);
        editor->field()->setFocus();
        editor->field()->selectAll();
        QTest::keyClicks(editor->field(), commit ? QStringLiteral("Gamma Ltd") : QStringLiteral("Nope"));
        QTest::keyClick(editor->field(), commit ? Qt::Key_Return : Qt::Key_Escape);
        QTRY_VERIFY(!m_card->rowEditor());
        QVERIFY(!list->currentIndex().isValid());
        const QStringList before = m_f.store->data().clients;
        QTest::keyClick(list, Qt::Key_Delete);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(m_f.store->data().clients, before);
        QVERIFY(!m_card->editingItem());
    }
    QCOMPARE(m_f.store->data().clients.last(), QStringLiteral("Gamma Ltd"));
}

void TestDirectoryCard::renameRejectsDuplicatesAndNoOps()
{
    showClients();
    // Another entry's name in other letters: the store refuses and says so.
    m_card->startEditing(QStringLiteral("Acme"));
    DirectoryRowEditor* editor = m_card->rowEditor();
    QVERIFY(editor);
    editor->field()->selectAll();
    QTest::keyClicks(editor->field(), QStringLiteral("gamma"));
    QTest::keyClick(editor->field(), Qt::Key_Return);
    QCOMPARE(m_f.toast(), Q + QStringLiteral("gamma") + Q + QStringLiteral(" already exists"));
    QCOMPARE(m_f.store->data().clients,
             (QStringList{QStringLiteral("Acme"), QStringLiteral("Beta"), QStringLiteral("Gamma")}));
    QVERIFY(!m_card->editingItem());

    // The same name, blanks only, or the same name with blanks around: no call, no message.
    for (const QString& typed : {QStringLiteral("Acme"), QStringLiteral("  \t"), QStringLiteral(" Acme ")}) {
        m_f.store->ui().setToast(std::nullopt);
        m_card->startEditing(QStringLiteral("Acme"));
        editor = m_card->rowEditor();
        QVERIFY(editor);
        editor->field()->selectAll();
        editor->field()->insert(typed);
        QTest::keyClick(editor->field(), Qt::Key_Return);
        QVERIFY2(m_f.toast().isEmpty(), qPrintable(typed));
        QVERIFY(!m_card->editingItem());
        QCOMPARE(m_f.store->data().clients.first(), QStringLiteral("Acme"));
    }
}

void TestDirectoryCard::editModeMovesAndCancels()
{
    showClients();
    click(QStringLiteral("Acme"), DirectoryList::RowButton::edit);
    DirectoryRowEditor* first = m_card->rowEditor();
    QVERIFY(first);
    QTest::keyClicks(first->field(), QStringLiteral(" unsaved"));

    // The pencil of a second row moves edit mode there and drops the first row's text.
    click(QStringLiteral("Gamma"), DirectoryList::RowButton::edit);
    QCOMPARE(m_card->editingItem(), std::optional<QString>(QStringLiteral("Gamma")));
    QCOMPARE(m_card->editingDraft(), QStringLiteral("Gamma"));
    QTRY_COMPARE(m_card->list()->viewport()->findChildren<DirectoryRowEditor*>().size(), 1);
    QCOMPARE(m_f.store->data().clients.first(), QStringLiteral("Acme"));
    QVERIFY(m_f.toast().isEmpty());

    // Cancel and Escape leave edit mode without calling anything.
    DirectoryRowEditor* editor = m_card->rowEditor();
    QTest::keyClicks(editor->field(), QStringLiteral("x"));
    QTest::mouseClick(editor->cancelButton(), Qt::LeftButton);
    QVERIFY(!m_card->editingItem());
    m_card->startEditing(QStringLiteral("Beta"));
    editor = m_card->rowEditor();
    QTest::keyClicks(editor->field(), QStringLiteral("y"));
    QTest::keyClick(editor->field(), Qt::Key_Escape);
    QVERIFY(!m_card->editingItem());
    QCOMPARE(m_f.store->data().clients,
             (QStringList{QStringLiteral("Acme"), QStringLiteral("Beta"), QStringLiteral("Gamma")}));
    QVERIFY(m_f.toast().isEmpty());

    // From the keyboard: F2 edits the current row.
    DirectoryList* list = m_card->list();
    list->setFocus(Qt::TabFocusReason);
    list->setCurrentIndex(m_card->model()->index(2));
    QTest::keyClick(list, Qt::Key_F2);
    QCOMPARE(m_card->editingItem(), std::optional<QString>(QStringLiteral("Gamma")));
    QVERIFY(m_card->rowEditor()->field()->hasFocus());
}

void TestDirectoryCard::removePath()
{
    showClients();
    click(QStringLiteral("Beta"), DirectoryList::RowButton::remove);
    QCOMPARE(m_f.store->data().clients, (QStringList{QStringLiteral("Acme"), QStringLiteral("Gamma")}));
    QCOMPARE(m_f.toast(), QStringLiteral("Client removed from the list"));
    QCOMPARE(m_card->model()->names(), m_f.store->data().clients);
    QCOMPARE(m_card->badge()->text(), QStringLiteral("2 Clients"));

    // A press on one symbol and a release elsewhere is no click.
    m_f.store->ui().setToast(std::nullopt);
    DirectoryList* list = m_card->list();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {},
                      buttonCentre(QStringLiteral("Acme"), DirectoryList::RowButton::remove));
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {},
                        buttonCentre(QStringLiteral("Gamma"), DirectoryList::RowButton::remove));
    QCOMPARE(m_f.store->data().clients.size(), 2);
    QVERIFY(m_f.toast().isEmpty());

    // Delete removes the current row; the card's projects keep their client text.
    m_f.store->setLanguage(AppLanguage::tr);
    list->setFocus(Qt::TabFocusReason);
    list->setCurrentIndex(m_card->model()->index(0));
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(m_f.store->data().clients, QStringList{QStringLiteral("Gamma")});
    QCOMPARE(m_f.toast(), QStringLiteral("Müşteri listeden kaldırıldı"));
}

void TestDirectoryCard::rowsFollowTheViewportWidth()
{
    showClients();
    DirectoryList* list = m_card->list();
    auto rowWidth = [this, list] { return list->visualRect(m_card->model()->index(0)).width(); };
    QVERIFY(!list->verticalScrollBar()->isVisible());
    QCOMPARE(rowWidth(), list->viewport()->width());

    // The scroll bar appears and takes its room: the rows (and their symbols) narrow with it.
    const int wide = list->viewport()->width();
    m_f.store->update([](AppData& d) {
        for (int i = 0; i < 30; ++i)
            d.clients << QStringLiteral("Extra %1").arg(i);
    });
    QTRY_VERIFY(list->verticalScrollBar()->isVisible());
    QTRY_VERIFY(list->viewport()->width() < wide);
    QCOMPARE(rowWidth(), list->viewport()->width());
    click(QStringLiteral("Acme"), DirectoryList::RowButton::edit);
    QCOMPARE(m_card->editingItem(), std::optional<QString>(QStringLiteral("Acme")));
    QVERIFY(list->viewport()->rect().contains(m_card->rowEditor()->geometry()));

    m_card->resize(520, DirectoryCard::kHeight);
    QTRY_COMPARE(rowWidth(), list->viewport()->width());
}

void TestDirectoryCard::tooltipsAndAccessibility()
{
    {
        // Each row offers its two buttons and the client's terms as actions, under their own labels.
        showClients();
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(m_card->list());
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->childCount(), 3);
        QAccessibleInterface* beta = list->child(1);
        QCOMPARE(beta->role(), QAccessible::ListItem);
        QCOMPARE(beta->text(QAccessible::Name), QStringLiteral("Beta"));
        QCOMPARE(list->indexOfChild(beta), 1);
        const QStringList actions = beta->actionInterface()->actionNames();
        QCOMPARE(actions,
                 (QStringList{m_card->model()->index(1).data(DirectoryModel::EditLabelRole).toString(),
                              m_card->model()->index(1).data(DirectoryModel::RemoveLabelRole).toString(),
                              QStringLiteral("Payment terms of Beta")}));
        beta->actionInterface()->doAction(actions.at(0));
        QCOMPARE(m_card->editingItem(), std::optional<QString>(QStringLiteral("Beta")));
        m_card->rowEditor()->field()->setFocus();
        QTest::keyClick(m_card->rowEditor()->field(), Qt::Key_Escape);
        QTRY_VERIFY(!m_card->rowEditor());
        list->child(2)->actionInterface()->doAction(list->child(2)->actionInterface()->actionNames().at(1));
        QCOMPARE(m_f.store->data().clients, (QStringList{"Acme", "Beta"}));
        m_card.reset();
        m_f.store->update([](AppData& d) { d.clients = {"Acme", "Beta", "Gamma"}; });
    }
    showClients();
    DirectoryList* list = m_card->list();
    auto tipAt = [list](const QPoint& pos) {
        QToolTip::hideText();
        if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000))
            return QStringLiteral("(an earlier tip stayed)");
        QHelpEvent help(QEvent::ToolTip, pos, list->viewport()->mapToGlobal(pos));
        QCoreApplication::sendEvent(list->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    const QPoint edit = buttonCentre(QStringLiteral("Acme"), DirectoryList::RowButton::edit);
    const QPoint remove = buttonCentre(QStringLiteral("Acme"), DirectoryList::RowButton::remove);
    QCOMPARE(tipAt(edit), QStringLiteral("Edit Acme"));
    QCOMPARE(tipAt(remove), QStringLiteral("Remove Acme from the list"));
    QCOMPARE(tipAt(list->visualRect(m_card->model()->index(0)).topLeft() + QPoint(20, 10)), QString());

    const QModelIndex acme = m_card->model()->index(0);
    QCOMPARE(acme.data(DirectoryModel::EditLabelRole).toString(), QStringLiteral("Edit Acme"));
    QCOMPARE(acme.data(Qt::AccessibleTextRole).toString(), QStringLiteral("Acme"));
    QVERIFY(acme.data(Qt::AccessibleDescriptionRole)
                .toString()
                .contains(QStringLiteral("Remove Acme from the list")));

    m_f.store->setLanguage(AppLanguage::tr);
    QCOMPARE(tipAt(edit), QStringLiteral("Acme adını düzenle"));
    QCOMPARE(tipAt(remove), QStringLiteral("Acme listesinden kaldır"));
    QCOMPARE(acme.data(DirectoryModel::RemoveLabelRole).toString(),
             QStringLiteral("Acme listesinden kaldır"));
    QCOMPARE(list->accessibleName(), QStringLiteral("Müşteri Rehberi"));
    QToolTip::hideText();

    m_card->startEditing(QStringLiteral("Acme"));
    QCOMPARE(m_card->rowEditor()->cancelButton()->accessibleName(), QStringLiteral("İptal"));
    m_f.store->setLanguage(AppLanguage::en);
    QCOMPARE(m_card->rowEditor()->cancelButton()->accessibleName(), QStringLiteral("Cancel"));
    QCOMPARE(m_card->rowEditor()->commitButton()->toolTip(), QStringLiteral("Save"));
}

void TestDirectoryCard::editSurvivesOtherChanges()
{
    showClients();
    m_card->startEditing(QStringLiteral("Gamma"));
    QTest::keyClicks(m_card->rowEditor()->field(), QStringLiteral(" Ray"));

    // Rows come and go above it: the edit stays on Gamma with its draft.
    m_f.store->removeClient(QStringLiteral("Acme"));
    m_f.store->addClient(QStringLiteral("Delta"));
    QCOMPARE(m_card->editingItem(), std::optional<QString>(QStringLiteral("Gamma")));
    QVERIFY(m_card->rowEditor());
    QCOMPARE(m_card->rowEditor()->field()->text(), QStringLiteral("Gamma Ray"));
    const QModelIndex gamma = m_card->model()->index(m_card->model()->rowOf(QStringLiteral("Gamma")));
    QTRY_COMPARE(m_card->rowEditor()->geometry(),
                 DirectoryDelegate::editorRect(m_card->list()->visualRect(gamma)));

    // The list is reordered under it: the editor and the draft move to Gamma's new row.
    m_f.store->update([](AppData& d) {
        d.clients = {QStringLiteral("Gamma"), QStringLiteral("Beta"), QStringLiteral("Delta")};
    });
    QCOMPARE(m_card->editingItem(), std::optional<QString>(QStringLiteral("Gamma")));
    QTRY_COMPARE(m_card->list()->viewport()->findChildren<DirectoryRowEditor*>().size(), 1);
    QCOMPARE(m_card->rowEditor()->field()->text(), QStringLiteral("Gamma Ray"));
    QTRY_COMPARE(m_card->rowEditor()->geometry(),
                 DirectoryDelegate::editorRect(m_card->list()->visualRect(m_card->model()->index(0))));
    QVERIFY(m_card->model()->index(0).data(DirectoryModel::EditingRole).toBool());
    QVERIFY(!m_card->model()->index(2).data(DirectoryModel::EditingRole).toBool());
    QTest::keyClick(m_card->rowEditor()->field(), Qt::Key_Return);
    QCOMPARE(m_f.store->data().clients.first(), QStringLiteral("Gamma Ray"));
    m_card->startEditing(QStringLiteral("Gamma Ray"));

    // The edited name leaves the list: the edit goes with it.
    m_f.store->removeClient(QStringLiteral("Gamma Ray"));
    QVERIFY(!m_card->editingItem());
    QTRY_COMPARE(m_card->list()->viewport()->findChildren<DirectoryRowEditor*>().size(), 0);
}

void TestDirectoryCard::leavingThePageDiscardsDrafts()
{
    m_f.store->ui().setTab(MainTab::settings);
    SettingsView view(*m_f.store);
    view.resize(1100, 900);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    DirectoryCard* clients = view.clientsCard();
    QTest::keyClicks(clients->addField(), QStringLiteral("Half typed"));
    clients->startEditing(QStringLiteral("Beta"));
    QTest::keyClicks(clients->rowEditor()->field(), QStringLiteral(" draft"));
    m_f.store->ui().setTab(MainTab::stats);
    QVERIFY(clients->draft().isEmpty());
    QVERIFY(!clients->editingItem());
    QCOMPARE(m_f.store->data().clients.at(1), QStringLiteral("Beta"));
    // Switching back starts clean; nothing was saved on the way.
    m_f.store->ui().setTab(MainTab::settings);
    QVERIFY(clients->draft().isEmpty());
    QCOMPARE(clients->model()->names(), m_f.store->data().clients);
}

void TestDirectoryCard::paymentTermsOnClientRows()
{
    showClients();
    DirectoryModel* model = m_card->model();
    auto chip = [model](const QString& name) {
        return DirectoryText::termsChip(
            model->language(), model->index(model->rowOf(name)).data(DirectoryModel::TermsRole).toInt());
    };
    QCOMPARE(chip(QStringLiteral("Acme")), QStringLiteral("30 d"));
    QCOMPARE(model->index(0).data(DirectoryModel::TermsTextRole).toString(), QStringLiteral("30-day terms"));
    QVERIFY(model->index(0)
                .data(Qt::AccessibleDescriptionRole)
                .toString()
                .endsWith(QStringLiteral("; 30-day terms")));

    // A click on the terms opens the row's editor with the days ready to be typed over.
    click(QStringLiteral("Beta"), DirectoryList::RowButton::terms);
    QCOMPARE(m_card->editingItem(), std::optional<QString>(QStringLiteral("Beta")));
    QLineEdit* days = m_card->rowEditor()->termsField();
    QVERIFY(days);
    QTRY_VERIFY(days->hasFocus());
    QCOMPARE(days->text(), QStringLiteral("30"));
    QCOMPARE(days->accessibleName(), QStringLiteral("Payment terms in days"));
    QCOMPARE(days->parentWidget()->toolTip(), QStringLiteral("30-day terms"));
    QTest::keyClicks(days, QStringLiteral("45"));
    QTest::keyClick(days, Qt::Key_Return);
    QVERIFY(!m_card->rowEditor());
    QCOMPARE(m_f.store->paymentTerms(QStringLiteral("Beta")), 45);
    QCOMPARE(chip(QStringLiteral("Beta")), QStringLiteral("45 d"));
    // Only terms that differ from the default are stored.
    QCOMPARE(m_f.store->data().clientTerms, (QMap<QString, int>{{QStringLiteral("Beta"), 45}}));

    // From the keyboard: F2 edits the row, Tab reaches the days. Out of range or not whole days
    // mark the field and keep the edit open with all that was typed.
    m_card->list()->setFocus(Qt::TabFocusReason);
    m_card->list()->setCurrentIndex(model->index(0));
    QTest::keyClick(m_card->list(), Qt::Key_F2);
    QCOMPARE(m_card->editingItem(), std::optional<QString>(QStringLiteral("Acme")));
    QTRY_VERIFY(m_card->rowEditor()->field()->hasFocus());
    QTest::keyClick(m_card->rowEditor()->field(), Qt::Key_Tab);
    days = m_card->rowEditor()->termsField();
    QVERIFY(days->hasFocus());
    for (const QString& bad : {QStringLiteral("3651"), QStringLiteral("-1"), QStringLiteral("soon"),
                               QStringLiteral("7") + QLocale().decimalPoint() + QStringLiteral("5")}) {
        days->selectAll();
        QTest::keyClicks(days, bad);
        QVERIFY(isInvalid(days->parentWidget()));
        QVERIFY(!m_card->rowEditor()->commitButton()->isEnabled());
        QVERIFY(!days->accessibleDescription().isEmpty());
        QTest::keyClick(days, Qt::Key_Return);
        m_card->commitEdit(); // as the name field's Return would
        QVERIFY(m_card->rowEditor());
        QCOMPARE(days->text(), bad);
    }
    QCOMPARE(m_f.store->data().clientTerms.size(), 1);
    // 0 is due on receipt; the name and the days are saved together.
    days->selectAll();
    QTest::keyClicks(days, QStringLiteral("0"));
    QVERIFY(!isInvalid(days->parentWidget()));
    QCOMPARE(days->parentWidget()->toolTip(), QStringLiteral("due on receipt"));
    m_card->rowEditor()->field()->setText(QStringLiteral("Acme Ltd"));
    QTest::mouseClick(m_card->rowEditor()->commitButton(), Qt::LeftButton);
    QCOMPARE(m_f.store->data().clients, (QStringList{"Acme Ltd", "Beta", "Gamma"}));
    QCOMPARE(m_f.store->paymentTerms(QStringLiteral("Acme Ltd")), 0);
    QCOMPARE(m_f.store->data().clientTerms,
             (QMap<QString, int>{{QStringLiteral("Acme Ltd"), 0}, {QStringLiteral("Beta"), 45}}));
    QCOMPARE(chip(QStringLiteral("Acme Ltd")), QStringLiteral("0 d"));

    // A rename alone carries the terms; back to 30 stores nothing for the client.
    m_card->startEditing(QStringLiteral("Beta"));
    m_card->rowEditor()->field()->setText(QStringLiteral("Beta Co"));
    m_card->commitEdit();
    QCOMPARE(m_f.store->paymentTerms(QStringLiteral("Beta Co")), 45);
    QCOMPARE(chip(QStringLiteral("Beta Co")), QStringLiteral("45 d"));
    m_card->startEditingTerms(QStringLiteral("Beta Co"));
    QTest::keyClicks(m_card->rowEditor()->termsField(), QStringLiteral("30"));
    m_card->commitEdit();
    QCOMPARE(m_f.store->data().clientTerms, (QMap<QString, int>{{QStringLiteral("Acme Ltd"), 0}}));

    // Terms changed elsewhere (an undo, a reload) show on the row at once.
    m_f.store->setPaymentTerms(QStringLiteral("Gamma"), 3650);
    QCOMPARE(chip(QStringLiteral("Gamma")), QStringLiteral("3650 d"));

    // A screen reader's terms action opens the same editor; Turkish reads "g" for gün.
    m_f.store->setLanguage(AppLanguage::tr);
    QCOMPARE(chip(QStringLiteral("Gamma")), QStringLiteral("3650 g"));
    QCOMPARE(model->index(2).data(DirectoryModel::TermsTextRole).toString(), QStringLiteral("3650 gün vade"));
    QAccessibleInterface* gamma = QAccessible::queryAccessibleInterface(m_card->list())->child(2);
    const QStringList actions = gamma->actionInterface()->actionNames();
    QCOMPARE(actions.last(), QStringLiteral("Gamma için ödeme vadesi"));
    gamma->actionInterface()->doAction(actions.last());
    QCOMPARE(m_card->editingItem(), std::optional<QString>(QStringLiteral("Gamma")));
    QTRY_VERIFY(m_card->rowEditor()->termsField()->hasFocus());
    QCOMPARE(m_card->rowEditor()->termsField()->accessibleName(), QStringLiteral("Gün olarak ödeme vadesi"));
    m_card->cancelEdit();
    QCOMPARE(m_f.store->paymentTerms(QStringLiteral("Gamma")), 3650);

    // Categories have no terms: no field, no action, nothing painted.
    DirectoryCard categories(*m_f.store, DirectoryCard::categories(*m_f.store));
    categories.resize(420, DirectoryCard::kHeight);
    categories.show();
    QVERIFY(!categories.model()->index(0).data(DirectoryModel::TermsRole).isValid());
    categories.startEditing(m_f.store->data().categories.first());
    QVERIFY(categories.rowEditor());
    QVERIFY(!categories.rowEditor()->termsField());
    QCOMPARE(QAccessible::queryAccessibleInterface(categories.list())
                 ->child(0)
                 ->actionInterface()
                 ->actionNames()
                 .size(),
             2);
    const QRect item = categories.list()->visualRect(categories.model()->index(1));
    QCOMPARE(categories.list()->buttonAt(DirectoryDelegate::termsRect(item).center()),
             DirectoryList::RowButton::none);
}

TB_WIDGET_TEST_MAIN(TestDirectoryCard)
#include "tst_directory_card.moc"
