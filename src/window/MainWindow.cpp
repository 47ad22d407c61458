#include "window/MainWindow.h"

#include "board/DragScroller.h"
#include "model/Store.h"
#include "ui/Announcer.h"
#include "ui/CreamScroller.h"
#include "ui/Theme.h"
#include "window/MainWindowHeader.h"
#include "window/MainWindowSheet.h"
#include "window/SearchBar.h"
#include "window/ToastView.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
// The thin line under the header and search bar.
class Divider final : public QWidget
{
public:
    explicit Divider(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("divider"));
        setFixedHeight(1);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setOpacity(0.6);
        p.fillRect(rect(), Theme::divider());
    }
};

class CreamContent final : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Theme::cream()); }
};
} // namespace

MainWindow::MainWindow(Store& store, MainWindowPages::Factory pages, QWidget* parent)
    : QMainWindow(parent), m_store(store), m_factory(std::move(pages))
{
    // Presence finds the main window by this name.
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Tallybrook"));
    setMinimumSize(kMinimumSize);
    resize(kDefaultSize);

    auto* content = new CreamContent(this);
    content->setObjectName(QStringLiteral("content"));
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_header = new MainWindowHeader(store, content);
    m_searchBar = new SearchBar(store, content);
    column->addWidget(m_header);
    column->addWidget(m_searchBar);
    column->addWidget(new Divider(content));

    m_area = new QScrollArea(content);
    m_area->setObjectName(QStringLiteral("pageArea"));
    // No Tab stop of its own: the keys that scroll reach it from whatever inside has the focus.
    m_area->setFocusPolicy(Qt::NoFocus);
    m_area->setFrameShape(QFrame::NoFrame);
    m_area->setWidgetResizable(true);
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pageHost = new QWidget;
    m_pageHost->setObjectName(QStringLiteral("pageHost"));
    m_pageHost->setAutoFillBackground(false);
    m_pageLayout = new QVBoxLayout(m_pageHost);
    m_pageLayout->setContentsMargins(32, 24, 32, 40);
    m_pageLayout->setSpacing(0);
    m_area->setWidget(m_pageHost);
    m_area->viewport()->setAutoFillBackground(false);
    creamScroller(m_area);
    new DragScroller(m_area);
    column->addWidget(m_area, 1);
    setCentralWidget(content);

    m_toast = new ToastView(store, content);
    m_announcer = new Announcer(content);
    m_sheet = new MainWindowSheet(store, this);

    connect(&m_store.ui(), &UiState::tabChanged, this, [this] {
        showTab(m_store.ui().tab());
        // The page is named as the tabs switch, whichever way they were switched.
        m_announcer->say(m_store.tabTitle(m_store.ui().tab()));
    });
    showTab(m_store.ui().tab());
}

void MainWindow::installMenuBar(QMenuBar* bar)
{
    setMenuBar(bar);
    // The menu bar takes the top of the header's band rather than adding to it.
    m_header->setTopPadding(qMax(8, 34 - bar->sizeHint().height()));
}

void MainWindow::showTab(MainTab tab)
{
    QWidget* old = m_pages.value(int(m_shownTab));
    QWidget* page = m_pages.value(int(tab));
    if (!page) {
        page = m_factory ? m_factory(tab, m_store, m_pageHost) : nullptr;
        if (!page)
            page = MainWindowPages::emptyPage(tab, m_pageHost);
        m_pages.insert(int(tab), page);
    }
    if (old != page || m_pageLayout->indexOf(page) < 0) {
        if (old) {
            m_pageLayout->removeWidget(old);
            old->hide();
        }
        m_pageLayout->addWidget(page, 1);
        // A page of a window not yet shown appears with it; showing it now would lay it out
        // at a size it never has.
        if (page->isHidden())
            page->show();
    }
    m_shownTab = tab;
    // Every tab opens at its top.
    m_area->verticalScrollBar()->setValue(0);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_opened) {
        m_opened = true;
        emit opened();
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    // A window on its way to deletion is no longer the one to bring back.
    if (event->isAccepted() && testAttribute(Qt::WA_DeleteOnClose))
        setObjectName(QString());
}
