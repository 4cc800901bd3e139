#include "CControlsTestDlg.h"
#include "ControlImage.h"
#include "ControlsTestIds.h"
#include "HyperLinkFont.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

LOGFONTA FontOf(HWND hWnd) {
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    HFONT hFont = reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0));
    EXPECT_NE(nullptr, hFont);
    GetObjectA(hFont, sizeof lf, &lf);
    return lf;
}

bool IsBlue(COLORREF c) {
    return GetBValue(c) > 150 && GetRValue(c) < 80 && GetGValue(c) < 80;
}
bool IsInk(COLORREF c) {
    return GetRValue(c) < 90 && GetGValue(c) < 90 && GetBValue(c) < 90;
}

void Click(HWND hWnd) {
    SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

class HyperLink : public ::testing::Test {
protected:
    void SetUp() override { SetCursorPos(1010, 750); }
};

TEST_F(HyperLink, FontFaceBuildsTheFontAndOwnsIt) {
    HFONT hSecond = nullptr;
    {
        CControlsTestDlg dlg;
        dlg.Run([&hSecond](CControlsTestDlg& d) {
            HWND hTitle = d.m_title.GetSafeHwnd();
            d.m_title.SetFontFace("Tahoma", 20, FW_BOLD, 0, 0);
            HFONT hFirst = d.m_title.GetFont();
            LOGFONTA lf = FontOf(hTitle);
            HDC screen = GetDC(nullptr);
            EXPECT_EQ(PointsToFontHeight(20, GetDeviceCaps(screen, LOGPIXELSY)), lf.lfHeight);
            ReleaseDC(nullptr, screen);
            EXPECT_EQ(FW_BOLD, lf.lfWeight);
            EXPECT_STREQ("Tahoma", lf.lfFaceName);
            EXPECT_EQ(0, lf.lfUnderline);

            // A second font replaces the first, which is deleted.
            d.m_title.SetFontFace("Tahoma", 12, FW_NORMAL, 1, 0);
            hSecond = d.m_title.GetFont();
            EXPECT_NE(hFirst, hSecond);
            EXPECT_EQ(0u, GetObjectType(hFirst));
            EXPECT_EQ(1, FontOf(hTitle).lfItalic);
        });
        ASSERT_NE(nullptr, hSecond);
        EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(hSecond));
    }
    // The label's font ends with the label.
    EXPECT_EQ(0u, GetObjectType(hSecond));
}

TEST_F(HyperLink, UnderlineCopiesTheDialogFont) {
    CControlsTestDlg dlg;
    dlg.Run([](CControlsTestDlg& d) {
        HWND hLink = d.m_emailLink.GetSafeHwnd();
        const LOGFONTA dialogFont = FontOf(d.GetSafeHwnd());
        d.m_emailLink.SetUnderline(1);
        LOGFONTA expected = dialogFont;
        expected.lfUnderline = 1;
        LOGFONTA underlined = FontOf(hLink);
        EXPECT_EQ(0, std::memcmp(&expected, &underlined, sizeof expected));
        d.m_emailLink.SetUnderline(0);
        LOGFONTA plain = FontOf(hLink);
        EXPECT_EQ(0, std::memcmp(&dialogFont, &plain, sizeof plain));

        // A label without a font of its own underlines the system font.
        HWND hPlain = d.m_plainLabel.GetSafeHwnd();
        SendMessageA(hPlain, WM_SETFONT, 0, FALSE);
        d.m_plainLabel.SetUnderline(1);
        EXPECT_EQ(1, FontOf(hPlain).lfUnderline);
    });
}

TEST_F(HyperLink, LinkColourShowsFromTheNextRepaint) {
    CControlsTestDlg dlg;
    dlg.Run([](CControlsTestDlg& d) {
        HWND hLink = d.m_emailLink.GetSafeHwnd();
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        ControlImage before = ControlImage::Printed(hLink, face);
        EXPECT_EQ(0, before.Count(IsBlue));
        EXPECT_GT(before.Count(IsInk), 10);

        d.m_emailLink.SetLinkColor(0xFF0000);
        ControlImage after = ControlImage::Printed(hLink, face);
        EXPECT_GT(after.Count(IsBlue), 10);
        EXPECT_EQ(0, after.Count(IsInk));
        // Transparent text over the face colour.
        EXPECT_EQ(face, after.At(after.Width() - 1, after.Height() - 1));
    });
}

TEST_F(HyperLink, PointerOverTheLabel) {
    CControlsTestDlg dlg;
    dlg.Run([](CControlsTestDlg& d) {
        HCURSOR hHand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDCUR_HAND));
        d.m_emailLink.SetLinkCursor(hHand);
        HWND hLink = d.m_emailLink.GetSafeHwnd();
        EXPECT_EQ(TRUE, SendMessageA(hLink, WM_SETCURSOR, reinterpret_cast<WPARAM>(hLink),
                                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(hHand, GetCursor());
        HWND hTitle = d.m_title.GetSafeHwnd();
        SendMessageA(hTitle, WM_SETCURSOR, reinterpret_cast<WPARAM>(hTitle),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_NE(hHand, GetCursor());
    });
}

// The target is a program that signals an event: the shell really opened it.
TEST_F(HyperLink, ClickOpensTheTargetOnlyOnALabelWithTheNotifyStyle) {
    HANDLE hRan = CreateEventA(nullptr, TRUE, FALSE, "QorvaneLinkTargetRan");
    ASSERT_NE(nullptr, hRan);
    const std::string target = SiblingProgram("LinkTarget.exe");
    CControlsTestDlg dlg;
    dlg.Run([&](CControlsTestDlg& d) {
        d.m_plainLabel.SetTarget(target.c_str());
        Click(d.m_plainLabel.GetSafeHwnd());
        EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(hRan, 1500));

        d.m_emailLink.SetTarget(target.c_str());
        Click(d.m_emailLink.GetSafeHwnd());
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hRan, 15000));
    });
    CloseHandle(hRan);
}

} // namespace
