#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <functional>

// Symbol names mapped, in one table, to monochrome icons of our own that take any tint.
namespace Icons {
// Empty icon / null pixmap for a symbol that is not in the table.
QIcon icon(const QString& symbol, const QColor& tint, int pixelSize, QFont::Weight weight = QFont::Normal);
QPixmap pixmap(const QString& symbol, const QColor& tint, int pixelSize, qreal dpr = 1,
               QFont::Weight weight = QFont::Normal);
bool has(const QString& symbol);
// A full-colour SVG file drawn in its own colours on a transparent square of `side` pixels.
QPixmap drawing(const QString& svgFile, int side);
// An icon `draw` paints only when a size of it is asked for (`side` in device pixels, one entry
// per side kept), so making one reads and renders nothing. `sizes` are the sizes it offers to
// those that list them (trays, window managers); none means any.
using Draw = std::function<QPixmap(int side, QIcon::Mode mode)>;
QIcon onDemand(Draw draw, const QList<QSize>& sizes = {});
// Every symbol name the table knows.
QStringList symbols();
} // namespace Icons
