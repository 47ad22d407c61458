#include "settings/UnitField.h"

#include "ui/Painters.h"
#include "ui/TextLabel.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

UnitField::UnitField(int digits, QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 3, 8, 3);
    row->setSpacing(3);
    m_edit = new QLineEdit(this);
    m_edit->setFrame(false);
    m_edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_edit->setFont(Theme::font(12, QFont::Bold));
    m_edit->setTextMargins(0, 0, 0, 0);
    m_edit->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none; padding: 0; }"));
    m_edit->setFixedWidth(m_edit->fontMetrics().horizontalAdvance(QString(digits, QLatin1Char('0'))) + 6);
    m_unit = TextLabel::make(Theme::font(11, QFont::DemiBold), Theme::muted(), this);
    row->addWidget(m_edit, 0, Qt::AlignVCenter);
    row->addWidget(m_unit, 0, Qt::AlignVCenter);
    setFocusProxy(m_edit);
}

void UnitField::setUnit(const QString& unit)
{
    m_unit->setText(unit);
}

void UnitField::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    Painters::roundedCard(p, QRectF(rect()), 8, Theme::cream(), Theme::border(), 1);
}
