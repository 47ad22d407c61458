#include "app/Presence.h"

#include "app/MinimizeToMenuBar.h"
#include "app/TaskbarEntry.h"
#include "model/Preferences.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {
bool isMainWindow(const QObject* object)
{
    const auto* widget = qobject_cast<const QWidget*>(object);
    return widget && widget->isWindow() && widget->objectName().startsWith(QLatin1String("main"));
}

// Windows the window manager lists: not pop-ups, tooltips or the like, which it never manages.
bool isManagedWindow(const QObject* object)
{
    const auto* widget = qobject_cast<const QWidget*>(object);
    if (!widget || !widget->isWindow())
        return false;
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Sheet || type == Qt::Tool;
}

bool g_trayIconOnScreen = true;

class WindowWatch final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::WindowStateChange:
            if (isMainWindow(watched) && static_cast<QWidget*>(watched)->isMinimized() &&
                !Presence::hasTaskbarEntry()) {
                // Run after the window manager has finished iconifying, or it iconifies again.
                QTimer::singleShot(0, &MinimizeToMenuBar::shared(),
                                   [] { MinimizeToMenuBar::shared().hide(); });
            }
            break;
        case QEvent::Show:
            // Sent just before the window is mapped: the entry state travels with the mapping.
            if (isManagedWindow(watched) && !event->spontaneous())
                TaskbarEntry::setShown(static_cast<QWidget*>(watched), Presence::hasTaskbarEntry());
            // The dialogs that were hidden with it follow, above it.
            if (isMainWindow(watched) && !event->spontaneous())
                QTimer::singleShot(0, &MinimizeToMenuBar::shared(),
                                   [] { MinimizeToMenuBar::shared().restoreDialogs(); });
            break;
        case QEvent::WindowActivate:
            if (isMainWindow(watched))
                Presence::configureMinimizeButton(Presence::hasTaskbarEntry());
            break;
        default:
            break;
        }
        return false;
    }
};
} // namespace

namespace Presence {

bool showsInDock()
{
    return Preferences::boolean(Preferences::kShowInDock, true);
}

bool showsInMenuBar()
{
    return Preferences::boolean(Preferences::kShowInMenuBar, true);
}

void setTrayIconOnScreen(bool onScreen)
{
    g_trayIconOnScreen = onScreen;
}

bool hasTaskbarEntry()
{
    return showsInDock() || !g_trayIconOnScreen;
}

QWidget* mainWindow()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (isMainWindow(w))
            return w;
    }
    return nullptr;
}

void configureMinimizeButton(bool showInDock)
{
    QWidget* window = mainWindow();
    if (!window)
        return;
    if (TaskbarEntry::isShown(window) != showInDock)
        TaskbarEntry::setShown(window, showInDock);
    // Its sheet and dialogs: none of them may be the one entry left in the task bar.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (w != window && w->isVisible() && isManagedWindow(w) && TaskbarEntry::isShown(w) != showInDock)
            TaskbarEntry::setShown(w, showInDock);
    }
}

void applyDock(bool show)
{
    QPointer<QWidget> window = mainWindow();
    configureMinimizeButton(show);
    // A later turn, once the window manager has taken the new state.
    QTimer::singleShot(0, qApp, [window] {
        if (!window)
            return;
        if (window->isMinimized())
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
        window->activateWindow();
    });
}

void observeWindows()
{
    static QPointer<WindowWatch> watch;
    if (watch || !qApp)
        return;
    watch = new WindowWatch(qApp);
    qApp->installEventFilter(watch);
}

} // namespace Presence
