#include "board/DragScroller.h"

#include <QApplication>
#include <QDropEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace {
QList<QPointer<DragScroller>>& scrollers()
{
    static QList<QPointer<DragScroller>> list;
    return list;
}
int g_sessions = 0;
} // namespace

DragScroller::DragScroller(QScrollArea* area) : QObject(area), m_area(area)
{
    scrollers().append(this);
    m_timer.setInterval(kStepMs);
    connect(&m_timer, &QTimer::timeout, this, &DragScroller::step);
}

DragScroller::~DragScroller()
{
    scrollers().removeAll(this);
    if (qApp)
        qApp->removeEventFilter(this);
}

DragScroller::Session::Session()
{
    if (g_sessions++ > 0)
        return;
    for (const QPointer<DragScroller>& s : std::as_const(scrollers())) {
        if (s)
            s->begin();
    }
}

DragScroller::Session::~Session()
{
    if (--g_sessions > 0)
        return;
    for (const QPointer<DragScroller>& s : std::as_const(scrollers())) {
        if (s)
            s->end();
    }
}

void DragScroller::begin()
{
    m_active = true;
    m_timer.stop();
    qApp->installEventFilter(this);
    // The drag installs an application filter of its own once it runs, and that one swallows the
    // wheel. Filters installed last are asked first: move this one in front once the drag's loop
    // is running.
    QTimer::singleShot(0, this, [this] {
        if (!m_active)
            return;
        qApp->removeEventFilter(this);
        qApp->installEventFilter(this);
    });
}

void DragScroller::end()
{
    m_active = false;
    m_timer.stop();
    qApp->removeEventFilter(this);
}

int DragScroller::stepFor(const QPoint& global) const
{
    if (!m_area || !m_area->isVisible())
        return 0;
    const QWidget* viewport = m_area->viewport();
    const QRect area(viewport->mapToGlobal(QPoint(0, 0)), viewport->size());
    if (global.x() < area.left() || global.x() > area.right())
        return 0;
    const auto speed = [](int into) { return std::max(1, kMaxStep * std::min(into, kEdge) / kEdge); };
    if (global.y() < area.top() + kEdge)
        return -speed(area.top() + kEdge - global.y());
    if (global.y() > area.bottom() - kEdge)
        return speed(global.y() - (area.bottom() - kEdge));
    return 0;
}

void DragScroller::step()
{
    if (!m_area || !m_active) {
        m_timer.stop();
        return;
    }
    const int by = stepFor(m_pointer);
    QScrollBar* bar = m_area->verticalScrollBar();
    const int before = bar->value();
    bar->setValue(before + by);
    if (by == 0 || bar->value() == before)
        m_timer.stop(); // out of the bands, or at the end of the page
}

bool DragScroller::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_active || !m_area)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        // Every move reaches the window first, also over parts of it that take no drop.
        const QPointF pos = static_cast<QDropEvent*>(event)->position();
        if (auto* window = qobject_cast<QWindow*>(watched))
            m_pointer = window->mapToGlobal(pos.toPoint());
        else if (auto* widget = qobject_cast<QWidget*>(watched))
            m_pointer = widget->mapToGlobal(pos.toPoint());
        else
            break;
        if (stepFor(m_pointer) != 0 && !m_timer.isActive())
            m_timer.start();
        break;
    }
    case QEvent::Wheel: {
        auto* widget = qobject_cast<QWidget*>(watched);
        QScrollBar* bar = m_area->verticalScrollBar();
        // The scroll bar's own copy below passes through here too.
        if (!widget || widget == bar || widget->window() != m_area->window())
            break;
        auto* wheel = static_cast<QWheelEvent*>(event);
        // As far as a wheel turn scrolls the page otherwise: some lines per notch, or the pixels a
        // touchpad reports.
        const int by = !wheel->pixelDelta().isNull() ? wheel->pixelDelta().y()
                                                     : QApplication::wheelScrollLines() * bar->singleStep() *
                                                           wheel->angleDelta().y() / 120;
        bar->setValue(bar->value() - by);
        wheel->accept();
        return true;
    }
    default:
        break;
    }
    return false;
}
