#include "settings/DangerButton.h"

DangerButton::DangerButton(const QString& text, QWidget* parent)
    : CapsuleButton(text, QStringLiteral("trash"), parent, {18, 9})
{}

CapsuleButton::Look DangerButton::look(bool pressed) const
{
    Look l;
    l.fill = pressed ? QColor(0xFE, 0xE2, 0xE2) : QColor(0xFE, 0xF2, 0xF2);
    l.stroke = QColor(0xFE, 0xCA, 0xCA);
    l.text = QColor(0xB9, 0x1C, 0x1C);
    l.radius = 14;
    l.ring = l.text;
    return l;
}
