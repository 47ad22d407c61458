#include "settings/SymbolView.h"

#include "ui/Icons.h"

#include <QPainter>

SymbolView::SymbolView(const QString& symbol, const QColor& tint, int symbolSize, QSize frame,
                       QWidget* parent)
    : QWidget(parent), m_symbol(symbol), m_tint(tint), m_size(symbolSize)
{
    setFixedSize(frame);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SymbolView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(QPointF((width() - m_size) / 2.0, (height() - m_size) / 2.0),
                 Icons::pixmap(m_symbol, m_tint, m_size, devicePixelRatioF()));
}
