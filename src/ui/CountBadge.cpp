#include "ui/CountBadge.h"

#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QPainter>

CountBadge::Look CountBadge::cream()
{
    return {
        Theme::font(11, QFont::DemiBold), Theme::cream(), Theme::border(), Theme::secondary(), 10, 3, true};
}

CountBadge::CountBadge(const QString& text, QWidget* parent) : CountBadge(text, cream(), parent) {}

CountBadge::CountBadge(const QString& text, const Look& look, QWidget* parent)
    : QWidget(parent), m_text(text), m_look(look)
{
    setFont(look.font);
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
    const int h = fm.height() + 2 * m_look.padY;
    const int w = fm.horizontalAdvance(m_text) + 2 * m_look.padX;
    return QSize(m_look.atLeastRound ? std::max(h, w) : w, h);
}

void CountBadge::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    Painters::capsule(p, QRectF(rect()), m_look.fill, m_look.stroke, 1);
    p.setFont(font());
    p.setPen(m_look.text);
    p.drawText(rect(), Qt::AlignCenter, m_text);
}
