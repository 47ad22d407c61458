#include "settings/SettingRow.h"

#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QPainter>

SettingRow::SettingRow(QWidget* parent) : QWidget(parent), m_content(new QHBoxLayout(this))
{
    m_content->setContentsMargins(12, 8, 12, 8);
    m_content->setSpacing(10);
    m_content->setAlignment(Qt::AlignVCenter);
}

void SettingRow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    Painters::roundedCard(p, QRectF(rect()), 16, Theme::cream(), Theme::border());
}
