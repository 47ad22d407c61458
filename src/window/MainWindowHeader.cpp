#include "window/MainWindowHeader.h"

#include "model/Store.h"
#include "ui/GlyphButton.h"
#include "ui/InkButton.h"
#include "ui/LogoView.h"
#include "ui/PillSegment.h"
#include "ui/Theme.h"
#include "ui/YearMenu.h"
#include "window/SampleTip.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QWindow>

namespace {
// The logo as a plain button: the whole logo is the click target.
class LogoButton final : public QAbstractButton
{
public:
    explicit LogoButton(QWidget* parent) : QAbstractButton(parent), m_logo(new LogoView(132, this))
    {
        m_logo->setAttribute(Qt::WA_TransparentForMouseEvents);
        setCursor(Qt::PointingHandCursor);
        setAccessibleName(QStringLiteral("Tallybrook"));
        setFixedSize(m_logo->sizeHint());
    }
    QSize sizeHint() const override { return m_logo->sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {}

private:
    LogoView* m_logo;
};

// The search button: a white circle with a hairline, pressed into the segment colour.
GlyphButton::Look searchLook()
{
    GlyphButton::Look look{
        QStringLiteral("magnifyingglass"), Theme::secondary(), 12, QFont::DemiBold, 34, Qt::white};
    look.pressedCircle = Theme::segment();
    look.outline = Theme::outline();
    look.circleInset = 0.5;
    return look;
}
} // namespace

MainWindowHeader::MainWindowHeader(Store& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    setObjectName(QStringLiteral("header"));
    m_grid = new QGridLayout(this);
    m_grid->setContentsMargins(32, 34, 32, 18);
    m_grid->setSpacing(0);

    auto* row = new QHBoxLayout;
    row->setSpacing(14);
    m_logo = new LogoButton(this);
    m_logo->setObjectName(QStringLiteral("logoButton"));
    m_years = new YearMenu(store, this);
    m_years->setObjectName(QStringLiteral("yearMenu"));
    m_search = new GlyphButton(searchLook(), this);
    m_search->setObjectName(QStringLiteral("searchButton"));
    m_search->setAccessibleName(QStringLiteral("Search"));
    m_newProject = new InkButton(QString(), QStringLiteral("plus"), this);
    m_newProject->setObjectName(QStringLiteral("newProjectButton"));
    row->addWidget(m_logo, 0, Qt::AlignVCenter);
    row->addWidget(m_years, 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(m_search, 0, Qt::AlignVCenter);
    row->addWidget(m_newProject, 0, Qt::AlignVCenter);
    m_grid->addLayout(row, 0, 0);

    // The tabs and the tip sit over the middle of the row, placed by hand (placeCentre): a layout
    // would let them overlap its sides in a narrow window, and the tip's shadow would make the
    // header taller while it shows.
    m_tabs = new PillSegment(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->setOptionRole(QAccessible::PageTab);
    m_tip = new SampleTip(store, this);
    row->addStrut(m_tabs->sizeHint().height());
    for (QWidget* w : std::initializer_list<QWidget*>{m_tabs, m_tip, m_years, m_search, m_newProject})
        w->installEventFilter(this);

    connect(m_logo, &QAbstractButton::clicked, &m_store, [this] { m_store.ui().setTab(MainTab::board); });
    connect(m_search, &QAbstractButton::clicked, &m_store,
            [this] { m_store.ui().setSearchVisible(!m_store.ui().searchVisible()); });
    connect(m_newProject, &QAbstractButton::clicked, &m_store,
            [this] { m_store.ui().setEditor(EditorTarget::newProject()); });
    connect(m_tabs, &PillSegment::selectionChanged, &m_store,
            [this](const QVariant& v) { m_store.ui().setTab(MainTab(v.toInt())); });
    connect(&m_store.ui(), &UiState::tabChanged, this,
            [this] { m_tabs->setSelection(int(m_store.ui().tab())); });
    connect(&m_store, &Store::languageChanged, this, &MainWindowHeader::retranslate);
    retranslate();
}

void MainWindowHeader::retranslate()
{
    const Store& s = m_store;
    QVector<PillSegment::Option> options;
    for (MainTab tab : MainTabInfo::all)
        options.append({int(tab), s.tabTitle(tab), QString()});
    m_tabs->setOptions(options);
    m_tabs->setSelection(int(s.ui().tab()));
    m_search->setToolTip(s.tr(QStringLiteral("Search (Ctrl+F)"), QStringLiteral("Ara (Ctrl+F)")));
    m_newProject->setText(s.tr(QStringLiteral("New Project"), QStringLiteral("Yeni Proje")));
    m_newProject->setToolTip(
        s.tr(QStringLiteral("New Project (Ctrl+N)"), QStringLiteral("Yeni Proje (Ctrl+N)")));
    m_newProject->updateGeometry();
    placeCentre();
}

void MainWindowHeader::placeCentre()
{
    const QRect row = m_grid->cellRect(0, 0);
    if (!row.isValid())
        return;
    const int left = m_years->geometry().right() + 1 + kSideGap;
    const int right = m_search->geometry().left() - kSideGap;
    const QSize tabs = m_tabs->sizeHint();
    const bool withTip = !m_tip->isHidden();
    const int tipWanted = withTip ? m_tip->sizeHint().width() : 0;
    const int wanted = tabs.width() + (withTip ? kTipGap + tipWanted : 0);
    // Centred on the window when there is room; otherwise in the room between the two sides, the
    // tip shortening its text first.
    int x = (width() - wanted) / 2;
    if (x < left || x + wanted > right)
        x = left + std::max(0, (right - left - wanted) / 2);
    m_tabs->setGeometry(QRect(QPoint(x, row.top() + (row.height() - tabs.height()) / 2), tabs));
    if (!withTip)
        return;
    const int tipLeft = x + tabs.width() + kTipGap;
    int tipWidth = std::min(tipWanted, right - tipLeft);
    // Narrower than its symbols and a few letters, it gives way altogether.
    if (tipWidth < m_tip->minimumSizeHint().width())
        tipWidth = 0;
    const int tipHeight = m_tip->sizeHint().height();
    m_tip->setGeometry(tipLeft, row.top() + (row.height() - tipHeight) / 2, tipWidth, tipHeight);
}

bool MainWindowHeader::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    // The sides moved or changed size (the year, the language), or the tip was shown or dismissed.
    const bool side = watched != m_tabs && watched != m_tip;
    if ((side && (type == QEvent::Move || type == QEvent::Resize)) || type == QEvent::Show ||
        type == QEvent::Hide)
        placeCentre();
    return QWidget::eventFilter(watched, event);
}

bool MainWindowHeader::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    // A child asked for new room (the tabs after a language change): the row is laid out by now.
    if (event->type() == QEvent::LayoutRequest)
        placeCentre();
    return handled;
}

void MainWindowHeader::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeCentre();
}

void MainWindowHeader::setTopPadding(int padding)
{
    QMargins m = m_grid->contentsMargins();
    m.setTop(padding);
    m_grid->setContentsMargins(m);
}

void MainWindowHeader::mousePressEvent(QMouseEvent* event)
{
    // The header doubles as a title bar: its background moves the window.
    if (event->button() == Qt::LeftButton && window()->windowHandle()) {
        window()->windowHandle()->startSystemMove();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}
