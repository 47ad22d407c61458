#include "app/MinimizeToMenuBar.h"

#include "app/Presence.h"

#include <QApplication>
#include <QWidget>

MinimizeToMenuBar& MinimizeToMenuBar::shared()
{
    static auto* instance = new MinimizeToMenuBar;
    return *instance;
}

void MinimizeToMenuBar::hide()
{
    QWidget* window = Presence::mainWindow();
    if (!window)
        return;
    // A dialog left alone on the desktop would be the only trace of the application, and a
    // modal one would refuse every click once the window came back above it.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        const bool popup = (w->windowType() & Qt::Popup) == Qt::Popup;
        if (w != window && w->isVisible() && !popup && w->parentWidget() &&
            w->parentWidget()->window() == window) {
            m_hiddenDialogs.append(w);
            // The window manager may have iconified it along with its window.
            w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
            w->hide();
        }
    }
    // Leave the iconic state first, so that showing it again later maps a normal window.
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->hide();
}

void MinimizeToMenuBar::restoreDialogs()
{
    const auto dialogs = std::exchange(m_hiddenDialogs, {});
    QWidget* window = Presence::mainWindow();
    QWidget* top = nullptr;
    for (const QPointer<QWidget>& dialog : dialogs) {
        if (!dialog || !window || dialog->parentWidget() == nullptr ||
            dialog->parentWidget()->window() != window)
            continue;
        dialog->setWindowState(dialog->windowState() & ~Qt::WindowMinimized);
        dialog->show();
        top = dialog;
    }
    if (top) {
        top->raise();
        top->activateWindow();
    }
}
