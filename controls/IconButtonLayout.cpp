#include "IconButtonLayout.h"

RECT IconButtonContentArea(const RECT& client, int cxEdge, int cyEdge, int nMargin) {
    RECT area = {client.left + cxEdge + nMargin, client.top + cyEdge,
                 client.right - cxEdge - nMargin, client.bottom - cyEdge};
    return area;
}

RECT PlaceIconAlone(const RECT& area, SIZE icon) {
    RECT box;
    // Integer division truncates toward zero, also for an icon larger than the area.
    box.left = area.left + (area.right - area.left - icon.cx) / 2;
    box.right = area.right - box.left > icon.cx ? box.left + icon.cx : area.right;
    box.top = area.top + (area.bottom - area.top - icon.cy) / 2;
    box.bottom = area.bottom - box.top > icon.cy ? box.top + icon.cy : area.bottom;
    return box;
}

void PlaceIconAndText(const RECT& area, SIZE text, SIZE icon, int nGap, int nPlacement,
                      RECT* pTextBox, RECT* pIconBox) {
    const long L = area.left, T = area.top, R = area.right, B = area.bottom;
    RECT t = {L, T, L + text.cx, T + text.cy};
    RECT i = {L, T, R, B};
    if (nPlacement == ICON_RIGHT || nPlacement == ICON_LEFT) {
        t.top = T + (B - T - text.cy) / 2;
        t.bottom = t.top + text.cy;
        i.top = T + (B - T - icon.cy) / 2;
        i.bottom = i.top + icon.cy;
    } else {
        t.left = L + (R - L - text.cx) / 2;
        t.right = t.left + text.cx;
        i.left = L + (R - L - icon.cx) / 2;
        i.right = i.left + icon.cx;
    }
    switch (nPlacement) {
    case ICON_BELOW:
        t.top = T + (B - T - nGap - text.cy - icon.cy) / 2;
        t.bottom = t.top + text.cy;
        i.top = t.bottom + nGap;
        i.bottom = i.top + icon.cy;
        break;
    case ICON_ABOVE:
        t.top = T + (B - T - nGap - text.cy + icon.cy) / 2;
        t.bottom = t.top + text.cy;
        i.bottom = t.top - nGap;
        i.top = i.bottom - icon.cy;
        break;
    case ICON_RIGHT:
        t.left = L + (R - L - nGap - text.cx - icon.cx) / 2;
        t.right = t.left + text.cx;
        i.left = t.right + nGap;
        i.right = i.left + icon.cx;
        break;
    case ICON_LEFT:
        t.left = L + (R - L - nGap - text.cx + icon.cx) / 2;
        t.right = t.left + text.cx;
        i.right = t.left - nGap;
        i.left = i.right - icon.cx;
        break;
    default:
        break;
    }
    *pTextBox = t;
    *pIconBox = i;
}

IconButtonFrame ChooseIconButtonFrame(bool bPressed, bool bFlat, bool bHover, bool bCaptured,
                                      bool bSystemBorder) {
    if (bPressed) {
        return bSystemBorder ? FRAME_PUSH_PUSHED : FRAME_SUNKEN;
    }
    if (bFlat && !bHover && !bCaptured) {
        return FRAME_NONE;
    }
    return bSystemBorder ? FRAME_PUSH : FRAME_RAISED;
}

HoverActions TrackHoverMove(bool& rbHover, bool& rbMouseOutside, bool bFlat, bool bInside,
                            bool bLeftButtonDown) {
    HoverActions actions;
    if (bInside) {
        actions.bRedraw = rbMouseOutside;
        rbMouseOutside = false;
        // A move in with the button held belongs to a press elsewhere: no hover.
        if (bFlat && !rbHover && !bLeftButtonDown) {
            rbHover = true;
            actions.bRedraw = true;
            actions.bTakeCapture = true;
        }
    } else {
        actions.bRedraw = !rbMouseOutside;
        rbMouseOutside = true;
        if (rbHover) {
            rbHover = false;
            actions.bRedraw = true;
            actions.bReleaseCapture = true;
        }
    }
    return actions;
}

HoverActions TrackHoverCaptureChanged(bool& rbHover, bool& rbMouseOutside, bool bFlat,
                                      bool bCaptureIsButton) {
    HoverActions actions;
    if (!bCaptureIsButton) {
        rbHover = false;
        actions.bRedraw = true;
    } else if (bFlat) {
        rbHover = false;
        rbMouseOutside = false;
        actions.bRedraw = true;
    }
    return actions;
}
