#pragma once

#include <QFont>

class QColor;
class QLabel;
class QString;
class QWidget;

// The plain texts of the settings cards: one font size, weight and colour each.
namespace SettingsLabel {
QLabel* make(const QString& text, int pixelSize, QFont::Weight weight, const QColor& color,
             QWidget* parent = nullptr);
} // namespace SettingsLabel
