#include "ui/CapsuleButton.h"

#include "ui/Icons.h"
#include "ui/KeyboardFocus.h"
#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QPainter>

namespace {
constexpr int kIconSize = 12;
constexpr int kGap = 6;
} // namespace

CapsuleButton::CapsuleButton(const QString& text, const QString& symbol, QWidget* parent, QSize padding)
    : QPushButton(text, parent), m_symbol(symbol), m_padding(padding)
{
    KeyboardFocus::track(this);
    setFont(Theme::font(12, QFont::DemiBold));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_Hover);
}

QSize CapsuleButton::sizeHint() const
{
    const QFontMetrics fm(font());
    int content = fm.horizontalAdvance(text());
    if (!m_symbol.isEmpty())
        content += kIconSize + (text().isEmpty() ? 0 : kGap);
    return QSize(content + 2 * m_padding.width(), std::max(fm.height(), kIconSize) + 2 * m_padding.height());
}

void CapsuleButton::paintEvent(QPaintEvent*)
{
    const Look l = look(isDown());
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (l.scale != 1) {
        const QPointF c = QRectF(rect()).center();
        p.translate(c);
        p.scale(l.scale, l.scale);
        p.translate(-c);
    }
    Painters::roundedCard(p, QRectF(rect()), l.radius, l.fill, l.stroke, 1);

    const QFontMetrics fm(font());
    const int textWidth = fm.horizontalAdvance(text());
    const bool hasIcon = !m_symbol.isEmpty() && Icons::has(m_symbol);
    const int content = textWidth + (hasIcon ? kIconSize + (text().isEmpty() ? 0 : kGap) : 0);
    qreal x = (width() - content) / 2.0;
    if (hasIcon) {
        p.drawPixmap(QPointF(x, (height() - kIconSize) / 2.0),
                     Icons::pixmap(m_symbol, l.text, kIconSize, devicePixelRatioF(), QFont::DemiBold));
        x += kIconSize + kGap;
    }
    p.setFont(font());
    p.setPen(isEnabled() ? l.text : Theme::faint());
    p.drawText(QRectF(x, 0, textWidth + 1, height()), Qt::AlignVCenter | Qt::AlignLeft, text());

    KeyboardFocus::paintRing(p, this, QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), l.radius - 1.5, l.ring);
}
