#include "WakeQueue.h"

#include "resource.h"

int DrainQueuedWakes(HWND hWnd) {
    const WPARAM wakeCommand = MAKEWPARAM(ID_AREA_BLACK_WAKE, 0);
    int nDrained = 0;
    MSG msg;
    // Only a wake at the front is taken: any other command behind which wakes
    // wait keeps its place and its order.
    while (PeekMessageA(&msg, hWnd, WM_COMMAND, WM_COMMAND, PM_NOREMOVE | PM_QS_POSTMESSAGE) &&
           msg.wParam == wakeCommand && msg.lParam == 0) {
        PeekMessageA(&msg, hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE | PM_QS_POSTMESSAGE);
        ++nDrained;
    }
    return nDrained;
}
