#include "settings/SymbolButton.h"

#include "ui/Icons.h"
#include "ui/Painters.h"
#include "ui/TextLabel.h"
#include "ui/Theme.h"

#include <QPainter>

SymbolButton::SymbolButton(const Look& look, QWidget* parent) : QAbstractButton(parent), m_look(look)
{
    KeyboardFocus::track(this);
    setFixedSize(look.side, look.side);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void SymbolButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area(rect());
    if (m_look.circle.isValid())
        Painters::capsule(p, area, m_look.circle);
    if (isDown())
        p.setOpacity(0.6);
    const int s = m_look.symbolSize;
    p.drawPixmap(QPointF((width() - s) / 2.0, (height() - s) / 2.0),
                 Icons::pixmap(m_look.symbol, m_look.tint, s, devicePixelRatioF(), m_look.weight));
    p.setOpacity(1);
    if (KeyboardFocus::ringShown(this)) {
        const QColor ring = KeyboardFocus::ringColor();
        Painters::capsule(p, area.adjusted(1, 1, -1, -1), QColor(), ring, 1.5);
    }
}
