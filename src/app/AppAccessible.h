#pragma once

// The application as a screen reader sees it. Qt leaves pop-up windows out of the application's
// accessible tree; the tray panel is one, and it belongs in the tree while it is open.
namespace AppAccessible {
// Before the application object exists, or at least before anything asks for its interface.
void install();
} // namespace AppAccessible
