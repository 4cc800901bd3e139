#include "ControlImage.h"

namespace {

// A 32-bit top-down section selected into a memory DC for the scope.
class Canvas {
public:
    Canvas(int cx, int cy) : m_hdc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        m_hBitmap = CreateDIBSection(m_hdc, &bmi, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        m_hOld = SelectObject(m_hdc, m_hBitmap);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        SelectObject(m_hdc, m_hOld);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hdc);
    }
    HDC Dc() const { return m_hdc; }
    const void* Bits() const {
        GdiFlush();
        return m_bits;
    }

private:
    HDC m_hdc;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    void* m_bits = nullptr;
};

} // namespace

void ControlImage::ReadFrom(const void* bits) {
    const BYTE* p = static_cast<const BYTE*>(bits);
    for (size_t i = 0; i < m_pixels.size(); ++i, p += 4) {
        m_pixels[i] = RGB(p[2], p[1], p[0]);
    }
}

ControlImage ControlImage::Printed(HWND hWnd, COLORREF background) {
    RECT client;
    GetClientRect(hWnd, &client);
    ControlImage image(client.right, client.bottom);
    Canvas canvas(client.right, client.bottom);
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(canvas.Dc(), &client, brush);
    DeleteObject(brush);
    SendMessageA(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    image.ReadFrom(canvas.Bits());
    return image;
}

ControlImage ControlImage::OnScreen(HWND hWnd) {
    RedrawWindow(GetParent(hWnd), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return AsShown(hWnd);
}

ControlImage ControlImage::AsShown(HWND hWnd) {
    RECT client;
    GetClientRect(hWnd, &client);
    ControlImage image(client.right, client.bottom);
    Canvas canvas(client.right, client.bottom);
    HDC hdc = GetDC(hWnd);
    BitBlt(canvas.Dc(), 0, 0, client.right, client.bottom, hdc, 0, 0, SRCCOPY);
    ReleaseDC(hWnd, hdc);
    image.ReadFrom(canvas.Bits());
    return image;
}
