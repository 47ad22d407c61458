#pragma once

#include "ui/PanelFrame.h"

class QComboBox;
class QLabel;
class Store;

// The display currency: a pop-up of the six codes, confirmed with a toast.
class CurrencyCard final : public PanelFrame
{
    Q_OBJECT

public:
    explicit CurrencyCard(Store& store, QWidget* parent = nullptr);

    QComboBox* menu() const { return m_menu; }
    // Picks the option at index as the user would.
    void choose(int index);

private:
    void refresh();
    void retranslate();

    Store& m_store;
    QLabel* m_title;
    QComboBox* m_menu;
};
