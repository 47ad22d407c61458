#pragma once

#include <QObject>
#include <QTimer>
#include <optional>

// Whether the desktop has a system tray to show an icon in. Tray hosts come and go (a panel
// restarted, an autostart race), and Qt gives no signal for it, so the answer is checked
// again every second while anyone watches.
class TrayHost final : public QObject
{
    Q_OBJECT

public:
    static TrayHost* instance();
    static bool available();
    // Tests stand in for a desktop with (or without) a tray; nullopt asks the desktop again.
    // The change is announced like a real one.
    static void setAvailableForTesting(std::optional<bool> available);

    // Starts the periodic check.
    void watch();
    // Asks the desktop now and announces a change.
    void recheck();

signals:
    void availabilityChanged(bool available);

private:
    TrayHost();

    QTimer m_poll;
    bool m_last = false;
};
