#include "settings/PopUpButton.h"

#include "ui/Icons.h"
#include "ui/KeyboardFocus.h"
#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QPainter>
#include <QWheelEvent>

namespace {
constexpr int kPadX = 14;
constexpr int kChevron = 10;
} // namespace

PopUpButton::PopUpButton(QWidget* parent) : QComboBox(parent)
{
    KeyboardFocus::track(this);
    setFont(Theme::font(12, QFont::Medium));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

void PopUpButton::wheelEvent(QWheelEvent* event)
{
    // Left to the page: scrolling past the menu must never change a setting.
    event->ignore();
}

void PopUpButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0, 1, 0, -1);
    const bool hot = underMouse() && isEnabled();
    Painters::capsule(p, area, hot ? Theme::cream() : QColor(Qt::white), Theme::border());
    const QRectF chevron(area.right() - kPadX - kChevron + 2, area.center().y() - kChevron / 2.0, kChevron,
                         kChevron);
    p.drawPixmap(chevron.topLeft(), Icons::pixmap(QStringLiteral("chevron.up.chevron.down"), Theme::muted(),
                                                  kChevron, devicePixelRatioF(), QFont::DemiBold));
    if (currentIndex() >= 0) {
        p.setFont(font());
        p.setPen(isEnabled() ? Theme::ink() : Theme::faint());
        const QRectF text(area.left() + kPadX, area.top(), chevron.left() - 6 - area.left() - kPadX,
                          area.height());
        p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
                   fontMetrics().elidedText(currentText(), Qt::ElideRight, int(text.width())));
    }
    KeyboardFocus::paintRing(p, this, area.adjusted(1, 1, -1, -1));
}
