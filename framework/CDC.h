#pragma once

#include <windows.h>

// An owned memory drawing context, deleted with the object. Whatever was
// selected into it must be selected out before then.
class CDC {
public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    ~CDC() {
        if (m_hDC) {
            ::DeleteDC(m_hDC);
        }
    }

    operator HDC() const { return m_hDC; }
    BOOL CreateCompatibleDC(HDC hdc) {
        if (m_hDC) {
            ::DeleteDC(m_hDC);
        }
        m_hDC = ::CreateCompatibleDC(hdc);
        return m_hDC != nullptr;
    }

private:
    HDC m_hDC = nullptr;
};
