#pragma once

#include "model/StoreTypes.h"
#include "ui/PanelFrame.h"

class PillSegment;
class QLabel;
class Store;

// The interface language: English or Turkish, confirmed with a toast in the chosen language.
class LanguageCard final : public PanelFrame
{
    Q_OBJECT

public:
    explicit LanguageCard(Store& store, QWidget* parent = nullptr);

    PillSegment* picker() const { return m_picker; }

private:
    void choose(AppLanguage language);
    void refresh();

    Store& m_store;
    QLabel* m_title;
    PillSegment* m_picker;
};
