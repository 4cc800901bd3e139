#include "CWnd.h"

#include <cstdio>
#include <set>
#include <string>
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

BOOL CWnd::CreateEx(DWORD dwExStyle, const char* pszClassName, const char* pszWindowName,
                    DWORD dwStyle, const RECT& rect, HWND hWndParent, UINT nID) {
    if (m_hWnd) {
        return FALSE;
    }
    HWND hWnd = CreateWindowExA(dwExStyle, pszClassName, pszWindowName, dwStyle, rect.left,
                                rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                hWndParent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)),
                                GetModuleHandleA(nullptr), nullptr);
    if (!hWnd) {
        return FALSE;
    }
    if (!SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
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

const char* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground,
                                HICON hIcon) {
    // The names outlive every window of the process; a set keeps them at
    // fixed addresses.
    static std::set<std::string> s_names;
    char name[96];
    std::snprintf(name, sizeof name, "Qorvane:%x:%p:%p:%p", nClassStyle,
                  static_cast<void*>(hCursor), static_cast<void*>(hbrBackground),
                  static_cast<void*>(hIcon));
    auto found = s_names.find(name);
    if (found != s_names.end()) {
        return found->c_str();
    }
    WNDCLASSA wc = {};
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return nullptr;
    }
    return s_names.insert(name).first->c_str();
}
