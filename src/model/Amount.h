#pragma once

#include <QString>
#include <optional>

namespace Amount {
// A typed money text to a non-negative number; tolerant of either decimal separator,
// grouping, currency signs and spacing. Nothing when there is no digit or no finite value.
std::optional<double> parse(const QString& text);
} // namespace Amount
