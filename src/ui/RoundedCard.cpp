#include "ui/RoundedCard.h"

#include "ui/Painters.h"

#include <QPainter>

RoundedCard::RoundedCard(qreal radius, const QColor& fill, const QColor& border, QWidget* parent)
    : QWidget(parent), m_radius(radius), m_fill(fill), m_border(border)
{}

void RoundedCard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    Painters::roundedCard(p, rect(), m_radius, m_fill, m_border);
}
