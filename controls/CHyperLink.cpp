#include "CHyperLink.h"

#include "CClientDC.h"
#include "HyperLinkFont.h"

#include <shellapi.h>

CHyperLink::CHyperLink() : m_crText(GetSysColor(COLOR_WINDOWTEXT)) {}

void CHyperLink::SetFontFace(const char* pszFace, int nPoints, int nWeight, BYTE bItalic,
                             BYTE bUnderline) {
    CClientDC screen(nullptr);
    int height = PointsToFontHeight(nPoints, GetDeviceCaps(screen, LOGPIXELSY));
    ReplaceFont(BuildLinkFont(pszFace, height, nWeight, bItalic, bUnderline));
}

void CHyperLink::SetUnderline(BYTE bUnderline) {
    HFONT hCurrent = GetFont();
    // A control without a font of its own shows the system font.
    if (!hCurrent) {
        hCurrent = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    }
    LOGFONTA lf;
    if (GetObjectA(hCurrent, sizeof lf, &lf) != sizeof lf) {
        return;
    }
    lf.lfUnderline = bUnderline;
    ReplaceFont(lf);
}

void CHyperLink::ReplaceFont(const LOGFONTA& lf) {
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&lf);
    SetFont(m_font, TRUE);
}

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam))) {
            return TRUE;
        }
        break;
    default:
        break;
    }
    return DefWindowProc(message, wParam, lParam);
}

bool CHyperLink::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
        *pResult =
            reinterpret_cast<LRESULT>(CtlColor(reinterpret_cast<HDC>(wParam), CTLCOLOR_STATIC));
        return true;
    case WM_COMMAND:
        if (HIWORD(wParam) == STN_CLICKED) {
            OnClicked();
            *pResult = 0;
            return true;
        }
        break;
    default:
        break;
    }
    return CStatic::OnChildNotify(message, wParam, lParam, pResult);
}

HBRUSH CHyperLink::CtlColor(HDC hdc, UINT) {
    SetTextColor(hdc, m_crText);
    SetBkMode(hdc, TRANSPARENT);
    return GetSysColorBrush(COLOR_BTNFACE);
}

BOOL CHyperLink::OnSetCursor(HWND, UINT, UINT) {
    if (!m_hCursor) {
        return FALSE;
    }
    SetCursor(m_hCursor);
    return TRUE;
}

void CHyperLink::OnClicked() {
    if (m_strTarget.IsEmpty()) {
        return;
    }
    // The shell reports failures itself or not at all; nothing is ours to add.
    ShellExecuteA(GetParent(), "open", m_strTarget, nullptr, nullptr, SW_SHOWDEFAULT);
}
