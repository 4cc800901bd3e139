#pragma once

#include <cstddef>
#include <vector>

// The main list's column widths, in pixels.

// A stored width that the user cannot have meant (negative, a few pixels,
// absurdly wide, or text that reads as 0) counts as none.
constexpr int kMinStoredColumnWidth = 12;
constexpr int kMaxStoredColumnWidth = 8192;
int StoredOrDefaultWidth(int nStored, int nDefault);

// What one column takes by default: nWhole shows its heading and every text
// a cell can have whole at the design width; it may give way down to nLeast,
// which still shows the heading and the texts most cells have whole.
struct ColumnNeed {
    int nWhole;
    int nLeast;
};

// The widths the columns start with when the settings hold none. Every column
// gets its whole need and the fill column (the program file, whose paths are
// long) whatever room the others leave in a list nListWidth wide; where the
// list is too narrow for that, the other columns give way, left to right,
// down to their least, before the list has to scroll.
std::vector<int> DefaultColumnWidths(const std::vector<ColumnNeed>& needs, size_t nFillColumn,
                                     int nListWidth);
