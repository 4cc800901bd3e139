#pragma once

// Geometry and state decisions of the icon button, apart from any window.
// Rectangles are in the button's client coordinates.
#include <windows.h>

// What the button shows.
enum { CONTENT_TEXT = 1, CONTENT_ICON = 2, CONTENT_ICON_AND_TEXT = 3 };
// Where the icon goes relative to the caption.
enum { ICON_BELOW = 0, ICON_ABOVE = 1, ICON_RIGHT = 2, ICON_LEFT = 3 };

// The client rectangle less the system edges on every side and the margin on
// the left and the right.
RECT IconButtonContentArea(const RECT& client, int cxEdge, int cyEdge, int nMargin);

// An icon drawn alone: centred in the area, its box cut at the area's right
// and bottom edges when it is larger.
RECT PlaceIconAlone(const RECT& area, SIZE icon);

// Icon and caption of the measured sizes, placed as a pair around the centre of
// the area, nGap pixels apart. An unknown placement centres both on the
// horizontal axis and leaves the icon box as tall as the area.
void PlaceIconAndText(const RECT& area, SIZE text, SIZE icon, int nGap, int nPlacement,
                      RECT* pTextBox, RECT* pIconBox);

enum IconButtonFrame {
    FRAME_NONE,
    FRAME_RAISED,      // one-pixel 3-D rectangle, light at top left
    FRAME_SUNKEN,      // one-pixel 3-D rectangle, dark at top left
    FRAME_PUSH,        // the system push-button frame
    FRAME_PUSH_PUSHED, // the system push-button frame, pushed
};

// bSystemBorder: the button is opaque and draws the system border. bCaptured:
// the button holds the mouse capture.
IconButtonFrame ChooseIconButtonFrame(bool bPressed, bool bFlat, bool bHover, bool bCaptured,
                                      bool bSystemBorder);

// What a step of the hover tracking asks of the window. Redrawing and capture
// changes are independent; a redraw is only an invalidation.
struct HoverActions {
    bool bRedraw = false;
    bool bTakeCapture = false;
    bool bReleaseCapture = false;
};

// A mouse move seen by the button.
HoverActions TrackHoverMove(bool& rbHover, bool& rbMouseOutside, bool bFlat, bool bInside,
                            bool bLeftButtonDown);

// The mouse capture went to another window, to none, or to the button itself
// (as when the control takes it on being pressed).
HoverActions TrackHoverCaptureChanged(bool& rbHover, bool& rbMouseOutside, bool bFlat,
                                      bool bCaptureIsButton);
