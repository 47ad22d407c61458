#include "editor/FieldPlate.h"

#include "ui/Painters.h"

#include <QLineEdit>
#include <QPainter>

FieldPlate::FieldPlate(qreal radius, const QColor& fill, const QColor& stroke, QWidget* parent)
    : QWidget(parent), m_radius(radius), m_fill(fill), m_stroke(stroke)
{}

QLineEdit* FieldPlate::plainLineEdit(const QFont& font, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    edit->setFont(font);
    edit->setTextMargins(0, 0, 0, 0);
    // The plate draws the field; the edit only holds the text.
    edit->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none; padding: 0; }"));
    return edit;
}

void FieldPlate::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    Painters::roundedCard(p, QRectF(rect()), m_radius, m_fill, m_stroke, 1);
}
