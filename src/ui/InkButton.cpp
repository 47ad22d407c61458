#include "ui/InkButton.h"

#include "ui/Theme.h"

InkButton::InkButton(const QString& text, const QString& symbol, QWidget* parent)
    : CapsuleButton(text, symbol, parent)
{}

CapsuleButton::Look InkButton::look(bool pressed) const
{
    Look l;
    l.fill = pressed ? QColor(Qt::black) : Theme::ink();
    l.text = Qt::white;
    l.scale = pressed ? 0.97 : 1;
    return l;
}
