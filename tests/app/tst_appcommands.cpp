#include "TestMain.h"

#include "app/AppCommands.h"
#include "app/ImportSheet.h"
#include "app/MenuBarExtra.h"
#include "app/ShortcutsWindow.h"
#include "app/TallybrookApp.h"
#include "model/DataFile.h"
#include "model/Preferences.h"
#include "model/Store.h"
#include "ui/Animations.h"
#include "ui/InkButton.h"
#include "ui/PillOption.h"
#include "ui/PillSegment.h"
#include "window/MainWindow.h"
#include "window/MainWindowHeader.h"
#include "window/MainWindowSheet.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

class TestAppCommands : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TallybrookApp> m_app;
    AppCommands* commands() const { return m_app->commands(); }
    Store* store() const { return m_app->store(); }

    // Opens the editor sheet with the keyboard in its first field.
    QLineEdit* openSheet()
    {
        commands()->newProject()->trigger();
        QDialog* sheet = m_app->mainWindow()->sheet()->dialog();
        if (!sheet)
            return nullptr;
        sheet->activateWindow();
        if (!QTest::qWaitFor([sheet] { return QApplication::activeWindow() == sheet; }, 2000))
            return nullptr;
        auto* field = sheet->findChild<QLineEdit*>();
        if (field)
            field->setFocus();
        return field;
    }

    // Clicks a menu of the menu bar, then one of its items, as the pointer would.
    static bool clickMenuItem(QMenuBar* bar, int menuIndex, QAction* item)
    {
        QAction* title = bar->actions().value(menuIndex);
        if (!title)
            return false;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        QMenu* menu = title->menu();
        if (!QTest::qWaitFor([menu] { return menu->isVisible(); }, 1000))
            return false;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        return true;
    }

    QString storedText() const
    {
        QFile f(Store::defaultDataFolder() + QStringLiteral("/tallybrook.json"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

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
        QCOMPARE(titles, (QStringList{"&File", "&Edit", "&View", "&Window", "&Help"}));
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
        QCOMPARE(store()->ui().tab(), MainTab::stats);
    }

    void keyboardShortcutsWindow()
    {
        QMenuBar* bar = m_app->mainWindow()->menuBar();
        QCOMPARE(bar->actions().at(4)->menu()->actions(), QList<QAction*>{commands()->shortcuts()});
        QCOMPARE(commands()->shortcuts()->text(), QStringLiteral("Keyboard Shortcuts"));
        QCOMPARE(commands()->shortcuts()->shortcut(), QKeySequence(QStringLiteral("Ctrl+/")));
        QVERIFY(QTest::qWaitForWindowActive(m_app->mainWindow()));
        QTest::keyClick(m_app->mainWindow(), Qt::Key_Slash, Qt::ControlModifier);
        QPointer<ShortcutsWindow> window = commands()->shortcutsWindow();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Keyboard Shortcuts"));

        // Rows of keys and what they do; the commands' keys are read from their actions.
        const auto rows = [&window] {
            QStringList out;
            QTreeWidget* list = window->list();
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                QTreeWidgetItem* section = list->topLevelItem(i);
                out << section->text(0);
                for (int j = 0; j < section->childCount(); ++j)
                    out << section->child(j)->text(0) + QStringLiteral(" = ") + section->child(j)->text(1);
            }
            return out;
        };
        QStringList seen = rows();
        QVERIFY(seen.contains(
            QStringLiteral("Ctrl+← or Ctrl+→ = Move the card to the column on the left or right")));
        QVERIFY(seen.contains(QStringLiteral("Delete = Delete the project")));
        QVERIFY(seen.contains(QStringLiteral("N = Start a new project")));
        QVERIFY(seen.contains(QStringLiteral("Ctrl+N = New project")));
        QVERIFY(seen.contains(QStringLiteral("Ctrl+/ = This list of shortcuts")));
        QVERIFY(seen.contains(QStringLiteral("Ctrl+2 = Show Statistics")));
        QVERIFY(seen.contains(QStringLiteral("Ctrl+I = Import projects from a CSV file")));
        QVERIFY(seen.contains(QStringLiteral("Ctrl+E = Export projects to a CSV file")));
        QCOMPARE(seen.first(), QStringLiteral("On the board"));
        // Reached by the keyboard and named for a screen reader.
        QCOMPARE(window->list()->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
        QCOMPARE(window->list()->accessibleName(), QStringLiteral("Keyboard Shortcuts"));

        // It follows the language; the menu command stays English.
        store()->setLanguage(AppLanguage::tr);
        seen = rows();
        QCOMPARE(window->windowTitle(), QStringLiteral("Klavye Kısayolları"));
        QVERIFY(
            seen.contains(QStringLiteral("Ctrl+← ya da Ctrl+→ = Kartı soldaki ya da sağdaki sütuna taşı")));
        QVERIFY(seen.contains(QStringLiteral("Menü tuşu ya da Shift+F10 = Projenin menüsünü aç")));
        QVERIFY(seen.contains(QStringLiteral("Ctrl+2 = İstatistikler sayfasını göster")));
        QCOMPARE(commands()->shortcuts()->text(), QStringLiteral("Keyboard Shortcuts"));

        // The command again brings the same window back; Close closes it.
        window->findChild<QPushButton*>(QStringLiteral("shortcutsClose"))->click();
        QVERIFY(!window->isVisible());
        commands()->shortcuts()->trigger();
        QCOMPARE(commands()->shortcutsWindow(), window.data());
        QVERIFY(window->isVisible());
        // The language is a preference: the next test starts in English.
        store()->setLanguage(AppLanguage::en);
    }

    // File → Export Year Report… asks where, with the year's name in the Documents folder, adds
    // ".pdf" to a bare name, writes the PDF and says so; a cancel does nothing; a failure says
    // why and the data file is never the target.
    void exportYearReport()
    {
        const QMenu* file = m_app->mainWindow()->menuBar()->actions().at(0)->menu();
        QVERIFY(file->actions().contains(commands()->exportReport()));
        QCOMPARE(commands()->exportReport()->text(), QStringLiteral("Export Year Report…"));

        QTemporaryDir out;
        QString answer;
        QString asked;
        QWidget* owner = nullptr;
        commands()->setSavePicker([&](QWidget* parent, const QString& title, const QString& start) {
            owner = parent;
            asked = title + QLatin1Char('|') + start;
            return answer;
        });
        store()->ui().setToast(std::nullopt);
        commands()->exportReport()->trigger();
        QCOMPARE(owner, m_app->mainWindow());
        QVERIFY2(asked.startsWith(QStringLiteral("Export Year Report|")), qPrintable(asked));
        QVERIFY2(asked.endsWith(QStringLiteral("/Tallybrook %1 Report.pdf").arg(store()->activeYear())),
                 qPrintable(asked));
        QVERIFY(!store()->ui().toast());

        answer = out.filePath(QStringLiteral("accounts"));
        commands()->exportReport()->trigger();
        QFile written(answer + QStringLiteral(".pdf"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().startsWith("%PDF-"));
        QVERIFY(store()->ui().toast());
        QCOMPARE(store()->ui().toast()->message,
                 QStringLiteral("Saved the %1 report as accounts.pdf").arg(store()->activeYear()));

        store()->flushPendingSave();
        const QString data = storedText();
        QVERIFY(!data.isEmpty());
        answer = store()->fileURL();
        store()->setLanguage(AppLanguage::tr);
        commands()->exportReport()->trigger();
        QVERIFY2(store()->ui().toast()->message.startsWith(QStringLiteral("Rapor dışa aktarılamadı: ")),
                 qPrintable(store()->ui().toast()->message));
        QCOMPARE(storedText(), data);
        store()->setLanguage(AppLanguage::en);

        // Not while the editor is open.
        commands()->newProject()->trigger();
        QVERIFY(!commands()->exportReport()->isEnabled());
        m_app->mainWindow()->sheet()->dialog()->reject();
        QVERIFY(commands()->exportReport()->isEnabled());
    }

    // File > Export CSV… asks for the active year or all years, then for the file in the save
    // dialog; a name without a suffix gets ".csv", a toast says how many went out, and Cancel in
    // either step writes nothing.
    void exportCsvAsksYearAndFile()
    {
        QCOMPARE(commands()->exportCsv()->text(), QStringLiteral("Export CSV…"));
        QCOMPARE(commands()->exportCsv()->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
        QVERIFY(m_app->mainWindow()->menuBar()->actions().at(0)->menu()->actions().contains(
            commands()->exportCsv()));
        QTemporaryDir dir;
        // Answers the question with `button` (or Cancel), then the save dialog with `file` (or Cancel).
        const auto answer = [](const QString& button, const QString& file) {
            auto* timer = new QTimer;
            timer->setInterval(20);
            connect(timer, &QTimer::timeout, timer, [timer, button, file] {
                QWidget* modal = QApplication::activeModalWidget();
                if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                    auto* chosen = button.isEmpty() ? box->button(QMessageBox::Cancel)
                                                    : box->findChild<QAbstractButton*>(button);
                    if (chosen)
                        chosen->click();
                } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                    if (file.isEmpty()) {
                        dialog->reject();
                    } else {
                        // Typed into the name field: selectFile can lose to the dialog's own
                        // filling of the field while its folder loads.
                        dialog->setDirectory(QFileInfo(file).absolutePath());
                        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                            name->setText(QFileInfo(file).fileName());
                        static_cast<QDialog*>(dialog)->accept(); // as the Save button
                    }
                    timer->deleteLater();
                } else if (!modal && button.isEmpty()) {
                    timer->deleteLater();
                }
            });
            timer->start();
        };
        const int all = int(store()->data().projects.size());
        answer(QStringLiteral("exportAllYears"), dir.filePath(QStringLiteral("everything")));
        commands()->exportCsv()->trigger();
        const QByteArray bytes = [&] {
            QFile f(dir.filePath(QStringLiteral("everything.csv")));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        QVERIFY2(bytes.startsWith("\xEF\xBB\xBFname,client,"),
                 qPrintable(QDir(dir.path()).entryList(QDir::Files).join(u' ') + u' ' +
                            (store()->ui().toast() ? store()->ui().toast()->message : QString())));
        QCOMPARE(bytes.count("\r\n"), all + 1);
        QCOMPARE(store()->ui().toast()->message,
                 QStringLiteral("Exported %1 projects to everything.csv").arg(all));

        answer(QStringLiteral("exportActiveYear"), QString());
        commands()->exportCsv()->trigger();
        answer(QString(), QString());
        commands()->exportCsv()->trigger();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"everything.csv"});
    }

    // File > Import CSV… (Ctrl+I) asks for the file and opens its preview over the window; a file
    // that cannot be imported says why and opens nothing; the editor waits while the preview is
    // open, and a second Ctrl+I brings the same preview forward.
    void importCsvOpensThePreview()
    {
        QCOMPARE(commands()->importCsv()->text(), QStringLiteral("Import CSV…"));
        QCOMPARE(commands()->importCsv()->shortcut(), QKeySequence(QStringLiteral("Ctrl+I")));
        QVERIFY(m_app->mainWindow()->menuBar()->actions().at(0)->menu()->actions().contains(
            commands()->importCsv()));
        QTemporaryDir dir;
        const auto file = [&dir](const QString& name, const QByteArray& bytes) {
            QFile f(dir.filePath(name));
            if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
                return QString();
            return f.fileName();
        };
        QString answer;
        QString asked;
        commands()->setOpenPicker([&](QWidget* parent, const QString& title, const QString&) {
            asked = title + (parent == m_app->mainWindow() ? QStringLiteral(" over the window") : QString());
            return answer;
        });
        store()->ui().setToast(std::nullopt);
        commands()->importCsv()->trigger();
        QCOMPARE(asked, QStringLiteral("Import CSV over the window"));
        QVERIFY(!commands()->importSheet());
        QVERIFY(!store()->ui().toast());

        answer = file(QStringLiteral("empty.csv"), QByteArray());
        commands()->importCsv()->trigger();
        QVERIFY(!commands()->importSheet());
        QCOMPARE(store()->ui().toast()->message,
                 QStringLiteral("Could not import empty.csv: The file is empty."));

        const qsizetype before = store()->data().projects.size();
        const int shownYear = store()->activeYear();
        answer = file(QStringLiteral("year.csv"), "Name,Client,Fee,Status,Date\r\n"
                                                  "Menu cards,Harbour Cafe,450,paid,2024-03-02\r\n"
                                                  "Sign,Harbour Cafe,1200.5,pending,2024-04-11\r\n");
        commands()->importCsv()->trigger();
        QPointer<ImportSheet> sheet = commands()->importSheet();
        QVERIFY(sheet);
        QVERIFY(sheet->isVisible());
        QCOMPARE(sheet->parentWidget(), m_app->mainWindow());
        QVERIFY(!commands()->newProject()->isEnabled());
        commands()->importCsv()->trigger();
        QCOMPARE(commands()->importSheet(), sheet.data());
        QCOMPARE(sheet->importButton()->text(), QStringLiteral("Import 2 Projects"));
        sheet->importButton()->click();
        QTRY_VERIFY(!sheet);
        QCOMPARE(store()->data().projects.size(), before + 2);
        QCOMPARE(store()->ui().toast()->message, QStringLiteral("Imported 2 projects"));
        QCOMPARE(store()->activeYear(), 2024);
        QVERIFY(commands()->newProject()->isEnabled());
        store()->undo();
        QCOMPARE(store()->data().projects.size(), before);
        store()->setActiveYear(shownYear);
    }

    void editorDisablesTheEditingCommands()
    {
        commands()->newProject()->trigger();
        QVERIFY(store()->ui().editor().has_value());
        QVERIFY(store()->ui().editor()->isNew());
        QVERIFY(m_app->mainWindow()->sheet()->dialog());
        for (QAction* a : {commands()->newProject(), commands()->settings(), commands()->findProject(),
                           commands()->tab(MainTab::board), commands()->tab(MainTab::stats),
                           commands()->tab(MainTab::settings)})
            QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
        for (QAction* a :
             {commands()->showWindow(), commands()->minimize(), commands()->zoom(), commands()->quit()})
            QVERIFY2(a->isEnabled(), qPrintable(a->text()));

        m_app->mainWindow()->sheet()->dialog()->reject();
        QVERIFY(!store()->ui().editor().has_value());
        for (QAction* a : {commands()->newProject(), commands()->settings(), commands()->findProject(),
                           commands()->tab(MainTab::stats)})
            QVERIFY2(a->isEnabled(), qPrintable(a->text()));
    }

    // The window commands work from the sheet, by shortcut and through the menus; the content
    // behind the sheet stays out of reach; Quit drops the draft and writes what is pending.
    void commandsReachableWhileEditing()
    {
        MainWindow* window = m_app->mainWindow();
        QLineEdit* field = openSheet();
        QVERIFY(field);
        QDialog* sheet = window->sheet()->dialog();

        // The content is blocked: a click on the statistics tab changes nothing.
        QTest::mouseClick(window->header()->tabs()->optionButton(1), Qt::LeftButton);
        QCOMPARE(store()->ui().tab(), MainTab::board);
        // Disabled items stay disabled through their shortcuts.
        QTest::keyClick(field, Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(store()->ui().tab(), MainTab::board);

        QTest::keyClick(field, Qt::Key_M, Qt::ControlModifier);
        QVERIFY(window->isMinimized());
        QTest::keyClick(field, Qt::Key_0, Qt::ControlModifier);
        QVERIFY(!window->isMinimized());
        QVERIFY(window->isVisible());
        QVERIFY(sheet->isVisible());

        QVERIFY(clickMenuItem(window->menuBar(), 3, commands()->zoom()));
        QTRY_VERIFY(window->isMaximized());
        QVERIFY(clickMenuItem(window->menuBar(), 3, commands()->zoom()));
        QTRY_VERIFY(!window->isMaximized());
        QCOMPARE(window->sheet()->dialog(), sheet);

        // Quit from the sheet, with a change not yet written and a draft in the editor.
        QTest::keyClicks(field, QStringLiteral("Draft Never Saved"));
        store()->update([](AppData& d) { d.targetGoal = 123457; });
        QVERIFY(!storedText().contains(QLatin1String("123457")));
        QTimer::singleShot(0, field, [field] { QTest::keyClick(field, Qt::Key_Q, Qt::ControlModifier); });
        QTimer giveUp;
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, qApp, [] { QCoreApplication::exit(7); });
        giveUp.start(3000);
        QCOMPARE(QCoreApplication::exec(), 0);
        const QString stored = storedText();
        QVERIFY(stored.contains(QLatin1String("123457")));
        QVERIFY(!stored.contains(QLatin1String("Draft Never Saved")));
    }

    // Cut, Copy, Paste and Select All act on the focused text field and are off without one.
    void textCommandsFollowFocus()
    {
        QList<QAction*> text;
        for (const char* name : {"cutAction", "copyAction", "pasteAction", "selectAllAction"})
            text << commands()->findChild<QAction*>(QLatin1String(name));
        QCOMPARE(text.size(), 4);
        for (QAction* a : text)
            QVERIFY(a);
        // Sending a command to a widget without it logged "No such method" from invokeMethod.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("invokeMethod|No such")));

        MainWindow* window = m_app->mainWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->menuBar()->setFocus();
        QVERIFY(!qobject_cast<QLineEdit*>(QApplication::focusWidget()));
        for (QAction* a : text) {
            QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
            a->trigger(); // nothing happens, nothing is logged
        }

        QLineEdit* field = openSheet();
        QVERIFY(field);
        for (QAction* a : text)
            QVERIFY2(a->isEnabled(), qPrintable(a->text()));
        field->setText(QStringLiteral("Poster"));
        field->deselect();
        text[3]->trigger();
        QCOMPARE(field->selectedText(), QStringLiteral("Poster"));
        text[1]->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Poster"));
        text[0]->trigger();
        QCOMPARE(field->text(), QString());
        text[2]->trigger();
        text[2]->trigger();
        QCOMPARE(field->text(), QStringLiteral("PosterPoster"));

        // A date field takes them as the text field it is.
        auto* date = window->sheet()->dialog()->findChild<QAbstractSpinBox*>();
        QVERIFY(date);
        date->setFocus();
        QVERIFY(text[3]->isEnabled());
        text[3]->trigger();
        auto* dateText = date->findChild<QLineEdit*>();
        QVERIFY(dateText);
        QCOMPARE(dateText->selectedText(), dateText->text());
    }

    void findProjectShowsTheBarOnce()
    {
        commands()->settings()->trigger();
        QCOMPARE(store()->ui().tab(), MainTab::settings);
        QSignalSpy shown(&store()->ui(), &UiState::searchVisibleChanged);
        commands()->findProject()->trigger();
        QCOMPARE(store()->ui().tab(), MainTab::board);
        QVERIFY(store()->ui().searchVisible());
        QCOMPARE(shown.size(), 1);
        commands()->findProject()->trigger();
        QVERIFY(store()->ui().searchVisible());
        QCOMPARE(shown.size(), 1);

        commands()->tab(MainTab::settings)->trigger();
        QCOMPARE(store()->ui().tab(), MainTab::settings);
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
        QCOMPARE(m_app->mainWindow()->menuBar()->actions().size(), 5);

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
