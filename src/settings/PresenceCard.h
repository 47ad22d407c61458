#pragma once

#include "ui/PanelFrame.h"

class QLabel;
class Store;
class ToggleSwitch;

// Where the application shows itself: the task-bar entry ("showInDock") and the tray icon
// ("showInMenuBar"). The preferences are written here; the application follows every change
// at once through PreferenceSignals.
class PresenceCard final : public PanelFrame
{
    Q_OBJECT

public:
    explicit PresenceCard(Store& store, QWidget* parent = nullptr);

    ToggleSwitch* dockSwitch() const { return m_dock; }
    ToggleSwitch* menuBarSwitch() const { return m_menuBar; }

private:
    void toggled(const char* key, bool on);
    void refresh();
    void retranslate();

    Store& m_store;
    QLabel* m_title;
    QLabel* m_dockLabel;
    QLabel* m_menuBarLabel;
    ToggleSwitch* m_dock;
    ToggleSwitch* m_menuBar;
};
