#include "DpiScale.h"

UINT GetWindowDpi(HWND hWnd) {
    // Windows 10 1607 and later; bound by name so older systems still start.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const GetDpiForWindowFn s_pfnGetDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (s_pfnGetDpiForWindow && hWnd) {
        UINT dpi = s_pfnGetDpiForWindow(hWnd);
        if (dpi) {
            return dpi;
        }
    }
    HDC hdc = GetDC(nullptr);
    int dpi = hdc ? GetDeviceCaps(hdc, LOGPIXELSX) : 0;
    if (hdc) {
        ReleaseDC(nullptr, hdc);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}
