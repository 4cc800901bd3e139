#pragma once

#include <windows.h>

// The drawing context of a window's client area (of the screen for no window),
// released with the object.
class CClientDC {
public:
    explicit CClientDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    ~CClientDC() {
        if (m_hDC) {
            ::ReleaseDC(m_hWnd, m_hDC);
        }
    }

    operator HDC() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};
