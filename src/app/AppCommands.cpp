#include "app/AppCommands.h"

#include "app/ImportSheet.h"
#include "app/MinimizeToMenuBar.h"
#include "app/Presence.h"
#include "app/ShortcutsWindow.h"
#include "model/Store.h"
#include "report/YearReport.h"
#include "ui/Theme.h"
#include "window/SheetModality.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextEdit>
#include <QWidget>

namespace {
enum class TextCommand { cut, copy, paste, selectAll };

// The text field behind the focus: a line edit itself, or the one inside a spin box, date
// field or editable pop-up.
QLineEdit* lineEditOf(QWidget* focus)
{
    if (auto* edit = qobject_cast<QLineEdit*>(focus))
        return edit;
    if (auto* combo = qobject_cast<QComboBox*>(focus))
        return combo->lineEdit();
    if (qobject_cast<QAbstractSpinBox*>(focus))
        return focus->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
    return nullptr;
}

// Runs `apply` on the text field that has the focus, whichever kind it is; false when none has.
template <class Apply> bool withFocusedField(Apply apply)
{
    QWidget* focus = QApplication::focusWidget();
    if (QLineEdit* edit = lineEditOf(focus))
        apply(edit);
    else if (auto* text = qobject_cast<QTextEdit*>(focus))
        apply(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus))
        apply(plain);
    else
        return false;
    return true;
}

// Where the file dialogs start: the Documents folder, or home where there is none.
QString documentsFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder.isEmpty() || !QFileInfo(folder).isDir() ? QDir::homePath() : folder;
}

bool textFieldHasFocus()
{
    return withFocusedField([](auto*) {});
}

// Text commands go to whichever text field has the focus; with none they are disabled.
void sendToFocus(TextCommand command)
{
    withFocusedField([command](auto* field) {
        switch (command) {
        case TextCommand::cut:
            field->cut();
            break;
        case TextCommand::copy:
            field->copy();
            break;
        case TextCommand::paste:
            field->paste();
            break;
        case TextCommand::selectAll:
            field->selectAll();
            break;
        }
    });
}
} // namespace

