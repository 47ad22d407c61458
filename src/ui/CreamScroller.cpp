#include "ui/CreamScroller.h"

#include "ui/CreamScrollerStyle.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QStyleOptionSlider>

CreamScroller::CreamScroller(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent)
{
    setObjectName(QStringLiteral("creamScroller"));
    setStyle(CreamScrollerStyle::shared());
    setAttribute(Qt::WA_Hover);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAutoFillBackground(false);
}

QRectF CreamScroller::knobBar(const QRectF& knob, Qt::Orientation orientation)
{
    if (!(knob.width() > 0) || !(knob.height() > 0))
        return {};
    if (orientation == Qt::Vertical)
        return QRectF(knob.center().x() - 3, knob.top() + 2, 6, knob.height() - 4);
    return QRectF(knob.left() + 2, knob.center().y() - 3, knob.width() - 4, 6);
}

QColor CreamScroller::knobColor(bool hovering)
{
    static const QColor normal(213, 206, 191);
    static const QColor hovered(184, 176, 160);
    return hovering ? hovered : normal;
}

QRectF CreamScroller::knobRect() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return QRectF(style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this));
}

QSize CreamScroller::sizeHint() const
{
    const int extent = CreamScrollerStyle::kExtent;
    return orientation() == Qt::Vertical ? QSize(extent, 2 * CreamScrollerStyle::kMinimumKnob)
                                         : QSize(2 * CreamScrollerStyle::kMinimumKnob, extent);
}

void CreamScroller::paintEvent(QPaintEvent*)
{
    // Only the knob: no track, no arrows, no background.
    if (minimum() == maximum())
        return;
    // The bar is measured on the whole widget, not only the knob's cross-section.
    const QRectF bar = knobBar(knobRect(), width() < height() ? Qt::Vertical : Qt::Horizontal);
    if (bar.isEmpty())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(knobColor(m_hovering));
    p.drawRoundedRect(bar, 3, 3);
}

void CreamScroller::enterEvent(QEnterEvent* event)
{
    m_hovering = true;
    update();
    QScrollBar::enterEvent(event);
}

void CreamScroller::leaveEvent(QEvent* event)
{
    m_hovering = false;
    update();
    QScrollBar::leaveEvent(event);
}

void creamScroller(QAbstractScrollArea* area)
{
    if (!area || qobject_cast<CreamScroller*>(area->verticalScrollBar()))
        return;
    area->setVerticalScrollBar(new CreamScroller(Qt::Vertical));
    // Let the page's cream show through.
    area->setFrameShape(QFrame::NoFrame);
    area->setAutoFillBackground(false);
    area->viewport()->setAutoFillBackground(false);
}
