#pragma once

#include <QString>
#include <optional>

namespace Amount {
// A typed money text to a non-negative number; tolerant of either decimal separator,
// grouping, currency signs and spacing. Nothing when there is no digit or no finite value.
std::optional<double> parse(const QString& text);
// The same with a known decimal separator ('.' or ','; the other one groups thousands): strict
// where the guess above is lenient, so "1.000" with a decimal comma is a thousand and "1,5" with
// a decimal point is no amount. Signs are ignored like other symbols: callers that care look
// for them.
std::optional<double> parse(const QString& text, QChar decimalSeparator);

// What a money field holds for storing. The field was filled with `filledText` for the stored
// amount `stored` (none for a new amount): while its text is unchanged the stored amount itself
// comes back, so opening and saving never rounds or re-converts; otherwise the typed amount
// divided by `rate`, the interface's money per stored unit. Nothing when the text is no amount, or
// either amount is above kMaxAmount (an infinity could never be written to the data file).
// No fee, cost or target typed above this is taken: beyond it sums lose their cents and, added up,
// can overflow.
inline constexpr double kMaxAmount = 1e12;
std::optional<double> fromField(const QString& text, const QString& filledText, std::optional<double> stored,
                                double rate);
} // namespace Amount
