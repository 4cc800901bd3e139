#include "CAreaBlackWnd.h"

#include "AreaBlackDecision.h"

namespace {

// The desktop window covers the primary monitor only; the virtual screen
// covers them all.
RECT VirtualScreenRect() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// Registered at the first show; later calls return the same name. A failed
// registration is tried again at the next show.
const char* BlackWndClass() {
    // No cursor: the pointer that ShowAreaBlack hides stays hidden over the window.
    return AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, nullptr,
                               reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
}

} // namespace

CAreaBlackWnd::~CAreaBlackWnd() {
    m_rgnWindow.DeleteObject();
    DestroyWindow();
}

BOOL CAreaBlackWnd::Show(const RECT& rcActive) {
    const AreaBlackGeometry geometry = AreaBlackGeometryFor(VirtualScreenRect(), rcActive);
    const char* pszClass = BlackWndClass();
    // A child of the desktop window is never activated: the active window
    // stays active and keeps the keyboard.
    if (!pszClass ||
        !CreateEx(0, pszClass, "AreaBlack", WS_CHILD, geometry.rcWindow, GetDesktopWindow(), 0)) {
        return FALSE;
    }
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);

    CRgn rgnFull;
    rgnFull.CreateRectRgnIndirect(&geometry.rcFull);
    m_rgnWindow.CreateRectRgnIndirect(&geometry.rcHole);
    m_rgnWindow.CombineRgn(&rgnFull, &m_rgnWindow, RGN_DIFF);
    if (::SetWindowRgn(m_hWnd, m_rgnWindow, TRUE)) {
        m_rgnWindow.Detach();
    }
    ShowWindow(SW_SHOW);
    return TRUE;
}

LRESULT CAreaBlackWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

BOOL CAreaBlackWnd::OnEraseBkgnd(HDC hdc) {
    RECT rcClient;
    GetClientRect(&rcClient);
    FillRect(hdc, &rcClient, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return TRUE;
}
