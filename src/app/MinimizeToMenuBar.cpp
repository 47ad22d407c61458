#include "app/MinimizeToMenuBar.h"

#include "app/Presence.h"

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
    // Leave the iconic state first, so that showing it again later maps a normal window.
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->hide();
}
