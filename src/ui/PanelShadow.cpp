#include "ui/PanelShadow.h"

#include "ui/Painters.h"

#include <QPainter>
#include <QtMath>

PanelShadow::PanelShadow(QWidget* frame, qreal radius)
    : QWidget(frame->parentWidget()), m_frame(frame), m_radius(radius)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(QString());
}

void PanelShadow::follow()
{
    if (parentWidget() != m_frame->parentWidget()) {
        setParent(m_frame->parentWidget());
    }
    if (!parentWidget() || m_frame->isHidden()) {
        hide();
        return;
    }
    const QMarginsF m = Painters::panelShadowMargins();
    const QRect frame = m_frame->geometry();
    setGeometry(frame.adjusted(-qCeil(m.left()), -qCeil(m.top()), qCeil(m.right()), qCeil(m.bottom())));
    stackUnder(m_frame);
    show();
}

void PanelShadow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect frame = m_frame->geometry();
    const QRectF local(QPointF(frame.topLeft() - geometry().topLeft()), QSizeF(frame.size()));
    Painters::panelShadow(p, local, m_radius);
}
