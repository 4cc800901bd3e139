#include "ColumnWidths.h"

int StoredOrDefaultWidth(int nStored, int nDefault) {
    return nStored >= kMinStoredColumnWidth && nStored <= kMaxStoredColumnWidth ? nStored
                                                                                : nDefault;
}

std::vector<int> DefaultColumnWidths(const std::vector<int>& needs, size_t nFillColumn,
                                     int nListWidth) {
    std::vector<int> widths(needs);
    if (nFillColumn >= widths.size()) {
        return widths;
    }
    int others = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        if (i != nFillColumn) {
            others += widths[i];
        }
    }
    if (nListWidth - others > widths[nFillColumn]) {
        widths[nFillColumn] = nListWidth - others;
    }
    return widths;
}
