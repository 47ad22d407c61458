#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

#include "app/MenuBarPanel.h"
class QSystemTrayIcon;
class Store;

// The tray icon ("banknote"), present while "showInMenuBar" is on. Activating it opens the
// tray panel beside it; activating it again while the panel is open closes it.
class MenuBarExtra final : public QObject
{
    Q_OBJECT

public:
    MenuBarExtra(Store& store, std::function<void()> showMainWindow, QObject* parent = nullptr);
    ~MenuBarExtra() override;

    void setPresent(bool present);
    bool isPresent() const { return m_icon != nullptr; }
    // While held, a present icon waits to go into the tray: the start holds it until the window's
    // first frame is painted, as docking an icon costs the start a few milliseconds on X11.
    void setHeld(bool held);
    // Present and a tray exists to show it in.
    bool isShowing() const;
    static bool trayAvailable();
    // Tests stand in for a desktop with (or without) a tray; nullopt asks the desktop again.
    static void setTrayAvailableForTesting(std::optional<bool> available);

    QSystemTrayIcon* trayIcon() const { return m_icon; }
    MenuBarPanel* panel() const { return m_panel; }
    // Opens a fresh panel beside the icon (or the pointer).
    MenuBarPanel* openPanel();

private:
    Store& m_store;
    std::function<void()> m_showMainWindow;
    QSystemTrayIcon* m_icon = nullptr;
    bool m_held = false;
    QPointer<MenuBarPanel> m_panel;
    // When the last panel closed: a click on the icon closes an open panel before it arrives.
    QElapsedTimer m_sinceClose;
};
