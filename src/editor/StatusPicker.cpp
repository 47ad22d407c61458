#include "editor/StatusPicker.h"

#include "ui/Icons.h"
#include "ui/KeyboardFocus.h"
#include "ui/Painters.h"
#include "ui/StatusStyle.h"
#include "ui/Theme.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

namespace {
constexpr int kPadLeft = 14;
constexpr int kPadRight = 12;
constexpr int kPadY = 8;
constexpr int kDot = 8;
constexpr int kGap = 8;
constexpr int kChevron = 9;
} // namespace

StatusPicker::StatusPicker(AppLanguage language, QWidget* parent)
    : QAbstractButton(parent), m_language(language), m_menu(new QMenu(this))
{
    KeyboardFocus::track(this);
    setFont(Theme::font(12, QFont::DemiBold));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    for (Status s : StatusInfo::all) {
        QAction* action = m_menu->addAction(StatusStyle::title(s, m_language));
        action->setData(int(s));
        connect(action, &QAction::triggered, this, [this, s] {
            setStatus(s);
            emit statusChosen(s);
        });
    }
    connect(this, &QAbstractButton::clicked, this, &StatusPicker::openMenu);
    setStatus(Status::ongoing);
}

void StatusPicker::setStatus(Status status)
{
    m_status = status;
    // English in both languages, as the other accessibility labels of the editor.
    setAccessibleName(QStringLiteral("Status, ") + StatusInfo::titleEn(status));
    update();
}

QSize StatusPicker::sizeHint() const
{
    const QFontMetrics fm(font());
    int widest = 0;
    for (Status s : StatusInfo::all)
        widest = std::max(widest, fm.horizontalAdvance(StatusStyle::title(s, m_language)));
    return {kPadLeft + kDot + kGap + widest + kGap + kChevron + kPadRight, fm.height() + 2 * kPadY};
}

QSize StatusPicker::minimumSizeHint() const
{
    const QFontMetrics fm(font());
    return {kPadLeft + kDot + kGap + kChevron + kPadRight, fm.height() + 2 * kPadY};
}

void StatusPicker::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(rect());
    Painters::roundedCard(p, r, 12, isDown() ? Theme::segment() : Theme::cream(), Theme::border());

    const qreal mid = r.center().y();
    p.setPen(Qt::NoPen);
    p.setBrush(StatusStyle::dot(m_status));
    p.drawEllipse(QRectF(kPadLeft, mid - kDot / 2.0, kDot, kDot));

    const qreal chevronX = r.right() - kPadRight - kChevron;
    p.drawPixmap(QPointF(chevronX, mid - kChevron / 2.0),
                 Icons::pixmap(QStringLiteral("chevron.down"), Theme::muted(), kChevron, devicePixelRatioF(),
                               QFont::Bold));

    const qreal textX = kPadLeft + kDot + kGap;
    const QRectF textRect(textX, 0, std::max<qreal>(0, chevronX - kGap - textX), r.height());
    p.setFont(font());
    p.setPen(Theme::ink());
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
               QFontMetrics(font()).elidedText(StatusStyle::title(m_status, m_language), Qt::ElideRight,
                                               int(textRect.width())));

    KeyboardFocus::paintRing(p, this, r.adjusted(1, 1, -1, -1), 11);
}

void StatusPicker::openMenu()
{
    m_menu->setMinimumWidth(width());
    for (QAction* a : m_menu->actions()) {
        if (a->data().toInt() == int(m_status))
            m_menu->setActiveAction(a);
    }
    m_menu->popup(mapToGlobal(QPoint(0, height() + 4)));
}

void StatusPicker::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up) {
        openMenu();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}
