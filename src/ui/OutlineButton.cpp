#include "ui/OutlineButton.h"

#include "ui/Theme.h"

OutlineButton::OutlineButton(const QString& text, const QString& symbol, QWidget* parent)
    : CapsuleButton(text, symbol, parent)
{}

CapsuleButton::Look OutlineButton::look(bool pressed) const
{
    Look l;
    l.fill = pressed ? Theme::segment() : QColor(Qt::white);
    l.stroke = Theme::border();
    l.text = Theme::secondary();
    return l;
}
