#pragma once

class QWidget;

// Whether a top-level window has an entry in the task bar. On X11 this is the window manager's
// skip-taskbar state; elsewhere there is nothing to set and the calls do nothing.
namespace TaskbarEntry {
void setShown(QWidget* window, bool shown);
// What the window asks of the window manager now (X11 only; true elsewhere).
bool isShown(QWidget* window);
} // namespace TaskbarEntry
