#pragma once

// The arithmetic of anchored layout, apart from any window.
#include <windows.h>

// Side codes: which side of the reference rectangle a control's edge follows.
// Any other code pins the edge where it was at registration.
enum { ANCHOR_NONE = 0, ANCHOR_LEFT = 1, ANCHOR_TOP = 2, ANCHOR_RIGHT = 3, ANCHOR_BOTTOM = 4 };

// One registered control: the sides its edges follow and, per edge, the
// reference side minus that edge, taken at registration.
struct AnchorEntry {
    int nLeftSide;
    int nTopSide;
    int nRightSide;
    int nBottomSide;
    HWND hWnd;
    HWND hWndRef; // none: the parent's client area
    int nLeftOffset;
    int nTopOffset;
    int nRightOffset;
    int nBottomOffset;
};

// The rectangle's side named by a code; 0 for ANCHOR_NONE and unknown codes.
int GetAnchorSide(const RECT& rect, int nCode);

// Stores the four offsets of the control's rectangle against the reference
// rectangle, whatever the codes.
void SetAnchorOffsets(AnchorEntry& entry, const RECT& reference, const RECT& control);

// The control's new rectangle: each edge with a non-zero code keeps its
// registered distance to the reference side; the others stay where they are.
// Nothing is clamped, so the result may be empty or inverted.
RECT AnchoredRect(const AnchorEntry& entry, const RECT& reference, const RECT& current);
