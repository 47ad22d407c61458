#include "ui/CountBadge.h"

#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QPainter>

namespace {
constexpr int kPadX = 10;
constexpr int kPadY = 3;
} // namespace

CountBadge::CountBadge(const QString& text, QWidget* parent) : QWidget(parent), m_text(text)
{
    setFont(Theme::font(11, QFont::DemiBold));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(text);
}

void CountBadge::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QSize CountBadge::sizeHint() const
{
    const QFontMetrics fm(font());
    const int h = fm.height() + 2 * kPadY;
    // Never narrower than tall, so a single digit still sits in a pill.
    return QSize(std::max(h, fm.horizontalAdvance(m_text) + 2 * kPadX), h);
}

void CountBadge::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    Painters::capsule(p, QRectF(rect()), Theme::cream(), Theme::border(), 1);
    p.setFont(font());
    p.setPen(Theme::secondary());
    p.drawText(rect(), Qt::AlignCenter, m_text);
}
