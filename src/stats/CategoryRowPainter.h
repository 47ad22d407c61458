#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

// One row of a breakdown: its name, then its figure and bracketed detail at the trailing edge,
// and a progress track under them. Drawn the same way by the card and by the detail list.
namespace CategoryRowPainter {

struct Look
{
    QFont name;
    QFont percent;
    QFont amount;
    int gap = 6; // between the text line and the track
};

struct Texts
{
    QString name;
    QString figure; // already formatted: "12%", "38 days"
    QString detail; // without the brackets; none drawn when empty
};

const Look& cardLook();
const Look& sheetLook();
constexpr int kTrackHeight = 6;

// Height of one row in a look.
int height(const Look& look);
void paint(QPainter& p, const QRectF& rect, const Look& look, const Texts& texts, double share);
// The greyed stand-in for a position without a row.
void paintPlaceholder(QPainter& p, const QRectF& rect, const QString& name, const QString& figures);

} // namespace CategoryRowPainter
