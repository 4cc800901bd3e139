#pragma once

#include "CRgn.h"
#include "CWnd.h"

// The black window of the area blackout: top-most over every monitor, with a
// hole where the active area is. It exists only while the blackout is shown.
class CAreaBlackWnd : public CWnd {
public:
    CAreaBlackWnd() = default;
    ~CAreaBlackWnd() override;

    // Creates, shapes and shows the window; rcActive is in screen coordinates.
    // FALSE when the window could not be created.
    BOOL Show(const RECT& rcActive);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // BOOL OnEraseBkgnd(HDC hdc)
    BOOL OnEraseBkgnd(HDC hdc);

    // The window's shape until SetWindowRgn has taken it over.
    CRgn m_rgnWindow;
};
