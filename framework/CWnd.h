#pragma once

#include <windows.h>

#include "CString.h"

// An HWND with the operations the program calls. The object never destroys its
// window; when it goes first it gives a subclassed window its own procedure back.
class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    // The object bound to a window, or none for windows we do not manage.
    static CWnd* FromHandle(HWND hWnd);

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Routes the window's messages through WindowProc; the window keeps its
    // class procedure as the default processing. Fails for a window that is
    // already bound or for no window.
    BOOL SubclassWindow(HWND hWnd);
    HWND UnsubclassWindow();

    // Creates a window of a class whose procedure is the default one and
    // routes its messages through WindowProc from then on (the creation
    // messages themselves get the default processing).
    BOOL CreateEx(DWORD dwExStyle, const char* pszClassName, const char* pszWindowName,
                  DWORD dwStyle, const RECT& rect, HWND hWndParent, UINT nID);
    BOOL DestroyWindow();

    HWND GetParent() const { return ::GetParent(m_hWnd); }
    void GetClientRect(RECT* pRect) const { ::GetClientRect(m_hWnd, pRect); }
    void GetWindowRect(RECT* pRect) const { ::GetWindowRect(m_hWnd, pRect); }
    void ClientToScreen(POINT* pPoint) const { ::ClientToScreen(m_hWnd, pPoint); }
    void InvalidateRect(const RECT* pRect, BOOL bErase = TRUE) {
        ::InvalidateRect(m_hWnd, pRect, bErase);
    }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    void SetWindowText(const char* pszText) { ::SetWindowTextA(m_hWnd, pszText); }
    HMENU GetMenu() const { return ::GetMenu(m_hWnd); }
    void GetWindowText(CString& rString) const;
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    void SetFont(HFONT hFont, BOOL bRedraw = TRUE) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), bRedraw);
    }

protected:
    // The one dispatch function of a subclassed window: a switch over the
    // messages the class handles, DefWindowProc for the rest.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The subclassed window's own processing of a message.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // A parent reflects WM_DRAWITEM, WM_CTLCOLORSTATIC and control
    // notifications (WM_COMMAND) here; true when the control handled them.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // Records the object as the window's owner in the one HWND-to-object map.
    void Bind(HWND hWnd);
    void Unbind();

    HWND m_hWnd = nullptr;

private:
    friend class CDialog;
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC m_pfnSuper = nullptr;
};

// Registers (once per set of values) a window class with the default window
// procedure and returns its generated name, valid until the process ends.
const char* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                                HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);
