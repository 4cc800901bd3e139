#pragma once

#include "CFont.h"
#include "CStatic.h"
#include "CString.h"

// A static text with its own font, colour and pointer; a click opens a target
// (a URL or a "mailto:" address) with the shell. Clicks arrive only when the
// template gives the control the notify style (SS_NOTIFY).
class CHyperLink : public CStatic {
public:
    CHyperLink();

    // Takes effect at the next repaint.
    void SetLinkColor(COLORREF crText) { m_crText = crText; }
    // Not owned: cursors from LoadCursor are shared.
    void SetLinkCursor(HCURSOR hCursor) { m_hCursor = hCursor; }
    // None empties the target: clicks then do nothing.
    void SetTarget(const char* pszTarget) { m_strTarget = pszTarget; }
    void SetFontFace(const char* pszFace, int nPoints, int nWeight, BYTE bItalic, BYTE bUnderline);
    // Copies the control's current font with the underline attribute replaced.
    void SetUnderline(BYTE bUnderline);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    // HBRUSH CtlColor(HDC hdc, UINT nCtlColor): the reflected colour query
    HBRUSH CtlColor(HDC hdc, UINT nCtlColor);
    // BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message)
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);
    // void OnClicked(): the reflected STN_CLICKED
    void OnClicked();

    void ReplaceFont(const LOGFONTA& lf);

    COLORREF m_crText;
    CFont m_font;
    HCURSOR m_hCursor = nullptr;
    CString m_strTarget;
};
