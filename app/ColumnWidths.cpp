#include "ColumnWidths.h"

#include <algorithm>

int StoredOrDefaultWidth(int nStored, int nDefault) {
    return nStored >= kMinStoredColumnWidth && nStored <= kMaxStoredColumnWidth ? nStored
                                                                                : nDefault;
}

std::vector<int> DefaultColumnWidths(const std::vector<ColumnNeed>& needs, size_t nFillColumn,
                                     int nListWidth) {
    std::vector<int> widths;
    int total = 0;
    for (const ColumnNeed& need : needs) {
        widths.push_back(need.nWhole);
        total += need.nWhole;
    }
    if (nFillColumn >= widths.size()) {
        return widths;
    }
    if (nListWidth > total) {
        widths[nFillColumn] += nListWidth - total;
        return widths;
    }
    int over = total - nListWidth;
    for (size_t i = 0; i < widths.size() && over > 0; ++i) {
        if (i == nFillColumn) {
            continue;
        }
        const int give = std::min(over, widths[i] - std::min(needs[i].nLeast, widths[i]));
        widths[i] -= give;
        over -= give;
    }
    return widths;
}
