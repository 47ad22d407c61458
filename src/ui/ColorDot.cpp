#include "ui/ColorDot.h"

#include "ui/Painters.h"

#include <QPainter>

ColorDot::ColorDot(const QColor& color, int diameter, QWidget* parent) : QWidget(parent), m_color(color)
{
    setFixedSize(diameter, diameter);
}

void ColorDot::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    Painters::capsule(p, QRectF(rect()), m_color);
}
