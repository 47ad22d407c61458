#pragma once

#include "model/Status.h"
#include "ui/PanelFrame.h"

#include <QMap>

class ColorWell;
class QLabel;
class Store;
class TextLinkButton;

// The board's column colours: one colour well per status, and Reset.
class ColumnColorsCard final : public PanelFrame
{
    Q_OBJECT

public:
    explicit ColumnColorsCard(Store& store, QWidget* parent = nullptr);

    // The fixed marker of a status row; it does not follow the chosen colour.
    static QColor markerColor(Status status);

    ColorWell* well(Status status) const { return m_wells.value(status); }
    TextLinkButton* resetButton() const { return m_reset; }

private:
    void refreshColors();
    void retranslate();

    Store& m_store;
    QLabel* m_title;
    TextLinkButton* m_reset;
    QMap<Status, ColorWell*> m_wells;
    QMap<Status, QLabel*> m_labels;
};
