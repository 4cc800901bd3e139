#pragma once

#include <windows.h>

// The designs give sizes in pixels at 96 dots per inch; a screen at 150 %
// has 144, and sizes grow with it.
const UINT kDesignDpi = 96;

// The dots per inch of the monitor the window is on (per-monitor aware
// systems), else the system's.
UINT GetWindowDpi(HWND hWnd);

inline int ScaleByDpi(int nValue, UINT nDpi) {
    return MulDiv(nValue, static_cast<int>(nDpi), static_cast<int>(kDesignDpi));
}
