#include "CIconButton.h"

#include "AfxResource.h"
#include "CBitmap.h"
#include "CDC.h"
#include "CImageList.h"
#include "DpiScale.h"
#include "IconButtonLayout.h"

#include <windowsx.h>

namespace {

void Draw3dRect(HDC hdc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    const int cx = r.right - r.left, cy = r.bottom - r.top;
    COLORREF oldBk = SetBkColor(hdc, topLeft);
    RECT edge = {r.left, r.top, r.left + cx - 1, r.top + 1};
    ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &edge, nullptr, 0, nullptr);
    edge = {r.left, r.top, r.left + 1, r.top + cy - 1};
    ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &edge, nullptr, 0, nullptr);
    SetBkColor(hdc, bottomRight);
    edge = {r.left + cx - 1, r.top, r.left + cx, r.top + cy};
    ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &edge, nullptr, 0, nullptr);
    edge = {r.left, r.top + cy - 1, r.left + cx, r.top + cy};
    ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &edge, nullptr, 0, nullptr);
    SetBkColor(hdc, oldBk);
}

} // namespace

CIconButton::CIconButton() : m_crText(GetSysColor(COLOR_BTNTEXT)) {}

void CIconButton::ApplyStandardStyle(BOOL bIconAndText) {
    SetFlat(1, TRUE);
    SetDrawBorder(FALSE);
    // Keyboard users need to see which button Space would press; the system
    // hides the mark until the keyboard is used.
    SetDrawFocusRect(TRUE);
    SetBackgroundMode(BACKGROUND_TRANSPARENT);
    if (bIconAndText) {
        SetContentMode(CONTENT_ICON_AND_TEXT);
        SetIconPlacement(ICON_LEFT);
    }
}

BOOL CIconButton::SetIconFromResource(UINT nIconId) {
    m_nIconId = nIconId;
    m_nBitmapId = 0;
    // The pictures are drawn for 16 pixels at 96 dots per inch; the resource
    // holds larger sizes for larger scales.
    const int size = ScaleByDpi(16, GetWindowDpi(m_hWnd));
    m_hIcon.Attach(static_cast<HICON>(LoadImageA(
        AfxGetResourceHandle(), MAKEINTRESOURCEA(LOWORD(nIconId)), IMAGE_ICON, size, size, 0)));
    return m_hIcon != nullptr;
}

void CIconButton::ReloadPicture() {
    if (m_nIconId) {
        SetIconFromResource(m_nIconId);
    } else if (m_nBitmapId) {
        SetIconFromBitmap(m_nBitmapId);
    }
    Redraw(TRUE);
}

BOOL CIconButton::SetIconFromBitmap(UINT nBitmapId) {
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(nBitmapId)) {
        return FALSE;
    }
    BITMAP info = {};
    bitmap.GetBitmap(&info);

    CDC memory;
    COLORREF crTransparent = CLR_NONE;
    if (memory.CreateCompatibleDC(nullptr)) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        crTransparent = GetPixel(memory, 0, 0);
        SelectObject(memory, old);
    }

    // The whole bitmap is one image; the list masks out the corner colour.
    CImageList images;
    if (!images.Create(nBitmapId, info.bmWidth, 1, crTransparent)) {
        m_hIcon.Attach(nullptr);
        return FALSE;
    }
    HICON hIcon = ImageList_GetIcon(images, 0, ILD_NORMAL);
    m_nBitmapId = nBitmapId;
    m_nIconId = 0;
    const UINT dpi = GetWindowDpi(m_hWnd);
    if (hIcon && dpi != kDesignDpi) {
        // A bitmap has one size only: stretch it to the scale.
        HICON hScaled = static_cast<HICON>(CopyImage(
            hIcon, IMAGE_ICON, ScaleByDpi(info.bmWidth, dpi), ScaleByDpi(info.bmHeight, dpi), 0));
        if (hScaled) {
            DestroyIcon(hIcon);
            hIcon = hScaled;
        }
    }
    m_hIcon.Attach(hIcon);
    return TRUE;
}

void CIconButton::SetFlat(int nFlat, BOOL bRedraw) {
    m_bFlat = nFlat == 1;
    if (bRedraw) {
        Redraw(TRUE);
    }
}

