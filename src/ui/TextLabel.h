#pragma once

#include <QFont>

class QColor;
class QLabel;
class QWidget;

namespace TextLabel {
// A label that shows its text as plain text, in the given font and colour.
QLabel* make(const QFont& font, const QColor& color, QWidget* parent);
} // namespace TextLabel
