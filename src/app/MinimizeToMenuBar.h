#pragma once

#include <QObject>

// Hides the main window in place of minimising it while there is no task-bar entry to
// minimise into; the tray panel or a second start brings it back.
class MinimizeToMenuBar final : public QObject
{
    Q_OBJECT

public:
    // One instance for the process, made on first use and never released.
    static MinimizeToMenuBar& shared();

public slots:
    void hide();

private:
    MinimizeToMenuBar() = default;
};
