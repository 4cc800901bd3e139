#include "WindowPlacement.h"

#include "CProfileFile.h"
#include "CProfileText.h"

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

RECT SizeGripRect(const RECT& client) {
    return RECT{client.right - GetSystemMetrics(SM_CXVSCROLL),
                client.bottom - GetSystemMetrics(SM_CYHSCROLL), client.right, client.bottom};
}

RECT PlaceSavedWindow(const RECT& restored, POINT created) {
    MONITORINFO primary = {};
    primary.cbSize = sizeof primary;
    GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary);
    const bool bOnSomeMonitor = MonitorFromRect(&restored, MONITOR_DEFAULTTONULL) != nullptr;
    return PlaceRestoredWindow(restored, created, bOnSomeMonitor, primary.rcWork);
}

RECT WindowRectToSave(HWND hWnd) {
    RECT r;
    if (!IsIconic(hWnd)) {
        GetWindowRect(hWnd, &r);
        return r;
    }
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(hWnd, &placement);
    r = placement.rcNormalPosition;
    // The restored rectangle is in work-area coordinates; Left and Top are
    // read back as screen coordinates, so a taskbar at the top or left would
    // otherwise shift the window at every such save.
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTOPRIMARY), &info)) {
        OffsetRect(&r, info.rcWork.left - info.rcMonitor.left,
                   info.rcWork.top - info.rcMonitor.top);
    }
    return r;
}

SIZE MinimumTrackSize(HWND hDlg, int nListID, std::initializer_list<int> buttonIDs) {
    RECT client, list, buttons = {};
    GetClientRect(hDlg, &client);
    GetWindowRect(GetDlgItem(hDlg, nListID), &list);
    MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&list), 2);
    for (int nID : buttonIDs) {
        RECT button;
        GetWindowRect(GetDlgItem(hDlg, nID), &button);
        MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&button), 2);
        UnionRect(&buttons, &buttons, &button);
    }
    const SIZE minClient = MinimumClientSize(SIZE{client.right, client.bottom}, buttons, list);
    RECT outer = {0, 0, minClient.cx, minClient.cy};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(hDlg, GWL_STYLE)),
                       GetMenu(hDlg) != nullptr,
                       static_cast<DWORD>(GetWindowLongA(hDlg, GWL_EXSTYLE)));
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

RECT ReadSavedWindowRect(CProfileFile& settings, HWND hWnd) {
    RECT rc;
    GetWindowRect(hWnd, &rc);
    const int left = settings.GetInt("Dialog", "Left", rc.left);
    const int top = settings.GetInt("Dialog", "Top", rc.top);
    const int width = settings.GetInt("Dialog", "Width", rc.right - left);
    const int height = settings.GetInt("Dialog", "Height", rc.bottom - top);
    return PlaceSavedWindow(RECT{left, top, left + width, top + height}, POINT{rc.left, rc.top});
}

void WriteWindowRect(CProfileText& text, const RECT& rect) {
    text.WriteInt("Dialog", "Left", rect.left);
    text.WriteInt("Dialog", "Top", rect.top);
    text.WriteInt("Dialog", "Width", rect.right - rect.left);
    text.WriteInt("Dialog", "Height", rect.bottom - rect.top);
}

void PaintSizeGrip(HWND hWnd, HICON hIcon) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    RECT client;
    GetClientRect(hWnd, &client);
    if (IsIconic(hWnd)) {
        SendMessageA(hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
        DrawIcon(hdc, (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
                 (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2, hIcon);
    } else {
        RECT grip = SizeGripRect(client);
        DrawFrameControl(hdc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
    EndPaint(hWnd, &ps);
}

LRESULT SizeGripHitTest(HWND hWnd, POINT point) {
    ScreenToClient(hWnd, &point);
    RECT client;
    GetClientRect(hWnd, &client);
    const RECT grip = SizeGripRect(client);
    return PtInRect(&grip, point) ? HTBOTTOMRIGHT : HTNOWHERE;
}
