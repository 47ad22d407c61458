#pragma once

#include "model/StoreTypes.h"
#include "window/MainWindowPages.h"

#include <QHash>
#include <QMainWindow>

class MainWindowHeader;
class MainWindowSheet;
class QMenuBar;
class QScrollArea;
class QVBoxLayout;
class SearchBar;
class Store;
class Announcer;
class ToastView;

// The main window: header, search bar, divider and the scrolling page of the current tab, with
// the toast over its bottom-right corner and the editor sheet attached to it.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr QSize kMinimumSize{1040, 680};
    static constexpr QSize kDefaultSize{1320, 860};

    explicit MainWindow(Store& store, MainWindowPages::Factory pages = &MainWindowPages::standard,
                        QWidget* parent = nullptr);

    // Puts the application's menu bar on top of the header, in the header's cream.
    void installMenuBar(QMenuBar* bar);

    Store& store() const { return m_store; }
    MainWindowHeader* header() const { return m_header; }
    SearchBar* searchBar() const { return m_searchBar; }
    QScrollArea* pageArea() const { return m_area; }
    // The page of the current tab.
    QWidget* currentPage() const { return m_pages.value(int(m_shownTab)); }
    ToastView* toast() const { return m_toast; }
    Announcer* announcer() const { return m_announcer; }
    MainWindowSheet* sheet() const { return m_sheet; }

signals:
    // The window's content was shown for the first time.
    void opened();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showTab(MainTab tab);

    Store& m_store;
    MainWindowPages::Factory m_factory;
    MainWindowHeader* m_header;
    SearchBar* m_searchBar;
    QScrollArea* m_area;
    QWidget* m_pageHost;
    QVBoxLayout* m_pageLayout;
    QHash<int, QWidget*> m_pages;
    MainTab m_shownTab = MainTab::board;
    ToastView* m_toast;
    Announcer* m_announcer;
    MainWindowSheet* m_sheet;
    bool m_opened = false;
};
