#pragma once

#include <cstddef>
#include <vector>

// The main list's column widths, in pixels.

// A stored width that the user cannot have meant (negative, a few pixels,
// absurdly wide, or text that reads as 0) counts as none.
constexpr int kMinStoredColumnWidth = 12;
constexpr int kMaxStoredColumnWidth = 8192;
int StoredOrDefaultWidth(int nStored, int nDefault);

// The widths the columns start with when the settings hold none. needs[i]
// is what column i takes to show its texts whole (its heading and the longest
// text a cell can have, with the list view's margins); every column gets
// that, and the fill column (the program file, whose paths are long) also
// takes whatever room the others leave in a list nListWidth wide.
std::vector<int> DefaultColumnWidths(const std::vector<int>& needs, size_t nFillColumn,
                                     int nListWidth);
