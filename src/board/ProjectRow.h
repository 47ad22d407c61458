#pragma once

#include "board/ProjectTexts.h"
#include "model/Status.h"

#include <QRectF>
#include <QString>

class QPainter;

// One line of the project table: its column geometry (shared with the header row), its height and
// its painting. Rows are not widgets; the ProjectTable paints the ones in view.
class ProjectRow final
{
public:
    // What one row shows. The outsource is "Outsource: -" and the amount, in both languages; the
    // status title is upper-case, as on the chip.
    struct Content : ProjectTexts
    {
        Status status = Status::ongoing;

        // What assistive technology reads of the row: its painted texts in their order, the name aside.
        QString description() const;
    };

    // The six cells of a row or of the header, left to right.
    struct Cells
    {
        QRectF name;
        QRectF client;
        QRectF category;
        QRectF fee;
        QRectF status;
        QRectF edit;
    };

    static constexpr int kPadX = 24;
    static constexpr int kPadY = 12;
    static constexpr int kSpacing = 16;
    static constexpr int kFeeWidth = 120;
    static constexpr int kStatusWidth = 120;
    static constexpr int kEditWidth = 44;
    static constexpr int kEditButton = 28;

    static Cells cells(const QRectF& row);
    // A Pending row with a due day shows it under the name.
    static int height(bool hasOutsource, bool hasDue = false);
    // The edit button's clickable square inside a row rectangle.
    static QRectF editButtonRect(const QRectF& row);
    static void paint(QPainter& p, const QRectF& row, const Content& content, bool hovered);
};
