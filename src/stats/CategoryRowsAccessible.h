#pragma once

// What a screen reader sees of the card's category rows: one progress bar per category, named
// after it, its value the category's share of the revenue (0 to 100) and its text the figures
// drawn beside the bar.
namespace CategoryRowsAccessible {
// Installed once, before the first rows view exists.
void install();
} // namespace CategoryRowsAccessible