AppCommands::AppCommands(Store& store, ShowMainWindow showMainWindow, QObject* parent)
    : QObject(parent), m_store(store), m_showMainWindow(std::move(showMainWindow))
{
    // Command texts stay English in both interface languages.
    m_newProject = add(QStringLiteral("New Project…"), QKeySequence(Qt::CTRL | Qt::Key_N),
                       QStringLiteral("newProjectAction"), [this] {
                           m_showMainWindow();
                           m_store.ui().setEditor(EditorTarget::newProject());
                       });
    m_exportCsvAction = add(QStringLiteral("Export CSV…"), QKeySequence(Qt::CTRL | Qt::Key_E),
                            QStringLiteral("exportCsvAction"), [this] { runExportCsv(); });
    m_importCsvAction = add(QStringLiteral("Import CSV…"), QKeySequence(Qt::CTRL | Qt::Key_I),
                            QStringLiteral("importCsvAction"), [this] { runImportCsv(); });
    m_openPicker = [](QWidget* owner, const QString& title, const QString& start) {
        return QFileDialog::getOpenFileName(
            owner, title, start,
            QStringLiteral("CSV (*.csv *.txt *.tsv);;%1 (*)")
                .arg(owner ? owner->tr("All files") : QStringLiteral("All files")));
    };
    m_showWindow = add(QStringLiteral("Show Tallybrook Window"), QKeySequence(Qt::CTRL | Qt::Key_0),
                       QStringLiteral("showWindowAction"), [this] { m_showMainWindow(); });
    m_settings = add(QStringLiteral("Settings…"), QKeySequence(Qt::CTRL | Qt::Key_Comma),
                     QStringLiteral("settingsAction"), [this] { showTab(MainTab::settings); });
    m_find = add(QStringLiteral("Find Project"), QKeySequence(Qt::CTRL | Qt::Key_F),
                 QStringLiteral("findAction"), [this] {
                     showTab(MainTab::board);
                     if (!m_store.ui().searchVisible())
                         m_store.ui().setSearchVisible(true);
                 });
    const QString tabNames[] = {QStringLiteral("Board"), QStringLiteral("Statistics"),
                                QStringLiteral("Settings")};
    for (int i = 0; i < int(MainTabInfo::all.size()); ++i) {
        const MainTab tab = MainTabInfo::all[size_t(i)];
        m_tabs.insert(int(tab),
                      add(tabNames[i], QKeySequence(QKeyCombination(Qt::CTRL, Qt::Key(Qt::Key_1 + i))),
                          QStringLiteral("tabAction_") + MainTabInfo::rawValue(tab),
                          [this, tab] { showTab(tab); }));
    }
    m_minimize = add(QStringLiteral("Minimize"), QKeySequence(Qt::CTRL | Qt::Key_M),
                     QStringLiteral("minimizeAction"), [] {
                         QWidget* window = Presence::mainWindow();
                         if (!window)
                             return;
                         if (Presence::hasTaskbarEntry())
                             window->showMinimized();
                         else
                             MinimizeToMenuBar::shared().hide(); // the sheet goes with it
                     });
    m_zoom = add(QStringLiteral("Zoom"), QKeySequence(), QStringLiteral("zoomAction"), [] {
        QWidget* window = Presence::mainWindow();
        if (!window)
            return;
        if (window->isMaximized())
            window->showNormal();
        else
            window->showMaximized();
    });
    m_exportReport = add(QStringLiteral("Export Year Report…"), QKeySequence(),
                         QStringLiteral("exportReportAction"), [this] { saveYearReport(); });
    m_savePicker = [](QWidget* owner, const QString& title, const QString& start) {
        QFileDialog dialog(owner, title, start, QStringLiteral("PDF (*.pdf)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // A bare name gets ".pdf" before the dialog asks about replacing a file.
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    m_quit =
        add(QStringLiteral("Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), QStringLiteral("quitAction"), [this] {
            // The editor's draft is dropped as with Cancel; what the document holds is
            // written now, whatever the open windows do with the quit.
            m_store.saveBeforeQuit();
            QCoreApplication::quit();
        });

    m_shortcuts = add(QStringLiteral("Keyboard Shortcuts"), QKeySequence(Qt::CTRL | Qt::Key_Slash),
                      QStringLiteral("shortcutsAction"), [this] {
                          QWidget* window = m_showMainWindow();
                          if (!m_shortcutsWindow)
                              m_shortcutsWindow = new ShortcutsWindow(m_store, *this, window);
                          m_shortcutsWindow->show();
                          m_shortcutsWindow->raise();
                          m_shortcutsWindow->activateWindow();
                      });

    m_textEditing << add(QStringLiteral("Cut"), QKeySequence(), QStringLiteral("cutAction"), [] {
        sendToFocus(TextCommand::cut);
    }) << add(QStringLiteral("Copy"), QKeySequence(), QStringLiteral("copyAction"), [] {
        sendToFocus(TextCommand::copy);
    }) << add(QStringLiteral("Paste"), QKeySequence(), QStringLiteral("pasteAction"), [] {
        sendToFocus(TextCommand::paste);
    }) << add(QStringLiteral("Select All"), QKeySequence(), QStringLiteral("selectAllAction"), [] {
        sendToFocus(TextCommand::selectAll);
    });
    // The fields handle these keys themselves; the menu only shows them.
    const QKeySequence::StandardKey keys[] = {QKeySequence::Cut, QKeySequence::Copy, QKeySequence::Paste,
                                              QKeySequence::SelectAll};
    for (int i = 0; i < m_textEditing.size(); ++i) {
        m_textEditing[i]->setShortcut(QKeySequence(keys[i]));
        m_textEditing[i]->setShortcutContext(Qt::WidgetShortcut);
    }

    connect(&m_store.ui(), &UiState::editorChanged, this, &AppCommands::updateEnabled);
    if (qApp)
        connect(qApp, &QApplication::focusChanged, this, &AppCommands::updateEnabled);
    updateEnabled();
}

QAction* AppCommands::add(const QString& text, const QKeySequence& shortcut, const QString& name,
                          std::function<void()> run)
{
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::ApplicationShortcut);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return action;
}

ImportSheet* AppCommands::importSheet() const
{
    return m_importSheet;
}

ShortcutsWindow* AppCommands::shortcutsWindow() const
{
    return m_shortcutsWindow;
}

void AppCommands::runExportCsv()
{
    QWidget* window = m_showMainWindow();
    const int year = m_store.activeYear();
    QMessageBox ask(QMessageBox::Question,
                    m_store.tr(QStringLiteral("Export CSV"), QStringLiteral("CSV Dışa Aktar")),
                    m_store.tr(QStringLiteral("Which projects should the file hold?"),
                               QStringLiteral("Dosyada hangi projeler olsun?")),
                    QMessageBox::Cancel, window);
    ask.setObjectName(QStringLiteral("exportCsvChoice"));
    QPushButton* activeYear = ask.addButton(
        m_store.tr(QStringLiteral("Year %1"), QStringLiteral("%1 Yılı")).arg(year), QMessageBox::AcceptRole);
    QPushButton* allYears = ask.addButton(
        m_store.tr(QStringLiteral("All Years"), QStringLiteral("Tüm Yıllar")), QMessageBox::AcceptRole);
    activeYear->setObjectName(QStringLiteral("exportActiveYear"));
    allYears->setObjectName(QStringLiteral("exportAllYears"));
    ask.setDefaultButton(activeYear);
    ask.exec();
    if (ask.clickedButton() != activeYear && ask.clickedButton() != allYears)
        return;
    const bool all = ask.clickedButton() == allYears;

    const QString folder = documentsFolder();
    const QString suggested = folder + (all ? QStringLiteral("/tallybrook-projects.csv")
                                            : QStringLiteral("/tallybrook-%1.csv").arg(year));
    QString path = QFileDialog::getSaveFileName(
        window, m_store.tr(QStringLiteral("Export CSV"), QStringLiteral("CSV Dışa Aktar")), suggested,
        m_store.tr(QStringLiteral("CSV files (*.csv)"), QStringLiteral("CSV dosyaları (*.csv)")));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    m_store.exportCsv(path, all);
}

void AppCommands::runImportCsv()
{
    QWidget* window = m_showMainWindow();
    if (m_importSheet) {
        m_importSheet->raise();
        m_importSheet->activateWindow();
        return;
    }
    const QString folder = documentsFolder();
    const QString path = m_openPicker(window, ImportSheet::title(m_store), folder);
    if (path.isEmpty())
        return;
    CsvImport::Preview refused;
    const std::optional<QByteArray> bytes = CsvImport::readFile(path, &refused);
    auto* sheet = bytes ? new ImportSheet(m_store, *bytes, QFileInfo(path).fileName(), window) : nullptr;
    if (sheet && sheet->preview().refusal != CsvImport::Preview::Refusal::none)
        refused = sheet->preview();
    if (refused.refusal != CsvImport::Preview::Refusal::none) {
        delete sheet;
        // Longer than a confirmation: the reason needs reading.
        m_store.ui().show(
            m_store.tr(QStringLiteral("Could not import %1: "), QStringLiteral("%1 içe aktarılamadı: "))
                    .arg(QFileInfo(path).fileName()) +
                CsvImport::refusalText(refused, m_store),
            false, 8);
        return;
    }
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    // Modal to the window's content only, as the editor is.
    new SheetModality(sheet, window);
    SheetModality::centre(sheet, window);
    m_importSheet = sheet;
    connect(sheet, &QDialog::finished, this, &AppCommands::updateEnabled);
    sheet->show();
    updateEnabled();
}

void AppCommands::showTab(MainTab tab)
{
    m_showMainWindow();
    m_store.ui().setTab(tab);
}

void AppCommands::saveYearReport()
{
    QWidget* window = m_showMainWindow();
    const QString folder = documentsFolder();
    QString path = m_savePicker(
        window, m_store.tr(QStringLiteral("Export Year Report"), QStringLiteral("Yıl Raporunu Dışa Aktar")),
        folder + QLatin1Char('/') + YearReport::fileName(m_store));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    QString error;
    if (!YearReport::write(m_store, path, m_store.fileURL(), &error)) {
        // Longer than a confirmation: the reason needs reading.
        m_store.ui().show(m_store.tr(QStringLiteral("Could not export the report: "),
                                     QStringLiteral("Rapor dışa aktarılamadı: ")) +
                              error,
                          false, 8);
        return;
    }
    m_store.ui().show(
        m_store
            .tr(QStringLiteral("Saved the %1 report as %2"), QStringLiteral("%1 raporu %2 olarak kaydedildi"))
            .arg(QString::number(m_store.activeYear()), QFileInfo(path).fileName()));
}

void AppCommands::updateEnabled()
{
    // While the editor sheet is open only window commands make sense.
    const bool editing = m_store.ui().editor().has_value();
    for (QAction* action :
         {m_newProject, m_settings, m_find, m_exportReport, m_exportCsvAction, m_importCsvAction})
        action->setEnabled(!editing);
    // One sheet at a time: the editor waits for the import to finish or be cancelled.
    if (m_importSheet && m_importSheet->isVisible())
        m_newProject->setEnabled(false);
    for (QAction* action : std::as_const(m_tabs))
        action->setEnabled(!editing);
    const bool text = textFieldHasFocus();
    for (QAction* action : std::as_const(m_textEditing))
        action->setEnabled(text);
}

QMenuBar* AppCommands::createMenuBar(QWidget* parent) const
{
    auto* bar = new QMenuBar(parent);
    bar->setObjectName(QStringLiteral("commandsMenuBar"));
    bar->setNativeMenuBar(false);

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(m_newProject);
    file->addAction(m_showWindow);
    file->addSeparator();
    file->addAction(m_importCsvAction);
    file->addAction(m_exportCsvAction);
    file->addAction(m_exportReport);
    file->addSeparator();
    file->addAction(m_quit);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->addActions(m_textEditing);
    edit->addSeparator();
    edit->addAction(m_find);
    edit->addSeparator();
    edit->addAction(m_settings);

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    for (MainTab tab : MainTabInfo::all)
        view->addAction(m_tabs.value(int(tab)));
    view->addSeparator();

    QMenu* window = bar->addMenu(QStringLiteral("&Window"));
    window->addAction(m_minimize);
    window->addAction(m_zoom);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(m_shortcuts);

    bar->setFont(Theme::font(12, QFont::Medium));
    bar->setStyleSheet(
        QStringLiteral("QMenuBar { background: %1; color: %2; border: none; padding: 2px 24px; }"
                       "QMenuBar::item { background: transparent; padding: 4px 10px; border-radius: 6px; }"
                       "QMenuBar::item:selected, QMenuBar::item:pressed { background: %3; color: %4; }")
            .arg(Theme::cream().name(), Theme::secondary().name(), Theme::segment().name(),
                 Theme::ink().name()));
    return bar;
}
