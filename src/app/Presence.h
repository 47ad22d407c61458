#pragma once

class QWidget;

// Where the application shows itself: a task-bar entry ("showInDock") and a tray icon
// ("showInMenuBar"). These operations apply the rules between the two; they keep no state.
namespace Presence {
// The "showInDock" preference; true unless a boolean false is stored.
bool showsInDock();
// The "showInMenuBar" preference; true unless a boolean false is stored.
bool showsInMenuBar();
// Whether a tray icon is on screen (or still expected), to come back through; the application
// keeps this current. True until told otherwise.
void setTrayIconOnScreen(bool onScreen);
// Whether the windows have a task-bar entry now: as the preference says, but always while no
// tray icon is on screen, so the application never runs where the user cannot find it.
bool hasTaskbarEntry();
// The first visible-or-hidden top-level window whose object name begins with "main".
QWidget* mainWindow();
// Without a task-bar entry, minimising the main window hides it instead; here the window manager
// owns the button, so this sets the task-bar entry of every window of the application and the
// rule follows it.
void configureMinimizeButton(bool showInDock);
// Gives the main window its task-bar entry (or takes it away), then brings the window forward.
void applyDock(bool show);
// Installs, once, the watch that undoes a minimise without a task-bar entry and re-applies the
// entry whenever the main window is shown or activated.
void observeWindows();
} // namespace Presence