void CIconButton::PaintParentBackground(HDC hdc) {
    HWND hParent = GetParent();
    POINT origin = {0, 0};
    MapWindowPoints(m_hWnd, hParent, &origin, 1);
    POINT old;
    OffsetWindowOrgEx(hdc, origin.x, origin.y, &old);
    ::SendMessageA(hParent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    SetWindowOrgEx(hdc, old.x, old.y, nullptr);
}

void CIconButton::Redraw(BOOL bErase) {
    if (!m_hWnd) {
        return;
    }
    if (m_nBackgroundMode != BACKGROUND_TRANSPARENT) {
        InvalidateRect(nullptr, bErase);
    }
    HWND hParent = GetParent();
    RECT rect;
    GetWindowRect(&rect);
    MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rect), 2);
    ::InvalidateRect(hParent, &rect, bErase);
}

LRESULT CIconButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE: {
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        OnMouseMove(static_cast<UINT>(wParam), point);
        break;
    }
    case WM_ERASEBKGND:
        if (OnEraseBkgnd(reinterpret_cast<HDC>(wParam))) {
            return TRUE;
        }
        break;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(reinterpret_cast<HWND>(lParam));
        break;
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam))) {
            return TRUE;
        }
        break;
    case WM_ENABLE: {
        LRESULT result = DefWindowProc(message, wParam, lParam);
        OnEnable(static_cast<BOOL>(wParam));
        return result;
    }
    default:
        break;
    }
    return DefWindowProc(message, wParam, lParam);
}

void CIconButton::OnMouseMove(UINT nFlags, POINT point) {
    RECT client;
    GetClientRect(&client);
    HoverActions actions =
        TrackHoverMove(m_bHover, m_bMouseOutside, m_bFlat, PtInRect(&client, point) != FALSE,
                       (nFlags & MK_LBUTTON) != 0);
    if (actions.bRedraw) {
        Redraw(TRUE);
    }
    if (actions.bTakeCapture) {
        SetCapture(m_hWnd);
    }
    if (actions.bReleaseCapture) {
        ReleaseCapture();
    }
}

BOOL CIconButton::OnEraseBkgnd(HDC) {
    return m_nBackgroundMode == BACKGROUND_TRANSPARENT;
}

void CIconButton::OnCaptureChanged(HWND hWndNew) {
    HoverActions actions =
        TrackHoverCaptureChanged(m_bHover, m_bMouseOutside, m_bFlat, hWndNew == m_hWnd);
    if (actions.bRedraw) {
        Redraw(TRUE);
    }
}

BOOL CIconButton::OnSetCursor(HWND, UINT, UINT) {
    if (!m_hCursor) {
        return FALSE;
    }
    SetCursor(m_hCursor);
    return TRUE;
}

void CIconButton::OnEnable(BOOL) {
    Redraw(TRUE);
}

SIZE CIconButton::GetIconSize() const {
    SIZE size = {0, 0};
    ICONINFO info = {};
    if (!GetIconInfo(m_hIcon, &info)) {
        return size;
    }
    // GetIconInfo hands out copies of both bitmaps; they are ours to delete.
    CBitmap color, mask;
    color.Attach(info.hbmColor);
    mask.Attach(info.hbmMask);
    BITMAP bm = {};
    if (color.GetSafeHandle() && color.GetBitmap(&bm)) {
        size.cx = bm.bmWidth;
        size.cy = bm.bmHeight;
    } else if (mask.GetBitmap(&bm)) {
        // A monochrome icon keeps its image below its mask in one bitmap.
        size.cx = bm.bmWidth;
        size.cy = bm.bmHeight / 2;
    }
    return size;
}

