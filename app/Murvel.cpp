// Entry point of the program. The application shell grows here; for now one
// window shows the program's texts.
#include <windows.h>

#include "TessikDLL.h"
#include "resource.h"

namespace {

const char kWindowClass[] = "QorvaneMain";

void PaintTexts(HWND hWnd, HDC hdc) {
    HINSTANCE hInst = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hWnd, GWLP_HINSTANCE));
    HGDIOBJ oldFont = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(hdc, TRANSPARENT);
    int y = 12;
    for (UINT id = IDS_APP_TITLE; id <= IDS_EFFECT_BOTH; ++id) {
        char text[256];
        int n = LoadStringA(hInst, id, text, sizeof text);
        TextOutA(hdc, 12, y, text, n);
        y += 20;
    }
    SelectObject(hdc, oldFont);
}

LRESULT CALLBACK WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hWnd, &ps);
        PaintTexts(hWnd, hdc);
        EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);

    char title[64];
    LoadStringA(hInstance, IDS_APP_TITLE, title, sizeof title);
    HWND hWnd = CreateWindowA(kWindowClass, title, WS_OVERLAPPEDWINDOW, 100, 100, 480, 240, nullptr,
                              nullptr, hInstance, nullptr);
    ShowWindow(hWnd, nCmdShow);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    UninstallHook();
    return 0;
}
