#include "BandLayout.h"

RECT RectWithoutBand(const RECT& rect, int nTop, int nBottom) {
    const LONG nHeight = nBottom - nTop;
    RECT moved = rect;
    if (rect.top >= nBottom) {
        moved.top -= nHeight;
        moved.bottom -= nHeight;
    } else if (rect.top < nTop && rect.bottom >= nBottom) {
        moved.bottom -= nHeight;
    }
    return moved;
}
