#pragma once

#include "AfxResource.h"

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
    // The program's icon resource drawn at this size, not shrunk from another.
    void Load(UINT nID, int cx, int cy) {
        Attach(static_cast<HICON>(
            ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nID), IMAGE_ICON, cx, cy, 0)));
    }
    void Attach(HICON hIcon) {
        if (m_hIcon && m_hIcon != hIcon) {
            ::DestroyIcon(m_hIcon);
        }
        m_hIcon = hIcon;
    }

private:
    HICON m_hIcon = nullptr;
};
