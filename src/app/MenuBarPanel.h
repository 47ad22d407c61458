#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <functional>

class QLabel;
class QVBoxLayout;
class PanelButton;
class ProgressTrack;
class Eyebrow;
class Announcer;
class Store;

// The tray panel: the active year's earnings, net, target progress and status counts, with
// buttons to open the window, start a new project and quit. It follows the Store while open.
class MenuBarPanel final : public QWidget
{
    Q_OBJECT

public:
    // showMainWindow brings the main window forward, creating it when needed.
    MenuBarPanel(Store& store, std::function<void()> showMainWindow, QWidget* parent = nullptr);

    static constexpr int kWidth = 290;
    // What the panel says to a screen reader as it opens.
    Announcer* announcer() const { return m_announcer; }

    // Places the panel beside a tray icon's rectangle (or the pointer when that is empty),
    // inside the screen's available area.
    void placeNear(const QRect& anchor);

signals:
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refresh();
    void rebuildStatusRows();

    Store& m_store;
    std::function<void()> m_showMainWindow;
    Eyebrow* m_earnedLabel;
    Announcer* m_announcer;
    QWidget* m_amount;
    QLabel* m_netLine;
    QLabel* m_targetLabel;
    QLabel* m_targetPercent;
    ProgressTrack* m_progress;
    QLabel* m_forecast;
    QWidget* m_statusCard;
    QVBoxLayout* m_statusRows;
    PanelButton* m_open;
    PanelButton* m_newProject;
    PanelButton* m_quit;
    // Where the panel was opened from, and since when it shows.
    QRect m_anchor;
    QElapsedTimer m_shown;
};
