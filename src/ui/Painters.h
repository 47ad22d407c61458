#pragma once

#include <QColor>
#include <QMarginsF>
#include <QRectF>
#include <limits>

class QImage;
class QPainter;

// Shapes drawn the same way by many views.
namespace Painters {
// A corner radius that rounds any rectangle into a capsule (radii stop at half the shorter side).
constexpr qreal kCapsuleRadius = std::numeric_limits<qreal>::infinity();
// A capsule (short sides are half circles), with an optional outline of `strokeWidth` inside the edge.
void capsule(QPainter& p, const QRectF& rect, const QColor& fill, const QColor& stroke = QColor(),
             qreal strokeWidth = 1);
// A rounded rectangle with an optional outline inside the edge.
void roundedCard(QPainter& p, const QRectF& rect, qreal radius, const QColor& fill,
                 const QColor& stroke = QColor(), qreal strokeWidth = 1);
// The card frame, in two halves so a frame can draw its shadow outside its own bounds:
// a soft ink shadow below, and the white body with its 1-pixel border outline.
void panelShadow(QPainter& p, const QRectF& rect, qreal radius);
void panelBody(QPainter& p, const QRectF& rect, qreal radius);
// A soft drop shadow of a rounded rectangle (colour carries the opacity).
void shadow(QPainter& p, const QRectF& rect, qreal radius, const QColor& color, qreal blur, QPointF offset);
// Gaussian blur (standard deviation sigma) of an Alpha8 image, in place; the edges repeat outwards.
void blurAlpha(QImage& image, qreal sigma);
// How far the panel's shadow reaches past the card on each side.
QMarginsF panelShadowMargins();
// The progress track: a `track` capsule with a `brand` capsule of width × value on top.
void progressTrack(QPainter& p, const QRectF& rect, double value);
// The filled part of a progress track; empty for a value of 0 or less.
QRectF progressFill(const QRectF& rect, double value);
} // namespace Painters
