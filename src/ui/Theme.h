#pragma once

#include "model/HexColor.h"
#include "model/Status.h"

#include <QColor>
#include <QFont>
#include <QString>

class QApplication;

// The one warm, paper-like palette. Each colour is built once and shared.
namespace Theme {
QColor cream();
QColor segment();
QColor border();
// The hairline round the header's small white controls (year menu, search).
QColor outline();
QColor cardBorder();
QColor divider();
QColor track();
QColor ink();
QColor brand();
QColor muted();
QColor secondary();
QColor faint();
QColor rose();
QColor emerald700();
QColor emerald800();
QColor emerald950();
QColor kpiFill();
QColor kpiStroke();
QColor bar();
QColor barHover();
// Each status's marker dot: fixed, whatever colours the user gives the columns.
QColor statusDot(Status status);

// A "#RRGGBB" text as an opaque colour (unreadable text gives black, as in the data file).
QColor hex(const QString& text);
QColor fromRgb(const Rgb& rgb);
Rgb toRgb(const QColor& color);
// True when light text reads better on the colour (relative-luminance contrast test).
bool isDark(const QColor& color);
bool isDark(const Rgb& color);
// The colour a fraction t (clamped to 0..1) of the way from a to b, alpha included.
QColor mix(const QColor& a, const QColor& b, qreal t);

// The application font (Inter when installed) at a size in device-independent pixels.
QFont font(int pixelSize, QFont::Weight weight = QFont::Normal, qreal letterSpacing = 0);
// The family the application draws its text with.
QString fontFamily();
// Fusion, a light palette from the colours above and the application font, whatever the desktop is.
void applyLightLook(QApplication& app);
} // namespace Theme
