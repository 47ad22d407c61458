#pragma once

#include <QString>

namespace Text {
// Trims spaces and tabs from both ends; line breaks are kept.
QString trimBlanks(const QString& text);
} // namespace Text
