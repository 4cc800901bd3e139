#pragma once

#include "CButton.h"
#include "CIcon.h"
#include "CString.h"

// The program's command button: an owner-drawn push button (BS_OWNERDRAW)
// with a small picture beside its caption. Flat buttons show a frame only
// while the mouse is over them; a pressed button shows a sunken frame and
// shifts its content; a disabled one shows an embossed caption and a greyed
// picture.
class CIconButton : public CButton {
public:
    CIconButton();

    // Flat, frameless, transparent, a focus rectangle while the keyboard
    // cues are shown; with bIconAndText the picture goes left of the caption.
    void ApplyStandardStyle(BOOL bIconAndText);
    // The picture from an icon resource of the program; without one the
    // button shows its caption alone.
    BOOL SetIconFromResource(UINT nIconId);
    // The picture from a bitmap resource of the program; the colour of its
    // top-left pixel becomes transparent. A missing bitmap keeps the picture
    // held so far.
    BOOL SetIconFromBitmap(UINT nBitmapId);
    // Loads the picture again at the button's current scale (after the
    // window moved to a monitor of another scale).
    void ReloadPicture();
    void SetContentMode(int nMode) { m_nContentMode = nMode; }
    void SetIconPlacement(int nPlacement) { m_nIconPlacement = nPlacement; }
    void SetFlat(int nFlat, BOOL bRedraw);
    void SetBackgroundMode(int nMode) { m_nBackgroundMode = nMode; }
    void SetDrawBorder(BOOL bDrawBorder) { m_bDrawBorder = bDrawBorder; }
    void SetDrawFocusRect(BOOL bDrawFocusRect) { m_bDrawFocusRect = bDrawFocusRect; }
    // Not owned: cursors from LoadCursor are shared.
    void SetHoverCursor(HCURSOR hCursor) { m_hCursor = hCursor; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

private:
    // void OnMouseMove(UINT nFlags, POINT point)
    void OnMouseMove(UINT nFlags, POINT point);
    // BOOL OnEraseBkgnd(HDC hdc): TRUE when nothing more is to be erased
    BOOL OnEraseBkgnd(HDC hdc);
    // void OnCaptureChanged(HWND hWndNew)
    void OnCaptureChanged(HWND hWndNew);
    // BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message)
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);
    // void OnEnable(BOOL bEnable)
    void OnEnable(BOOL bEnable);

    // Invalidates the button and, under it, the parent's background.
    void Redraw(BOOL bErase);
    // The parent's background, drawn into the button's drawing context.
    void PaintParentBackground(HDC hdc);
    void DrawFrame(HDC hdc, const RECT& client, bool bPressed);
    void DrawButtonText(HDC hdc, const CString& caption, RECT box, UINT nFormat);
    SIZE GetIconSize() const;

    enum { BACKGROUND_TRANSPARENT = 1 };

    CIcon m_hIcon;
    UINT m_nIconId = 0;
    UINT m_nBitmapId = 0;
    int m_nGap = 5;
    int m_nContentMode = 1;
    int m_nIconPlacement = 1;
    BOOL m_bDrawBorder = TRUE;
    BOOL m_bDrawFocusRect = TRUE;
    int m_nMargin = 5;
    HCURSOR m_hCursor = nullptr;
    COLORREF m_crText;
    int m_nBackgroundMode = 2;
    bool m_bHover = false;
    bool m_bFlat = false;
    bool m_bMouseOutside = false;
};
