#pragma once

#include <QFont>

class QColor;
class QLabel;
class QWidget;

// Small helpers every view shares for plain labels and keyboard focus rings.
namespace TextLabel {
// A label that shows its text as plain text, in the given font and colour.
QLabel* make(const QFont& font, const QColor& color, QWidget* parent);
} // namespace TextLabel

namespace KeyboardFocus {
// Whether focus arrived from the keyboard: only then do our controls draw a focus ring.
bool fromKeyboard(Qt::FocusReason reason);
// Watches how focus arrives at a control; call once, in its constructor.
void track(QWidget* control);
// True while a tracked control has focus that came from the keyboard.
bool ringShown(const QWidget* control);
// The colour of the focus ring.
QColor ringColor();
} // namespace KeyboardFocus
