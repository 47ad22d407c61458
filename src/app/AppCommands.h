#pragma once

#include "model/StoreTypes.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class QAction;
class QMenuBar;
class QWidget;
class ImportSheet;
class ShortcutsWindow;
class Store;

// The application's menu commands and their shortcuts. The actions live as long as the
// application; each main window gets a menu bar that shows them.
class AppCommands final : public QObject
{
    Q_OBJECT

public:
    // Brings the main window forward (creating it when there is none) and returns it.
    using ShowMainWindow = std::function<QWidget*()>;

    // Asks where to save a file; an empty answer is a cancel. QFileDialog::getSaveFileName unless
    // replaced (tests).
    using SavePicker = std::function<QString(QWidget* parent, const QString& title, const QString& start)>;

    // Asks which file to open; an empty answer is a cancel. QFileDialog::getOpenFileName unless
    // replaced (tests).
    using OpenPicker = SavePicker;

    AppCommands(Store& store, ShowMainWindow showMainWindow, QObject* parent = nullptr);

    // A menu bar (File, Edit, View, Window, Help) over these actions, styled for the cream header.
    QMenuBar* createMenuBar(QWidget* parent) const;

    QAction* newProject() const { return m_newProject; }
    QAction* exportCsv() const { return m_exportCsvAction; }
    QAction* importCsv() const { return m_importCsvAction; }
    // The import preview while it is open.
    ImportSheet* importSheet() const;
    void setOpenPicker(OpenPicker picker) { m_openPicker = std::move(picker); }
    QAction* showWindow() const { return m_showWindow; }
    QAction* settings() const { return m_settings; }
    QAction* findProject() const { return m_find; }
    QAction* tab(MainTab tab) const { return m_tabs.value(int(tab)); }
    QAction* minimize() const { return m_minimize; }
    QAction* zoom() const { return m_zoom; }
    QAction* quit() const { return m_quit; }
    QAction* shortcuts() const { return m_shortcuts; }
    // The Keyboard Shortcuts window while it exists.
    ShortcutsWindow* shortcutsWindow() const;
    QAction* exportReport() const { return m_exportReport; }
    void setSavePicker(SavePicker picker) { m_savePicker = std::move(picker); }

private:
    QAction* add(const QString& text, const QKeySequence& shortcut, const QString& name,
                 std::function<void()> run);
    void updateEnabled();
    void showTab(MainTab tab);
    // Asks for a file and writes the active year's report there; a toast says how it went.
    void saveYearReport();
    // Asks for the active year or all years, then for the file (the desktop's save dialog).
    void runExportCsv();
    // Asks for a CSV file and opens its import preview; a file that cannot be read says why.
    void runImportCsv();

    Store& m_store;
    ShowMainWindow m_showMainWindow;
    QAction* m_newProject;
    QAction* m_exportCsvAction;
    QAction* m_importCsvAction;
    OpenPicker m_openPicker;
    QPointer<ImportSheet> m_importSheet;
    QAction* m_showWindow;
    QAction* m_settings;
    QAction* m_find;
    QHash<int, QAction*> m_tabs;
    QAction* m_minimize;
    QAction* m_zoom;
    QAction* m_quit;
    QAction* m_shortcuts;
    QPointer<ShortcutsWindow> m_shortcutsWindow;
    QAction* m_exportReport;
    SavePicker m_savePicker;
    QList<QAction*> m_textEditing;
};
