#include "ui/KeyboardFocus.h"

#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QFocusEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace KeyboardFocus {

bool fromKeyboard(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

namespace {
// Only one widget has focus at a time, so one pointer holds the keyboard-focused control. The
// filter sees focus arrive before the control does, and the control repaints on it itself.
QPointer<QWidget> g_fromKeyboard;

class Watcher final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            const bool keyboard = fromKeyboard(static_cast<QFocusEvent*>(event)->reason());
            g_fromKeyboard = keyboard ? qobject_cast<QWidget*>(watched) : nullptr;
        } else if (event->type() == QEvent::FocusOut && g_fromKeyboard == watched) {
            g_fromKeyboard = nullptr;
        }
        return false;
    }
};
} // namespace

void track(QWidget* control)
{
    static Watcher watcher;
    control->installEventFilter(&watcher);
}

bool ringShown(const QWidget* control)
{
    return control->hasFocus() && g_fromKeyboard == control;
}

QColor ringColor()
{
    QColor ring = Theme::brand();
    ring.setAlphaF(0.6f);
    return ring;
}

void paintRing(QPainter& p, const QRectF& rect, qreal radius, const QColor& color, qreal width)
{
    p.save();
    p.setOpacity(1);
    Painters::roundedCard(p, rect, radius, QColor(), color.isValid() ? color : ringColor(), width);
    p.restore();
}

void paintRing(QPainter& p, const QWidget* control, const QRectF& rect, qreal radius, const QColor& color)
{
    if (ringShown(control))
        paintRing(p, rect, radius, color);
}

} // namespace KeyboardFocus
