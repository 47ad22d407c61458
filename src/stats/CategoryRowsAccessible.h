#pragma once

// What a screen reader sees of a breakdown card's rows: one progress bar per row, named after
// it, its value how far its track fills (0 to 100: a category's share of the revenue) and its
// text the figures drawn beside the bar.
namespace CategoryRowsAccessible {
// Installed once, before the first rows view exists.
void install();
} // namespace CategoryRowsAccessible
