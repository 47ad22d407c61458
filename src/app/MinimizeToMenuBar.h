#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

// Hides the main window in place of minimising it while there is no task-bar entry to
// minimise into; the tray panel or a second start brings it back. The sheet and dialogs of the
// window go and come back with it, on top of it.
class MinimizeToMenuBar final : public QObject
{
    Q_OBJECT

public:
    // One instance for the process, made on first use and never released.
    static MinimizeToMenuBar& shared();

public slots:
    void hide();
    // Shows again what hide() took away with the main window; called once the window is back.
    void restoreDialogs();

private:
    MinimizeToMenuBar() = default;

    QList<QPointer<QWidget>> m_hiddenDialogs;
};
