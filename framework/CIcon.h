#pragma once

#include <windows.h>

// Sole owner of an icon that was loaded or made for one user (not a shared
// icon), destroyed when replaced and when the owner goes.
class CIcon {
public:
    CIcon() = default;
    CIcon(const CIcon&) = delete;
    CIcon& operator=(const CIcon&) = delete;
    ~CIcon() { Attach(nullptr); }

    operator HICON() const { return m_hIcon; }
    void Attach(HICON hIcon) {
        if (m_hIcon && m_hIcon != hIcon) {
            ::DestroyIcon(m_hIcon);
        }
        m_hIcon = hIcon;
    }

private:
    HICON m_hIcon = nullptr;
};
