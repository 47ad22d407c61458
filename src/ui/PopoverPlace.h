#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

// Where a popover of `size` opens below `anchor`, `gap` pixels away: centred on the anchor or
// starting at its left edge; above it when the screen ends first, and always on the anchor's
// screen.
enum class PopoverAlign { centre, left };
QPoint popoverPosition(const QWidget* anchor, const QSize& size, int gap, PopoverAlign align);
