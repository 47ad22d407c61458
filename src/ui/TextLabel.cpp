#include "ui/TextLabel.h"

#include "ui/Theme.h"

#include <QFocusEvent>
#include <QLabel>
#include <QPointer>

namespace TextLabel {

QLabel* make(const QFont& font, const QColor& color, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

} // namespace TextLabel

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

} // namespace KeyboardFocus
