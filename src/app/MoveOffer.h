#pragma once

#include "app/AppLocationManager.h"

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class QWidget;
class Store;

struct MoveOfferOptions
{
    AppLocationManager::Paths paths = AppLocationManager::Paths::current();
    AppLocationManager::Launcher launch; // empty: start the copy once this process ended
    std::function<void()> quit;          // empty: QCoreApplication::quit
};

// The offer, shortly after the main window opens, to install the running copy. It lives on the
// window, so closing the window drops an offer that has not been answered.
class MoveOffer final : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDelayMs = 600;

    using Options = MoveOfferOptions;

    // Called each time the main window opens. Schedules the prompt unless the running copy is
    // installed, the user declined for good, or this window already has an offer pending.
    static MoveOffer* offerIfNeeded(QWidget* window, const Store& store, Options options = {});

    // The delay before the prompt; tests look at it and then call showPrompt() themselves.
    const QTimer& delay() const { return m_delay; }
    void showPrompt();
    bool showMoveToApplicationsPrompt() const { return !m_prompt.isNull(); }
    QMessageBox* prompt() const { return m_prompt; }

private:
    MoveOffer(QWidget* window, const Store& store, Options options);
    void answer(bool accepted);

    QWidget* m_window;
    const Store& m_store;
    Options m_options;
    QTimer m_delay;
    QPointer<QMessageBox> m_prompt;
};
