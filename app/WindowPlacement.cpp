#include "WindowPlacement.h"

RECT PlaceRestoredWindow(const RECT& restored, POINT created, bool bOnSomeMonitor,
                         const RECT& workArea) {
    const bool bUnmoved = restored.left == created.x && restored.top == created.y;
    if (bOnSomeMonitor && !bUnmoved) {
        return restored;
    }
    const int width = restored.right - restored.left;
    const int height = restored.bottom - restored.top;
    int left = workArea.left + (workArea.right - workArea.left - width) / 2;
    int top = workArea.top + (workArea.bottom - workArea.top - height) / 2;
    // A window larger than the work area keeps its caption reachable.
    if (left < workArea.left) {
        left = workArea.left;
    }
    if (top < workArea.top) {
        top = workArea.top;
    }
    return RECT{left, top, left + width, top + height};
}

SIZE MinimumClientSize(SIZE client, const RECT& buttons, const RECT& list) {
    const int rightMargin = client.cx - buttons.right;
    const int listHeight = list.bottom - list.top;
    return SIZE{rightMargin + (buttons.right - buttons.left) + rightMargin,
                client.cy - listHeight + listHeight / 2};
}
