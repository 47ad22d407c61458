#pragma once

#include "ui/Painters.h"

#include <QColor>
#include <Qt>

class QPainter;
class QWidget;

// The ring our controls draw while they have focus that came from the keyboard (Tab, Backtab or a
// shortcut), never after a click.
namespace KeyboardFocus {
// How wide the ring's line is.
constexpr qreal kRingWidth = 1.5;

// Whether focus arrived from the keyboard: only then do our controls draw a focus ring.
bool fromKeyboard(Qt::FocusReason reason);
// Watches how focus arrives at a control; call once, in its constructor.
void track(QWidget* control);
// True while a tracked control has focus that came from the keyboard.
bool ringShown(const QWidget* control);
// The colour of the focus ring.
QColor ringColor();

// Draws the ring as a line `width` wide just inside `rect`, whose corners have `radius` (at most half
// the shorter side), in `color` (ringColor() when invalid), at full opacity.
void paintRing(QPainter& p, const QRectF& rect, qreal radius = Painters::kCapsuleRadius,
               const QColor& color = QColor(), qreal width = kRingWidth);
// The same ring, drawn only while `control` shows keyboard focus (ringShown).
void paintRing(QPainter& p, const QWidget* control, const QRectF& rect,
               qreal radius = Painters::kCapsuleRadius, const QColor& color = QColor());
} // namespace KeyboardFocus
