#pragma once

#include "ui/PanelFrame.h"

class QLabel;
class QLineEdit;
class Store;
class UnitField;

// The year-end forecast's weights: how much of the Pending and of the In the Works fees it
// counts, as two percentages. A committed entry (Return or leaving the field) goes to the Store,
// which keeps it within 0..100; text that is no number is refused with a toast and the stored
// weight comes back.
class ForecastCard final : public PanelFrame
{
    Q_OBJECT

public:
    explicit ForecastCard(Store& store, QWidget* parent = nullptr);
    ~ForecastCard() override;

    QLineEdit* pendingField() const;
    QLineEdit* ongoingField() const;

private:
    void commit(QLineEdit* field);
    void refresh();
    void retranslate();

    Store& m_store;
    QLabel* m_title;
    QLabel* m_hint;
    QLabel* m_pendingLabel;
    QLabel* m_ongoingLabel;
    UnitField* m_pending;
    UnitField* m_ongoing;
};
