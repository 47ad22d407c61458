#include "ui/YearMenu.h"

#include "model/Store.h"
#include "ui/Icons.h"
#include "ui/KeyboardFocus.h"
#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QMenu>
#include <QPainter>

namespace {
constexpr int kPadX = 14;
constexpr int kPadY = 5;
constexpr int kChevron = 9;
constexpr int kGap = 6;

} // namespace

YearMenu::YearMenu(Store& store, QWidget* parent)
    : QPushButton(parent), m_store(store), m_menu(new QMenu(this))
{
    KeyboardFocus::track(this);
    setObjectName(QStringLiteral("yearMenu"));
    setFont(Theme::font(12, QFont::Bold));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_menu->setObjectName(QStringLiteral("yearMenuPopup"));
    setMenu(m_menu);
    // The years come from the projects: gathered when the menu opens, not on every change.
    connect(m_menu, &QMenu::aboutToShow, this, &YearMenu::rebuildMenu);
    connect(&store, &Store::activeYearChanged, this, &YearMenu::refresh);
    refresh();
}

void YearMenu::refresh()
{
    const int year = m_store.activeYear();
    // A plain integer: no grouping separator whatever the locale.
    setText(QString::number(year));
    setAccessibleName(QStringLiteral("Year %1").arg(year));
    updateGeometry();
    update();
}

void YearMenu::rebuildMenu()
{
    m_menu->clear();
    const int active = m_store.activeYear();
    for (int year : m_store.years()) {
        QAction* action = m_menu->addAction(QString::number(year));
        action->setCheckable(true);
        action->setChecked(year == active);
        action->setData(year);
        connect(action, &QAction::triggered, this, [this, year] {
            if (m_store.activeYear() != year)
                m_store.setActiveYear(year);
        });
    }
}

QSize YearMenu::sizeHint() const
{
    const QFontMetrics fm(font());
    const int w = fm.horizontalAdvance(text()) + kGap + kChevron + 2 * kPadX;
    return QSize(w, std::max(fm.height(), kChevron) + 2 * kPadY);
}

void YearMenu::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    Painters::capsule(p, QRectF(rect()), isDown() ? Theme::segment() : QColor(Qt::white), Theme::outline(),
                      1);

    const QFontMetrics fm(font());
    const int textWidth = fm.horizontalAdvance(text());
    const qreal x = (width() - (textWidth + kGap + kChevron)) / 2.0;
    p.setFont(font());
    p.setPen(Theme::ink());
    p.drawText(QRectF(x, 0, textWidth + 1, height()), Qt::AlignVCenter | Qt::AlignLeft, text());
    p.drawPixmap(QPointF(x + textWidth + kGap, (height() - kChevron) / 2.0),
                 Icons::pixmap(QStringLiteral("chevron.down"), Theme::muted(), kChevron, devicePixelRatioF(),
                               QFont::Bold));
    KeyboardFocus::paintRing(p, this, QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
}
