// The main window at the scale of the screen: what the designs give in pixels
// at 96 dots per inch grows with the dots per inch. Runs at 96 with the other
// tests, and at 144 from tools/dpi-test.sh in a prefix of its own.
#include "MurvelProcess.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

int ExpectedDpi() {
    const char* value = std::getenv("QV_EXPECT_DPI");
    return value && *value ? std::atoi(value) : 96;
}

int Scaled(int pixels) {
    return MulDiv(pixels, ExpectedDpi(), 96);
}

// How wide the green plus sign of the add button is on the screen.
int PlusSignWidth(HWND hButton) {
    RECT r;
    GetWindowRect(hButton, &r);
    const int cx = r.right - r.left, cy = r.bottom - r.top;
    HDC hScreen = GetDC(nullptr);
    HDC hMemory = CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, cx, cy);
    HGDIOBJ old = SelectObject(hMemory, hBitmap);
    BitBlt(hMemory, 0, 0, cx, cy, hScreen, r.left, r.top, SRCCOPY);
    int first = -1, last = -1;
    for (int x = 0; x < cx; ++x) {
        for (int y = 0; y < cy; ++y) {
            COLORREF c = GetPixel(hMemory, x, y);
            // The sign's fill and outline: pure greens.
            if (GetRValue(c) == 0 && GetBValue(c) == 0 && GetGValue(c) >= 0x80) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    SelectObject(hMemory, old);
    DeleteObject(hBitmap);
    DeleteDC(hMemory);
    ReleaseDC(nullptr, hScreen);
    return first < 0 ? 0 : last - first + 1;
}

} // namespace

TEST(Dpi, DesignSizesFollowTheScale) {
    MurvelProcess murvel;
    ASSERT_TRUE(murvel.Start());
    ASSERT_TRUE(WaitFor([&] { return murvel.IsVisible(); }, 5000));
    // The alias gives up its design width to the longest effect, never its
    // heading.
    const int widths[] = {0, 0, 70, 70};
    for (int n = 0; n < 4; ++n)
        EXPECT_GE(murvel.ColumnWidth(n), Scaled(widths[n])) << n;
    EXPECT_GT(murvel.ColumnWidth(0), murvel.StringWidth("应用程序别名") + Scaled(8));
    MINMAXINFO info = {};
    SendMessageA(murvel.MainWindow(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_GE(info.ptMinTrackSize.x, Scaled(437));
    EXPECT_GE(info.ptMinTrackSize.y, Scaled(209));
    // The picture is 16 pixels at 96 dots per inch, its sign 14 of them (19 of
    // 24 at 144: the outline stays one pixel wide); a picture left at 16
    // pixels would show 14 at any scale.
    const int plus = PlusSignWidth(GetDlgItem(murvel.MainWindow(), IDC_ADD_WATCH));
    EXPECT_GE(plus, Scaled(16) - 6);
    EXPECT_LE(plus, Scaled(16));
}

TEST(Dpi, StoredColumnWidthsStayTheUsersOwn) {
    MurvelProcess murvel;
    murvel.PutFile("Tessik.ini", "[Dialog]\r\nCol0=120\r\n");
    ASSERT_TRUE(murvel.Start());
    EXPECT_EQ(120, murvel.ColumnWidth(0));
    EXPECT_GE(murvel.ColumnWidth(1), Scaled(100)) << "the file names fill the list";
}
