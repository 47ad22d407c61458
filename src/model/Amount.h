#pragma once

#include <QString>
#include <optional>

namespace Amount {
// A typed money text to a non-negative number; tolerant of either decimal separator,
// grouping, currency signs and spacing. Nothing when there is no digit or no finite value.
std::optional<double> parse(const QString& text);

// What a money field holds for storing. The field was filled with `filledText` for the stored
// amount `stored` (none for a new amount): while its text is unchanged the stored amount itself
// comes back, so opening and saving never rounds or re-converts; otherwise the typed amount
// divided by `rate`, the interface's money per stored unit. Nothing when the text is no amount or
// the result would not be a finite number: an infinity can never be written to the data file.
std::optional<double> fromField(const QString& text, const QString& filledText, std::optional<double> stored,
                                double rate);
} // namespace Amount
