#include "ui/GlyphButton.h"

#include "ui/Icons.h"
#include "ui/KeyboardFocus.h"
#include "ui/Theme.h"

#include <QPainter>

namespace {
constexpr int kTextGap = 6;
constexpr qreal kDisabledOpacity = 0.4;
} // namespace

GlyphButton::Look GlyphButton::popoverCloseLook()
{
    Look look{QStringLiteral("xmark"), Theme::muted(), 10, QFont::DemiBold, 24, Theme::cream()};
    look.circleInset = 0.5;
    look.pressedCircle = Theme::cream();
    return look;
}

GlyphButton::GlyphButton(const Look& look, QWidget* parent) : QAbstractButton(parent), m_look(look)
{
    KeyboardFocus::track(this);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    if (m_look.textFont != QFont())
        setFont(m_look.textFont);
}

QSize GlyphButton::sizeHint() const
{
    if (text().isEmpty())
        return {m_look.side, m_look.side};
    const QFontMetrics fm(font());
    return {m_look.symbolSize + kTextGap + fm.horizontalAdvance(text()) + 2,
            std::max(m_look.side, fm.height())};
}

void GlyphButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        p.setOpacity(kDisabledOpacity);
    const QRectF r(rect());
    if (m_look.circle.isValid()) {
        const QColor pressed =
            m_look.pressedCircle.isValid() ? m_look.pressedCircle : m_look.circle.darker(106);
        p.setPen(m_look.outline.isValid() ? QPen(m_look.outline, 1) : QPen(Qt::NoPen));
        p.setBrush(isDown() ? pressed : m_look.circle);
        const qreal d = std::min(r.width(), r.height()) - 2 * m_look.circleInset;
        p.drawEllipse(QRectF(r.center().x() - d / 2, r.center().y() - d / 2, d, d));
    }
    const qreal opacity = p.opacity();
    if (isDown())
        p.setOpacity(opacity * m_look.pressedSymbolOpacity);
    const QPixmap glyph =
        Icons::pixmap(m_look.symbol, m_look.tint, m_look.symbolSize, devicePixelRatioF(), m_look.weight);
    const qreal s = m_look.symbolSize;
    if (text().isEmpty()) {
        p.drawPixmap(QPointF(r.center().x() - s / 2, r.center().y() - s / 2), glyph);
    } else {
        p.drawPixmap(QPointF(0, r.center().y() - s / 2), glyph);
        p.setFont(font());
        p.setPen(isDown() ? m_look.tint.darker(120) : m_look.tint);
        p.drawText(r.adjusted(s + kTextGap, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text());
    }
    p.setOpacity(opacity);
    KeyboardFocus::paintRing(p, this, r.adjusted(1, 1, -1, -1));
}
