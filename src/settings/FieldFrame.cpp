#include "settings/FieldFrame.h"

#include "ui/Painters.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>

FieldFrame::FieldFrame(const Look& look, QWidget* parent) : QWidget(parent), m_look(look)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(look.padding);
    row->setSpacing(0);
    m_edit = new QLineEdit(this);
    m_edit->setFrame(false);
    m_edit->setFont(look.font);
    m_edit->setTextMargins(0, 0, 0, 0);
    m_edit->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none; padding: 0; }"));
    row->addWidget(m_edit);
    setFocusProxy(m_edit);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void FieldFrame::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (m_look.radius < 0)
        Painters::capsule(p, QRectF(rect()), m_look.fill, m_look.stroke);
    else
        Painters::roundedCard(p, QRectF(rect()), m_look.radius, m_look.fill, m_look.stroke);
}
