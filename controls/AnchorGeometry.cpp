#include "AnchorGeometry.h"

int GetAnchorSide(const RECT& rect, int nCode) {
    switch (nCode) {
    case ANCHOR_LEFT:
        return rect.left;
    case ANCHOR_TOP:
        return rect.top;
    case ANCHOR_RIGHT:
        return rect.right;
    case ANCHOR_BOTTOM:
        return rect.bottom;
    default:
        return 0;
    }
}

void SetAnchorOffsets(AnchorEntry& entry, const RECT& reference, const RECT& control) {
    entry.nLeftOffset = GetAnchorSide(reference, entry.nLeftSide) - control.left;
    entry.nTopOffset = GetAnchorSide(reference, entry.nTopSide) - control.top;
    entry.nRightOffset = GetAnchorSide(reference, entry.nRightSide) - control.right;
    entry.nBottomOffset = GetAnchorSide(reference, entry.nBottomSide) - control.bottom;
}

RECT AnchoredRect(const AnchorEntry& entry, const RECT& reference, const RECT& current) {
    RECT r = current;
    if (entry.nLeftSide != ANCHOR_NONE) {
        r.left = GetAnchorSide(reference, entry.nLeftSide) - entry.nLeftOffset;
    }
    if (entry.nTopSide != ANCHOR_NONE) {
        r.top = GetAnchorSide(reference, entry.nTopSide) - entry.nTopOffset;
    }
    if (entry.nRightSide != ANCHOR_NONE) {
        r.right = GetAnchorSide(reference, entry.nRightSide) - entry.nRightOffset;
    }
    if (entry.nBottomSide != ANCHOR_NONE) {
        r.bottom = GetAnchorSide(reference, entry.nBottomSide) - entry.nBottomOffset;
    }
    return r;
}
