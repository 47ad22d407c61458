#pragma once

#include "ui/PanelFrame.h"

#include <QPointer>

class DangerButton;
class QLabel;
class QMessageBox;
class Store;

// Erase everything, or put the sample studio back, after a confirmation.
class DeleteDataCard final : public PanelFrame
{
    Q_OBJECT

public:
    explicit DeleteDataCard(Store& store, QWidget* parent = nullptr);

    DangerButton* deleteButton() const { return m_button; }
    // True while the confirmation is shown.
    bool confirming() const;
    QMessageBox* confirmation() const;
    // Closes the confirmation as Cancel would (the page was left).
    void dismissConfirmation();

private:
    void confirm();
    void retranslate();

    Store& m_store;
    QLabel* m_title;
    QLabel* m_detail;
    DangerButton* m_button;
    QPointer<QMessageBox> m_dialog;
};
