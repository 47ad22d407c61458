#include "TestMain.h"
#include "TestProjects.h"

#include "editor/AmountField.h"
#include "editor/ComboField.h"
#include "editor/ProjectEditor.h"
#include "editor/StatusPicker.h"
#include "i18n/CurrencyRate.h"
#include "model/Store.h"
#include "ui/Animations.h"
#include "ui/GlyphButton.h"
#include "ui/InkButton.h"
#include "ui/InvalidOutline.h"
#include "ui/OutlineButton.h"
#include "window/MainWindowSheet.h"

#include <QAccessible>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>
#include <memory>

namespace {
Project makeProject(const QString& name, double fee, double outsource, const QDate& day)
{
    return TestProjects::make(name, fee, TestProjects::noon(day), Status::pending, QStringLiteral("Acme"),
                              QStringLiteral("Branding"), outsource);
}

// Types into a line edit the way a user does: select all, then the new text.
void retype(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}
} // namespace

class TestEditor : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Store> m_store;
    std::unique_ptr<QDialog> m_sheet;
    int m_round = 0;

    // A store holding exactly the given directories and projects.
    void reset(const QStringList& clients, const QStringList& categories,
               const QVector<Project>& projects = {})
    {
        m_store->update([&](AppData& d) {
            d = AppData::empty();
            d.clients = clients;
            d.categories = categories;
            d.projects = projects;
        });
    }

    ProjectEditor* open(const EditorTarget& target)
    {
        m_sheet = std::make_unique<QDialog>();
        auto* editor = new ProjectEditor(*m_store, target, m_sheet.get());
        auto* layout = new QVBoxLayout(m_sheet.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(editor);
        m_sheet->show();
        m_sheet->activateWindow();
        if (!QTest::qWaitForWindowActive(m_sheet.get()))
            qWarning("sheet not active");
        return editor;
    }

private slots:
    void initTestCase() { Animations::setEnabled(false); }

    void init()
    {
        CurrencyRate::setUsdToTry(CurrencyRate::kInitialUsdToTry);
        m_store =
            std::make_unique<Store>(m_dir.path() + QStringLiteral("/d") + QString::number(++m_round), false);
        m_store->setActiveYear(Store::currentYear());
        // The language is a preference: a test that switched it must not leave it to the next.
        m_store->setLanguage(AppLanguage::en);
    }

    void cleanup()
    {
        m_sheet.reset();
        m_store.reset();
    }

    void newProjectStartsFromTheDirectories()
    {
        reset({QStringLiteral("Acme"), QStringLiteral("Beta")}, {});
        ProjectEditor* e = open(EditorTarget::newProject());
        QCOMPARE(e->titleLabel()->text(), QStringLiteral("New Project"));
        QVERIFY(!e->deleteButton());
        QCOMPARE(e->clientField()->text(), QStringLiteral("Acme"));
        QCOMPARE(e->categoryField()->text(), QString());
        QVERIFY(e->clientField()->dropDown()->isEnabled());
        QVERIFY(!e->categoryField()->dropDown()->isEnabled());
        QCOMPARE(e->statusPicker()->status(), Status::ongoing);
        QCOMPARE(e->dateField()->date(), QDate::currentDate());
        QCOMPARE(e->yearHint()->text(), QStringLiteral("Counts toward %1").arg(Store::currentYear()));
        QCOMPARE(e->feeField()->lineEdit()->placeholderText(), QStringLiteral("6000"));
        QVERIFY(e->nameField()->hasFocus());

        QTest::keyClicks(e->nameField(), QStringLiteral("Poster"));
        QTest::keyClicks(e->feeField()->lineEdit(), QStringLiteral("900"));
        QVERIFY(!e->canSave());
        QVERIFY(!e->saveButton()->isEnabled());
        QCOMPARE(e->saveOpacity(), 0.5);
        // A category that is not in the directory may be typed.
        QTest::keyClicks(e->categoryField()->lineEdit(), QStringLiteral("Print"));
        QVERIFY(e->canSave());
        QVERIFY(e->saveButton()->isEnabled());
        QCOMPARE(e->saveOpacity(), 1.0);

        QTest::mouseClick(e->saveButton(), Qt::LeftButton);
        QCOMPARE(m_sheet->result(), int(QDialog::Accepted));
        QCOMPARE(m_store->data().projects.size(), 1);
        const Project p = m_store->data().projects.first();
        QCOMPARE(p.name, QStringLiteral("Poster"));
        QCOMPARE(p.category, QStringLiteral("Print"));
        QCOMPARE(p.fee, 900.0);
        QCOMPARE(p.outsource, 0.0);
        QCOMPARE(p.status, Status::ongoing);
        QCOMPARE(p.date, QDateTime(QDate::currentDate(), QTime(12, 0)));
        QCOMPARE(m_store->data().categories, QStringList{QStringLiteral("Print")});
        QCOMPARE(m_store->ui().toast()->message, QStringLiteral("Project added"));
    }

    void validationAndOutlines()
    {
        reset({QStringLiteral("Acme")}, {QStringLiteral("Web")});
        ProjectEditor* e = open(EditorTarget::newProject());
        QTest::keyClicks(e->feeField()->lineEdit(), QStringLiteral("100"));
        // A name of blanks only is no name.
        QTest::keyClicks(e->nameField(), QStringLiteral("   "));
        QVERIFY(!e->canSave());
        QCOMPARE(e->saveOpacity(), 0.5);
        retype(e->nameField(), QStringLiteral("Site"));
        QVERIFY(e->canSave());

        retype(e->feeField()->lineEdit(), QStringLiteral("abc"));
        QVERIFY(isInvalid(e->feeField()));
        QCOMPARE(e->feeField()->lineEdit()->accessibleDescription(), QStringLiteral("Not a valid amount"));
        QVERIFY(!e->canSave());
        // An empty fee blocks saving but is not outlined.
        retype(e->feeField()->lineEdit(), QString());
        QVERIFY(!isInvalid(e->feeField()));
        QVERIFY(!e->canSave());
        retype(e->feeField()->lineEdit(), QStringLiteral("1.500,50"));
        QVERIFY(!isInvalid(e->feeField()));
        QVERIFY(e->canSave());

        QTest::keyClicks(e->outsourceField()->lineEdit(), QStringLiteral("abc"));
        QVERIFY(isInvalid(e->outsourceField()));
        QVERIFY(!e->outsourceValid());
        QVERIFY(!e->canSave());
        // Saving is refused while anything is unusable, by button and by call.
        e->save();
        QVERIFY(m_store->data().projects.isEmpty());
        QCOMPARE(m_sheet->result(), int(QDialog::Rejected));

        retype(e->outsourceField()->lineEdit(), QStringLiteral("  "));
        QVERIFY(!isInvalid(e->outsourceField()));
        QVERIFY(e->canSave());
        // Zero is a fee, and the outsource cost may exceed it.
        retype(e->feeField()->lineEdit(), QStringLiteral("0"));
        retype(e->outsourceField()->lineEdit(), QStringLiteral("50"));
        QVERIFY(e->canSave());
        retype(e->outsourceField()->lineEdit(), QString());
        retype(e->feeField()->lineEdit(), QStringLiteral("1.500,50"));
        e->save();
        QCOMPARE(m_store->data().projects.size(), 1);
        QCOMPARE(m_store->data().projects.first().fee, 1500.5);
        QCOMPARE(m_store->data().projects.first().outsource, 0.0);
        QCOMPARE(m_store->data().projects.first().name, QStringLiteral("Site"));
    }

    void untouchedAmountsKeepTheStoredValue_data()
    {
        QTest::addColumn<bool>("turkish");
        QTest::addColumn<double>("fee");
        QTest::addColumn<double>("outsource");
        QTest::addColumn<QString>("feeShown");
        QTest::addColumn<QString>("outsourceShown");
        QTest::newRow("english") << false << 1234.56 << 99.5 << QStringLiteral("1235")
                                 << QStringLiteral("100");
        // 100 dollars are 5014.13 lira, shown as 5014; read back that would be 99.997...
        QTest::newRow("turkish") << true << 100.0 << 12.5 << QStringLiteral("5014") << QStringLiteral("627");
    }

    void untouchedAmountsKeepTheStoredValue()
    {
        QFETCH(bool, turkish);
        QFETCH(double, fee);
        QFETCH(double, outsource);
        QFETCH(QString, feeShown);
        QFETCH(QString, outsourceShown);
        m_store->setLanguage(turkish ? AppLanguage::tr : AppLanguage::en);
        const Project stored = makeProject(QStringLiteral("Logo"), fee, outsource, QDate::currentDate());
        reset({QStringLiteral("Acme")}, {QStringLiteral("Branding")}, {stored});

        ProjectEditor* e = open(EditorTarget::edit(stored.id));
        QCOMPARE(e->feeField()->text(), feeShown);
        QCOMPARE(e->outsourceField()->text(), outsourceShown);
        QTest::keyClick(e->saveButton(), Qt::Key_Space);
        QCOMPARE(m_store->data().projects.first().fee, fee);
        QCOMPARE(m_store->data().projects.first().outsource, outsource);
        QCOMPARE(m_store->data().projects.first().id, stored.id);

        // Typed digits are read at the rate; putting the filled text back means the stored amount.
        e = open(EditorTarget::edit(stored.id));
        retype(e->feeField()->lineEdit(), QStringLiteral("2000"));
        retype(e->feeField()->lineEdit(), feeShown);
        e->save();
        QCOMPARE(m_store->data().projects.first().fee, fee);
        e = open(EditorTarget::edit(stored.id));
        retype(e->feeField()->lineEdit(), QStringLiteral("2000"));
        e->save();
        QCOMPARE(m_store->data().projects.first().fee, 2000 / e->rate());
        m_store->setLanguage(AppLanguage::en);
    }

    void turkishAmountsAreLira()
    {
        m_store->setLanguage(AppLanguage::tr);
        CurrencyRate::setUsdToTry(40);
        const Project stored = makeProject(QStringLiteral("Logo"), 100, 0, QDate::currentDate());
        reset({QStringLiteral("Acme")}, {QStringLiteral("Branding")}, {stored});
        ProjectEditor* e = open(EditorTarget::edit(stored.id));
        QCOMPARE(e->titleLabel()->text(), QStringLiteral("Projeyi Düzenle"));
        QCOMPARE(e->feeField()->text(), QStringLiteral("4000"));
        QCOMPARE(e->outsourceField()->text(), QString());
        QCOMPARE(e->feeField()->lineEdit()->placeholderText(), QStringLiteral("300000"));
        QCOMPARE(e->yearHint()->text(), QStringLiteral("%1 yılına dahil").arg(Store::currentYear()));
        // Accessibility texts stay English.
        QCOMPARE(e->statusPicker()->accessibleName(), QStringLiteral("Status, Pending"));
        QCOMPARE(e->clientField()->dropDown()->accessibleName(), QStringLiteral("Choose müşteri"));

        retype(e->feeField()->lineEdit(), QStringLiteral("8000"));
        QTest::keyClicks(e->outsourceField()->lineEdit(), QStringLiteral("1000"));
        e->save();
        QCOMPARE(m_store->data().projects.first().fee, 200.0);
        QCOMPARE(m_store->data().projects.first().outsource, 25.0);
        QCOMPARE(m_store->ui().toast()->message, QStringLiteral("Proje güncellendi"));
        m_store->setLanguage(AppLanguage::en);
    }

    void yearRules()
    {
        const int other = Store::currentYear() - 3;
        m_store->setActiveYear(other);
        reset({QStringLiteral("Acme")}, {QStringLiteral("Web")});
        ProjectEditor* e = open(EditorTarget::newProject());
        QCOMPARE(e->dateField()->date(), QDate(other, 6, 15));
        QCOMPARE(e->yearHint()->text(), QStringLiteral("Counts toward %1").arg(other));
        e->dateField()->setDate(QDate(other + 1, 2, 3));
        QCOMPARE(e->yearHint()->text(), QStringLiteral("Counts toward %1").arg(other + 1));

        QTest::keyClicks(e->nameField(), QStringLiteral("Annual report"));
        QTest::keyClicks(e->feeField()->lineEdit(), QStringLiteral("3000"));
        QSignalSpy yearChanges(m_store.get(), &Store::activeYearChanged);
        e->save();
        // The board follows the saved project into its year.
        QCOMPARE(m_store->activeYear(), other + 1);
        QCOMPARE(yearChanges.count(), 1);
        QCOMPARE(m_store->data().projects.first().date, QDateTime(QDate(other + 1, 2, 3), QTime(12, 0)));

        // A project of the active year leaves the year alone.
        e = open(EditorTarget::edit(m_store->data().projects.first().id));
        e->save();
        QCOMPARE(yearChanges.count(), 1);
    }

    void editingDeletingAndMissingProjects()
    {
        const Project a = makeProject(QStringLiteral("Alpha"), 100, 0, QDate::currentDate());
        Project b = makeProject(QStringLiteral("Beta"), 200, 20, QDate::currentDate().addDays(-1));
        // Members of the file the editor does not show (from a later version).
        b.extra.insert(QStringLiteral("invoice"), QStringLiteral("INV-7"));
        reset({QStringLiteral("Acme")}, {QStringLiteral("Branding")}, {a, b});

        ProjectEditor* e = open(EditorTarget::edit(b.id));
        QCOMPARE(e->titleLabel()->text(), QStringLiteral("Edit Project"));
        QCOMPARE(e->nameField()->text(), QStringLiteral("Beta"));
        QCOMPARE(e->clientField()->text(), QStringLiteral("Acme"));
        QCOMPARE(e->categoryField()->text(), QStringLiteral("Branding"));
        QCOMPARE(e->statusPicker()->status(), Status::pending);
        QCOMPARE(e->dateField()->date(), QDate::currentDate().addDays(-1));
        QCOMPARE(e->outsourceField()->text(), QStringLiteral("20"));
        QVERIFY(e->deleteButton() && e->deleteButton()->isVisible());
        QCOMPARE(e->deleteButton()->text(), QStringLiteral("Delete"));

        // Saving an edit keeps the project's place.
        e->statusPicker()->menu()->actions().at(0)->trigger();
        QCOMPARE(e->statusPicker()->status(), Status::paid);
        retype(e->nameField(), QStringLiteral("Beta 2"));
        e->save();
        QCOMPARE(m_store->data().projects.at(1).name, QStringLiteral("Beta 2"));
        QCOMPARE(m_store->data().projects.at(1).status, Status::paid);
        QCOMPARE(m_store->data().projects.at(1).extra, b.extra);
        QCOMPARE(m_store->ui().toast()->message, QStringLiteral("Project updated"));

        // Delete: at once, no question, with the undo toast.
        e = open(EditorTarget::edit(a.id));
        QTest::mouseClick(e->deleteButton(), Qt::LeftButton);
        QCOMPARE(m_sheet->result(), int(QDialog::Accepted));
        QCOMPARE(m_store->data().projects.size(), 1);
        QVERIFY(m_store->ui().toast()->canUndo);
        m_store->undoDelete();
        QCOMPARE(m_store->data().projects.first().id, a.id);

        // A project that went away meanwhile: empty fields, and saving adds a new one.
        const QUuid gone = QUuid::createUuid();
        e = open(EditorTarget::edit(gone));
        QCOMPARE(e->titleLabel()->text(), QStringLiteral("Edit Project"));
        QCOMPARE(e->nameField()->text(), QString());
        QCOMPARE(e->clientField()->text(), QString());
        QCOMPARE(e->feeField()->text(), QString());
        QVERIFY(!e->canSave());
        QTest::keyClicks(e->nameField(), QStringLiteral("Gamma"));
        QTest::keyClicks(e->clientField()->lineEdit(), QStringLiteral("acme"));
        QTest::keyClicks(e->categoryField()->lineEdit(), QStringLiteral("Print"));
        QTest::keyClicks(e->feeField()->lineEdit(), QStringLiteral("10"));
        e->save();
        QCOMPARE(m_store->data().projects.size(), 3);
        const Project added = m_store->data().projects.first();
        QCOMPARE(added.name, QStringLiteral("Gamma"));
        QVERIFY(added.id != gone && !added.id.isNull());
        QCOMPARE(added.client, QStringLiteral("Acme"));
        QCOMPARE(m_store->ui().toast()->message, QStringLiteral("Project added"));
    }

    void loadsOncePerPresentation()
    {
        const Project a = makeProject(QStringLiteral("Alpha"), 100, 0, QDate::currentDate());
        reset({QStringLiteral("Acme")}, {QStringLiteral("Branding")}, {a});
        ProjectEditor* e = open(EditorTarget::edit(a.id));
        QVERIFY(e->isLoaded());
        retype(e->nameField(), QStringLiteral("Typed"));
        m_sheet->hide();
        m_sheet->show();
        e->load();
        QCOMPARE(e->nameField()->text(), QStringLiteral("Typed"));
        // Cancelling leaves the document alone.
        QTest::mouseClick(e->cancelButton(), Qt::LeftButton);
        QCOMPARE(m_sheet->result(), int(QDialog::Rejected));
        QCOMPARE(m_store->data().projects.first().name, QStringLiteral("Alpha"));
    }

    void comboFieldAndStatusMenus()
    {
        reset({QStringLiteral("Acme"), QStringLiteral("R&D Lab")}, {QStringLiteral("Web")});
        ProjectEditor* e = open(EditorTarget::newProject());
        ComboField* client = e->clientField();
        QCOMPARE(client->dropDown()->accessibleName(), QStringLiteral("Choose client"));
        client->rebuildMenu();
        const QList<QAction*> items = client->menu()->actions();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items.at(1)->text(), QStringLiteral("R&&D Lab"));
        items.at(1)->trigger();
        QCOMPARE(client->text(), QStringLiteral("R&D Lab"));

        // The directory changing while the sheet is open updates the drop-downs.
        QVERIFY(e->categoryField()->dropDown()->isEnabled());
        m_store->removeCategory(QStringLiteral("Web"));
        QVERIFY(!e->categoryField()->dropDown()->isEnabled());
        QTest::keyClicks(e->categoryField()->lineEdit(), QStringLiteral("x"));
        QCOMPARE(e->categoryField()->text(), QStringLiteral("Webx"));

        const QList<QAction*> statuses = e->statusPicker()->menu()->actions();
        QCOMPARE(statuses.size(), 3);
        QCOMPARE(statuses.at(0)->text(), QStringLiteral("Paid"));
        QCOMPARE(statuses.at(1)->text(), QStringLiteral("Pending"));
        QCOMPARE(statuses.at(2)->text(), QStringLiteral("In the Works"));
        QCOMPARE(e->statusPicker()->accessibleName(), QStringLiteral("Status, In the Works"));
        statuses.at(1)->trigger();
        QCOMPARE(e->statusPicker()->accessibleName(), QStringLiteral("Status, Pending"));
    }

    void keyboardSavesAndCancels()
    {
        reset({QStringLiteral("Acme")}, {QStringLiteral("Web")});
        ProjectEditor* e = open(EditorTarget::newProject());
        QTest::keyClicks(e->nameField(), QStringLiteral("Keyboard"));
        // Return does nothing while the project cannot be saved.
        QTest::keyClick(e->nameField(), Qt::Key_Return);
        QVERIFY(m_sheet->isVisible());
        QVERIFY(m_store->data().projects.isEmpty());
        QTest::keyClicks(e->feeField()->lineEdit(), QStringLiteral("75"));
        // Return saves from any field, also with the focus on Cancel.
        e->cancelButton()->setFocus();
        QTest::keyClick(e->cancelButton(), Qt::Key_Return);
        QCOMPARE(m_sheet->result(), int(QDialog::Accepted));
        QCOMPARE(m_store->data().projects.size(), 1);

        e = open(EditorTarget::newProject());
        QTest::keyClicks(e->nameField(), QStringLiteral("Never"));
        QTest::keyClicks(e->feeField()->lineEdit(), QStringLiteral("75"));
        QTest::keyClick(e->feeField()->lineEdit(), Qt::Key_Escape);
        QCOMPARE(m_sheet->result(), int(QDialog::Rejected));
        QCOMPARE(m_store->data().projects.size(), 1);
    }

    void tabPassesTheDateAsOneStop()
    {
        reset({QStringLiteral("Acme")}, {QStringLiteral("Web")});
        ProjectEditor* e = open(EditorTarget::newProject());
        QDateEdit* date = e->dateField();
        const QDate day = date->date();
        // A screen reader reads the day as the field's value.
        QCOMPARE(QAccessible::queryAccessibleInterface(date)->text(QAccessible::Value), date->text());
        QVERIFY(!date->text().isEmpty());
        date->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(date->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(!date->hasFocus());
        QVERIFY(!date->isAncestorOf(QApplication::focusWidget()));
        // What is typed next lands elsewhere, never in the date.
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12"));
        QCOMPARE(date->date(), day);
        // And back again with Shift+Tab, in one step too.
        date->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QVERIFY(!date->hasFocus());
    }

    // Due for a Pending project, Paid on for a Paid one; nothing for one in the works.
    void paymentDays()
    {
        const int year = Store::currentYear();
        const QDate today(year, 5, 20);
        m_store->setToday([today] { return today; });
        Project owed = makeProject(QStringLiteral("Owed"), 1000, 0, QDate(year, 3, 14));
        owed.pendingSince = QDate(year, 5, 1);
        owed.dueDate = QDate(year, 5, 31);
        const Project work =
            TestProjects::make(QStringLiteral("Work"), 500, TestProjects::noon(QDate(year, 3, 1)),
                               Status::ongoing, QStringLiteral("Beta"), QStringLiteral("Web"));
        reset({QStringLiteral("Acme"), QStringLiteral("Beta")}, {QStringLiteral("Web")}, {owed, work});
        m_store->setPaymentTerms(QStringLiteral("Beta"), 14);
        const auto stored = [this](const QUuid& id) {
            for (const Project& p : m_store->data().projects) {
                if (p.id == id)
                    return p;
            }
            return Project();
        };

        ProjectEditor* e = open(EditorTarget::edit(owed.id));
        QVERIFY(e->dueBox()->isVisibleTo(e));
        QVERIFY(!e->paidOnBox()->isVisibleTo(e));
        QCOMPARE(e->dueField()->date(), QDate(year, 5, 31));
        QCOMPARE(e->dueField()->accessibleName(), QStringLiteral("Due"));
        // A due day before the day it became pending is refused, marked, and Save waits.
        e->dueField()->setDate(QDate(year, 4, 30));
        QVERIFY(!e->dueValid());
        QVERIFY(!e->saveButton()->isEnabled());
        QVERIFY(isInvalid(e->dueField()->parentWidget()));
        e->dueField()->setDate(QDate(year, 6, 15));
        QVERIFY(e->saveButton()->isEnabled());
        QVERIFY(!isInvalid(e->dueField()->parentWidget()));
        e->save();
        QCOMPARE(stored(owed.id).dueDate, QDate(year, 6, 15));
        QCOMPARE(stored(owed.id).pendingSince, QDate(year, 5, 1));

        // Into Paid: paid today unless changed, never later than today.
        e = open(EditorTarget::edit(owed.id));
        e->statusPicker()->menu()->actions().at(0)->trigger();
        QVERIFY(!e->dueBox()->isVisibleTo(e));
        QVERIFY(e->paidOnBox()->isVisibleTo(e));
        QCOMPARE(e->paidOnField()->date(), today);
        e->paidOnField()->setDate(today.addDays(3));
        QCOMPARE(e->paidOnField()->date(), today);
        e->paidOnField()->setDate(QDate(year, 5, 18));
        e->save();
        Project p = stored(owed.id);
        QCOMPARE(p.status, Status::paid);
        QCOMPARE(p.paidOn, QDate(year, 5, 18));
        QCOMPARE(p.dueDate, QDate(year, 6, 15));

        // Into Pending: due after the client's terms, as a move would set it; an untouched field
        // leaves the day to the move.
        e = open(EditorTarget::edit(work.id));
        QVERIFY(!e->dueBox()->isVisibleTo(e));
        QVERIFY(!e->paidOnBox()->isVisibleTo(e));
        e->statusPicker()->menu()->actions().at(1)->trigger();
        QVERIFY(e->dueBox()->isVisibleTo(e));
        QCOMPARE(e->dueField()->date(), today.addDays(14));
        // The terms are the client's in the field.
        retype(e->clientField()->lineEdit(), QStringLiteral("Acme"));
        QCOMPARE(e->dueField()->date(), today.addDays(30));
        retype(e->clientField()->lineEdit(), QStringLiteral("Beta"));
        e->save();
        p = stored(work.id);
        QCOMPARE(p.status, Status::pending);
        QCOMPARE(p.pendingSince, today);
        QCOMPARE(p.dueDate, today.addDays(14));

        // A Pending project from before due days were kept shows none and keeps none.
        Project older = makeProject(QStringLiteral("Older"), 300, 0, QDate(year, 2, 1));
        m_store->update([&](AppData& d) { d.projects.append(older); });
        m_store->setLanguage(AppLanguage::tr);
        e = open(EditorTarget::edit(older.id));
        QCOMPARE(e->dueField()->date(), ProjectEditor::noDay());
        QCOMPARE(e->dueField()->text(), QStringLiteral("Yok"));
        QCOMPARE(e->dueField()->accessibleName(), QStringLiteral("Vade Tarihi"));
        QVERIFY(e->findChild<QLabel*>(QStringLiteral("dueHint"))
                    ->text()
                    .endsWith(QStringLiteral("tarihinden beri")));
        QVERIFY(e->canSave());
        e->save();
        QVERIFY(!stored(older.id).dueDate.isValid());
        QVERIFY(!stored(older.id).pendingSince.isValid());
    }

    void sheetOfTheMainWindow()
    {
        reset({QStringLiteral("Acme")}, {QStringLiteral("Web")});
        QWidget window;
        window.resize(900, 700);
        window.show();
        MainWindowSheet sheet(*m_store, &window);
        m_store->ui().setEditor(EditorTarget::newProject());
        QVERIFY(sheet.dialog());
        auto* e = sheet.dialog()->findChild<ProjectEditor*>();
        QVERIFY(e);
        QVERIFY(e->isLoaded());
        QCOMPARE(e->width(), ProjectEditor::kWidth);
        // The sheet is as large as its content and cannot be resized or maximised.
        const QSize fixed = sheet.dialog()->size();
        QCOMPARE(sheet.dialog()->minimumSize(), fixed);
        QCOMPARE(sheet.dialog()->maximumSize(), fixed);
        sheet.dialog()->resize(fixed + QSize(200, 200));
        QCOMPARE(sheet.dialog()->size(), fixed);
        QTest::keyClicks(e->nameField(), QStringLiteral("Through the sheet"));
        QTest::keyClicks(e->feeField()->lineEdit(), QStringLiteral("10"));
        QTest::keyClick(e->feeField()->lineEdit(), Qt::Key_Enter);
        QVERIFY(!m_store->ui().editor().has_value());
        QCOMPARE(m_store->data().projects.first().name, QStringLiteral("Through the sheet"));

        // The close button dismisses without saving.
        m_store->ui().setEditor(EditorTarget::edit(m_store->data().projects.first().id));
        e = sheet.dialog()->findChild<ProjectEditor*>();
        retype(e->nameField(), QStringLiteral("Changed"));
        QTest::mouseClick(e->closeButton(), Qt::LeftButton);
        QVERIFY(!m_store->ui().editor().has_value());
        QCOMPARE(m_store->data().projects.first().name, QStringLiteral("Through the sheet"));
    }
};

TB_WIDGET_TEST_MAIN(TestEditor)
#include "tst_editor.moc"