void CIconButton::DrawFrame(HDC hdc, const RECT& client, bool bPressed) {
    bool bSystemBorder = m_nBackgroundMode != BACKGROUND_TRANSPARENT && m_bDrawBorder;
    RECT rect = client;
    switch (
        ChooseIconButtonFrame(bPressed, m_bFlat, m_bHover, GetCapture() == m_hWnd, bSystemBorder)) {
    case FRAME_NONE:
        break;
    case FRAME_RAISED:
        Draw3dRect(hdc, rect, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
        break;
    case FRAME_SUNKEN:
        Draw3dRect(hdc, rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        break;
    case FRAME_PUSH:
        DrawFrameControl(hdc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH);
        break;
    case FRAME_PUSH_PUSHED:
        DrawFrameControl(hdc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
        break;
    }
}

void CIconButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    HDC hdc = lpDrawItemStruct->hDC;
    // The system redraws a button on its own for a focus change or a press,
    // without the parent's background under it: a transparent button's
    // caption would land on its own pixels and grow bold, and an old focus
    // mark would stay. The parent's background comes first, every time.
    if (m_nBackgroundMode == BACKGROUND_TRANSPARENT) {
        PaintParentBackground(hdc);
    }
    const bool bPressed = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    const bool bFocused = (lpDrawItemStruct->itemState & ODS_FOCUS) != 0 &&
                          (lpDrawItemStruct->itemState & ODS_NOFOCUSRECT) == 0;
    RECT client;
    GetClientRect(&client);

    const int saved = SaveDC(hdc);
    SetTextColor(hdc, m_crText);
    CString caption;
    GetWindowText(caption);
    SetBkMode(hdc, TRANSPARENT);

    DrawFrame(hdc, client, bPressed);

    const int cxEdge = GetSystemMetrics(SM_CXEDGE), cyEdge = GetSystemMetrics(SM_CYEDGE);
    if (m_bDrawFocusRect && bFocused) {
        RECT focus = client;
        InflateRect(&focus, -cxEdge - 2, -cyEdge - 1);
        DrawFocusRect(hdc, &focus);
    }

    // Everything from here on, caption included, moves with the press.
    if (bPressed) {
        SetViewportOrgEx(hdc, 1, 1, nullptr);
    }
    const UINT dpi = GetWindowDpi(m_hWnd);
    const RECT area = IconButtonContentArea(client, cxEdge, cyEdge, ScaleByDpi(m_nMargin, dpi));
    if (!m_hIcon || m_nContentMode == CONTENT_TEXT) {
        DrawButtonText(hdc, caption, area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        RestoreDC(hdc, saved);
        return;
    }

    const SIZE icon = GetIconSize();
    RECT iconBox;
    if (m_nContentMode == CONTENT_ICON) {
        iconBox = PlaceIconAlone(area, icon);
    } else {
        RECT measured = area;
        DrawTextA(hdc, caption, -1, &measured, DT_CALCRECT | DT_SINGLELINE | DT_CENTER);
        SIZE text = {measured.right - measured.left, measured.bottom - measured.top};
        RECT textBox;
        PlaceIconAndText(area, text, icon, ScaleByDpi(m_nGap, dpi), m_nIconPlacement, &textBox,
                         &iconBox);
        DrawButtonText(hdc, caption, textBox, DT_SINGLELINE);
    }

    RestoreDC(hdc, saved);
    POINT oldOrigin = {0, 0};
    if (bPressed) {
        SetViewportOrgEx(hdc, 1, 1, &oldOrigin);
    }
    UINT flags = DST_ICON;
    if (!IsWindowEnabled()) {
        flags |= DSS_DISABLED;
    } else if (bPressed) {
        // The picture sinks one pixel further than the caption.
        iconBox.left += 1;
        iconBox.top += 1;
    }
    DrawStateA(hdc, nullptr, nullptr, reinterpret_cast<LPARAM>(static_cast<HICON>(m_hIcon)), 0,
               iconBox.left, iconBox.top, iconBox.right - iconBox.left,
               iconBox.bottom - iconBox.top, flags);
    if (bPressed) {
        SetViewportOrgEx(hdc, oldOrigin.x, oldOrigin.y, nullptr);
    }
}

void CIconButton::DrawButtonText(HDC hdc, const CString& caption, RECT box, UINT nFormat) {
    if (IsWindowEnabled()) {
        DrawTextA(hdc, caption, -1, &box, nFormat);
        return;
    }
    // Embossed: a light copy one pixel down and right under the dark one.
    COLORREF old = SetTextColor(hdc, GetSysColor(COLOR_BTNHIGHLIGHT));
    RECT shifted = box;
    OffsetRect(&shifted, 1, 1);
    DrawTextA(hdc, caption, -1, &shifted, nFormat);
    SetTextColor(hdc, GetSysColor(COLOR_BTNSHADOW));
    DrawTextA(hdc, caption, -1, &box, nFormat);
    SetTextColor(hdc, old);
}
