#pragma once

#include <windows.h>

#include <vector>

// The pixels of a control's client area, as the control draws them.
class ControlImage {
public:
    // Drawn for WM_PRINTCLIENT into a memory bitmap filled with background
    // first: an owner-drawn button goes through its parent's WM_DRAWITEM, a
    // static through its parent's WM_CTLCOLORSTATIC, as on screen.
    static ControlImage Printed(HWND hWnd, COLORREF background);
    // Repainted on screen, then copied from the window's drawing context.
    static ControlImage OnScreen(HWND hWnd);
    // Copied from the screen as it stands, without repainting.
    static ControlImage AsShown(HWND hWnd);

    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    COLORREF At(int x, int y) const { return m_pixels[static_cast<size_t>(y * m_cx + x)]; }

    // Smallest rectangle around the pixels that satisfy pred, within a part of
    // the image or all of it; empty (all 0) when there are none.
    template <class Pred> RECT Bounds(Pred pred) const {
        RECT all = {0, 0, m_cx, m_cy};
        return Bounds(pred, all);
    }
    template <class Pred> RECT Bounds(Pred pred, const RECT& within) const {
        RECT r = {m_cx, m_cy, -1, -1};
        const int x0 = within.left < 0 ? 0 : within.left, y0 = within.top < 0 ? 0 : within.top;
        const int x1 = within.right > m_cx ? m_cx : within.right;
        const int y1 = within.bottom > m_cy ? m_cy : within.bottom;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                if (pred(At(x, y))) {
                    r.left = x < r.left ? x : r.left;
                    r.top = y < r.top ? y : r.top;
                    r.right = x + 1 > r.right ? x + 1 : r.right;
                    r.bottom = y + 1 > r.bottom ? y + 1 : r.bottom;
                }
            }
        }
        if (r.right < 0) {
            r = RECT{0, 0, 0, 0};
        }
        return r;
    }
    template <class Pred> int Count(Pred pred) const {
        int n = 0;
        for (COLORREF c : m_pixels) {
            n += pred(c) ? 1 : 0;
        }
        return n;
    }

private:
    ControlImage(int cx, int cy) : m_cx(cx), m_cy(cy), m_pixels(static_cast<size_t>(cx * cy)) {}
    // Copies the pixels of a 32-bit top-down section.
    void ReadFrom(const void* bits);

    int m_cx, m_cy;
    std::vector<COLORREF> m_pixels;
};
