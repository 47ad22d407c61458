#pragma once

#include "board/ProjectTexts.h"

#include <QMargins>
#include <QPixmap>
#include <QRectF>
#include <QString>

class QPainter;

// One project card as drawn on a board column: its metrics, its painting and its drag preview.
// Cards are not widgets; a column's CardList paints as many as are in view. A Pending card with a
// due day has a line of its own for it, under the client row.
class ProjectCard final
{
public:
    // What one card shows. The outsource is "Outsource: " / "Dış Kaynak: " and the amount; the
    // status title ("Paid" / "Ödendi") is read out, not painted (the column's header shows it).
    struct Content : ProjectTexts
    {
        QString net; // "Net: " and the amount; empty when there is no outsource

        // What assistive technology reads of the card: the status first, then the painted texts.
        QString description() const;
    };

    static constexpr int kPadding = 16;
    static constexpr int kRadius = 16;
    static constexpr int kSpacing = 10;
    static constexpr int kEditButton = 24;

    // Room a list leaves around each card so the hover shadow is not cut off.
    static QMargins shadowMargins() { return QMargins(12, 8, 12, 16); }
    static int height(bool hasOutsource, bool hasDue = false);
    // Where the fee is drawn: always at its full natural width, at the right of the title row.
    static QRectF feeRect(const QRectF& card, const QString& fee);
    // The name as drawn on one line beside the fee, elided when it does not fit.
    static QString shownName(const QRectF& card, const QString& name, const QString& fee);
    // The edit button's clickable square inside a card rectangle.
    static QRectF editButtonRect(const QRectF& card);
    // hover runs from 0 (resting) to 1 (pointer over the card) while it animates.
    static void paint(QPainter& p, const QRectF& card, const Content& content, qreal hover);
    // The name on a white rounded box, shown under the pointer while the card is dragged.
    static QPixmap dragPreview(const QString& name, qreal dpr);
};
