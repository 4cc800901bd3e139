#include "AboutEmail.h"
#include "CAboutDlg.h"
#include "ControlImage.h"
#include "DialogDriver.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using D = DialogDriver;

LOGFONTA FontOf(HWND hWnd) {
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf;
}

bool IsBlue(COLORREF c) {
    return GetBValue(c) > 150 && GetRValue(c) < 80 && GetGValue(c) < 80;
}

// The pointer the modal thread shows after the window answered WM_SETCURSOR.
HCURSOR PointerOver(HWND hWnd) {
    SendMessageA(hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWnd),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

class AboutDlg : public ::testing::Test {
protected:
    void SetUp() override { SetCursorPos(1010, 750); }
};

TEST_F(AboutDlg, TitleFontLinkAndPointersThenClosedByKeyOrButton) {
    const HCURSOR hHand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDCUR_HAND));
    ASSERT_NE(nullptr, hHand);
    HDC screen = GetDC(nullptr);
    const LONG titleHeight = -MulDiv(20, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    const DWORD modalThread = GetCurrentThreadId();
    // Escape ends the dialog like the caption's close box; the button ends it with IDOK.
    const struct {
        const char* name;
        INT_PTR result;
    } closings[] = {{"escape", IDCANCEL}, {"button", IDOK}};
    for (const auto& closing : closings) {
        SCOPED_TRACE(closing.name);
        HFONT hTitleFont = nullptr;
        INT_PTR result;
        {
            CAboutDlg dlg;
            result = D::Run(
                [&] { return dlg.DoModal(); },
                [&](D& d) {
                    HWND hDlg = d.WaitForDialog();
                    ASSERT_NE(nullptr, hDlg);
                    HWND hTitle = GetDlgItem(hDlg, IDC_ABOUT_TITLE);
                    HWND hLink = GetDlgItem(hDlg, IDC_ABOUT_EMAIL);
                    HWND hButton = GetDlgItem(hDlg, IDOK);

                    // The title fills its background: it must end inside
                    // the etched frame's two-pixel right edge.
                    RECT frame, titleRect;
                    GetWindowRect(GetWindow(hDlg, GW_CHILD), &frame);
                    GetWindowRect(hTitle, &titleRect);
                    EXPECT_LE(titleRect.right, frame.right - 2);

                    LOGFONTA title = FontOf(hTitle);
                    EXPECT_STREQ("\xbf\xac\xcc\xe5_GB2312", title.lfFaceName);
                    EXPECT_EQ(titleHeight, title.lfHeight);
                    EXPECT_EQ(FW_BOLD, title.lfWeight);
                    EXPECT_EQ(0, title.lfUnderline);
                    hTitleFont = reinterpret_cast<HFONT>(SendMessageA(hTitle, WM_GETFONT, 0, 0));

                    EXPECT_EQ(QV_AUTHOR_EMAIL, D::Text(hLink));
                    EXPECT_EQ(1, FontOf(hLink).lfUnderline);
                    // Blue text with a blue line under all of it.
                    ControlImage link = ControlImage::Printed(hLink, GetSysColor(COLOR_BTNFACE));
                    RECT blue = link.Bounds(IsBlue);
                    ASSERT_GT(blue.right - blue.left, 20);
                    RECT underline = {blue.left, blue.bottom - 1, blue.right, blue.bottom};
                    RECT lineBounds = link.Bounds(IsBlue, underline);
                    EXPECT_EQ(blue.left, lineBounds.left);
                    EXPECT_EQ(blue.right, lineBounds.right);
                    int lineLength = 0;
                    for (int x = blue.left; x < blue.right; ++x) {
                        lineLength += IsBlue(link.At(x, blue.bottom - 1)) ? 1 : 0;
                    }
                    EXPECT_GT(lineLength, (blue.right - blue.left) * 9 / 10);

                    // The pointer is the modal thread's: share its input state.
                    ASSERT_TRUE(AttachThreadInput(GetCurrentThreadId(), modalThread, TRUE));
                    EXPECT_EQ(hHand, PointerOver(hLink));
                    EXPECT_EQ(hHand, PointerOver(hButton));
                    EXPECT_NE(hHand, PointerOver(hTitle));
                    AttachThreadInput(GetCurrentThreadId(), modalThread, FALSE);

                    if (closing.result == IDCANCEL) {
                        PostMessageA(d.Focus(), WM_KEYDOWN, VK_ESCAPE, 0);
                    } else {
                        D::Click(hDlg, IDOK);
                    }
                    EXPECT_TRUE(d.WaitForClose());
                });
            ASSERT_NE(nullptr, hTitleFont);
            EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(hTitleFont));
        }
        EXPECT_EQ(closing.result, result);
        // The title font ends with the dialog object; the next opening makes its own.
        EXPECT_EQ(0u, GetObjectType(hTitleFont));
    }
}

} // namespace
