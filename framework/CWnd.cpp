#include "CWnd.h"

#include <vector>

namespace {

// The window property that maps a window to its CWnd.
const char kObjectProperty[] = "Qorvane.CWnd";

} // namespace

CWnd::~CWnd() {
    if (m_pfnSuper) {
        UnsubclassWindow();
    } else {
        Unbind();
    }
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd) {
        return nullptr;
    }
    return static_cast<CWnd*>(GetPropA(hWnd, kObjectProperty));
}

void CWnd::Bind(HWND hWnd) {
    m_hWnd = hWnd;
    SetPropA(hWnd, kObjectProperty, this);
}

void CWnd::Unbind() {
    if (m_hWnd) {
        RemovePropA(m_hWnd, kObjectProperty);
        m_hWnd = nullptr;
    }
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!hWnd || m_hWnd || FromHandle(hWnd)) {
        return FALSE;
    }
    Bind(hWnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    if (!m_pfnSuper) {
        Unbind();
        return FALSE;
    }
    return TRUE;
}

HWND CWnd::UnsubclassWindow() {
    HWND hWnd = m_hWnd;
    if (!hWnd || !m_pfnSuper) {
        return nullptr;
    }
    // Someone who subclassed the window after us keeps our procedure as the
    // one to call; putting the old one back would cut them off.
    if (GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)) {
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    Unbind();
    return hWnd;
}

void CWnd::GetWindowText(CString& rString) const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    int n = ::GetWindowTextA(m_hWnd, buffer.data(), static_cast<int>(buffer.size()));
    rString = CString(buffer.data(), static_cast<size_t>(n > 0 ? n : 0));
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) {
        return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return false;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = FromHandle(hWnd);
    if (!pWnd) {
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
    // No exception may unwind through user32's frames.
    try {
        LRESULT result = pWnd->WindowProc(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            pWnd->UnsubclassWindow();
        }
        return result;
    } catch (...) {
        return 0;
    }
}
