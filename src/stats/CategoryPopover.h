#pragma once

#include "model/TextTotals.h"
#include "stats/Breakdown.h"

#include <QWidget>

class CategoryDetailSheet;
class Store;

// The popover that holds the detail sheet: a popup window opened below its anchor, closed by
// the sheet's close button, Escape or a click outside.
class CategoryPopover final : public QWidget
{
    Q_OBJECT

public:
    CategoryPopover(Store& store, Breakdown::Kind kind, const QVector<NamedTotal>& categories, double gross,
                    QWidget* parent = nullptr);

    CategoryDetailSheet* sheet() const { return m_sheet; }
    // Shows the popover below `anchor` (above it when the screen ends first), centred on it
    // and kept on the anchor's screen.
    void openBelow(QWidget* anchor);

signals:
    // However it was closed.
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    CategoryDetailSheet* m_sheet;
};
