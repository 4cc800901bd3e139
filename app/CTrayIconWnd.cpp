#include "CTrayIconWnd.h"

#include "CTrayIcon.h"

BOOL CTrayIconWnd::Create() {
    const char* pszClass =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!pszClass) {
        return FALSE;
    }
    const RECT rect = {0, 0, 50, 50};
    return CreateEx(0, pszClass, "TrayIconWnd", WS_POPUPWINDOW, rect, nullptr, 0);
}

LRESULT CTrayIconWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TRAYNOTIFY:
        if (m_pfnCallback) {
            m_pfnCallback(wParam, lParam, m_pCallbackData);
        }
        return 0;
    case WM_TIMER:
        if (m_pIcon) {
            m_pIcon->OnRetryTimer(wParam);
        }
        return 0;
    default:
        return DefWindowProc(message, wParam, lParam);
    }
}
