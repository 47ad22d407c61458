#include "ui/PanelFrame.h"

#include "ui/Painters.h"
#include "ui/PanelShadow.h"

#include <QEvent>
#include <QPainter>
#include <QVBoxLayout>

PanelFrame::PanelFrame(int radius, int padding, QWidget* parent)
    : QFrame(parent), m_radius(radius), m_padding(padding), m_body(new QVBoxLayout(this))
{
    setFrameShape(QFrame::NoFrame);
    // The padding lives on the layout: QFrame resets the widget's own contents margins to its
    // frame width whenever the style changes (a page reparented into a window, for one).
    m_body->setContentsMargins(padding, padding, padding, padding);
    m_body->setSpacing(0);
    syncShadow();
}

PanelFrame::~PanelFrame()
{
    delete m_shadow.data();
}

bool PanelFrame::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ParentChange:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ZOrderChange:
        syncShadow();
        break;
    default:
        break;
    }
    return QFrame::event(event);
}

void PanelFrame::syncShadow()
{
    if (!parentWidget()) {
        if (m_shadow)
            m_shadow->hide();
        return;
    }
    if (!m_shadow)
        m_shadow = new PanelShadow(this, m_radius);
    m_shadow->follow();
}

void PanelFrame::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    // Without a parent there is nowhere outside to draw the shadow; the card alone is drawn.
    Painters::panelBody(p, QRectF(rect()), m_radius);
}
