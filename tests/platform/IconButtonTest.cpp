#include "CControlsTestDlg.h"
#include "ControlImage.h"
#include "ControlsTestIds.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Icon 136 is a red cross, icon 141's bitmap a lime tick on magenta.
bool IsRed(COLORREF c) {
    return GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60;
}
bool IsLime(COLORREF c) {
    return GetGValue(c) > 200 && GetRValue(c) < 60 && GetBValue(c) < 60;
}
bool IsMagenta(COLORREF c) {
    return GetRValue(c) > 200 && GetBValue(c) > 200 && GetGValue(c) < 60;
}
// The caption, in the black button-text colour.
bool IsInk(COLORREF c) {
    return GetRValue(c) < 90 && GetGValue(c) < 90 && GetBValue(c) < 90;
}

std::string Str(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

RECT Shifted(RECT r, int d) {
    OffsetRect(&r, d, d);
    return r;
}

RECT Grown(RECT r, int d) {
    InflateRect(&r, d, d);
    return r;
}

bool IsEmptyBox(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

enum Ring { RING_NONE, RING_RAISED, RING_SUNKEN, RING_OTHER };

const char* RingName(Ring ring) {
    const char* names[] = {"none", "raised", "sunken", "other"};
    return names[ring];
}

// The frame read from the outermost pixels: a 3-D rectangle has its light
// (or dark) colour on the top row and left column but for the last pixel,
// and the other colour on the right column and bottom row.
Ring ReadRing(const ControlImage& image, COLORREF background) {
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
    const int w = image.Width(), h = image.Height();
    auto ringIs = [&](COLORREF topLeft, COLORREF bottomRight) {
        for (int x = 0; x < w; ++x) {
            if (image.At(x, 0) != (x < w - 1 ? topLeft : bottomRight) ||
                image.At(x, h - 1) != bottomRight) {
                return false;
            }
        }
        for (int y = 0; y < h; ++y) {
            if (image.At(0, y) != (y < h - 1 ? topLeft : bottomRight) ||
                image.At(w - 1, y) != bottomRight) {
                return false;
            }
        }
        return true;
    };
    if (ringIs(background, background)) {
        return RING_NONE;
    }
    if (ringIs(light, dark)) {
        return RING_RAISED;
    }
    if (ringIs(dark, light)) {
        return RING_SUNKEN;
    }
    return RING_OTHER;
}

LPARAM At(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)),
                      static_cast<WORD>(static_cast<short>(y)));
}

// Keeps the real pointer away from the dialogs: its moves would mix with the
// synthesized ones.
class IconButton : public ::testing::Test {
protected:
    void SetUp() override { SetCursorPos(1010, 750); }
};

TEST_F(IconButton, DrawsEachStateOnItsPixels) {
    CControlsTestDlg dlg;
    dlg.Run([](CControlsTestDlg& d) {
        HWND hButton = d.m_btnDelete.GetSafeHwnd();
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
        ASSERT_EQ(nullptr, GetCapture());

        // Idle: flat, no frame; the icon left of the caption.
        ControlImage idle = ControlImage::Printed(hButton, face);
        EXPECT_STREQ("none", RingName(ReadRing(idle, face)));
        const RECT icon = idle.Bounds(IsRed), text = idle.Bounds(IsInk);
        ASSERT_FALSE(IsEmptyBox(icon));
        ASSERT_FALSE(IsEmptyBox(text));
        EXPECT_LT(icon.right, text.left);

        // Hovered: the button takes the capture and shows a raised frame.
        SendMessageA(hButton, WM_MOUSEMOVE, 0, At(5, 5));
        EXPECT_EQ(hButton, GetCapture());
        ControlImage hovered = ControlImage::Printed(hButton, face);
        EXPECT_STREQ("raised", RingName(ReadRing(hovered, face)));
        EXPECT_EQ(Str(icon), Str(hovered.Bounds(IsRed)));
        EXPECT_EQ(Str(text), Str(hovered.Bounds(IsInk)));
        // The same on screen, over the dialog's own background.
        ControlImage screen = ControlImage::OnScreen(hButton);
        EXPECT_STREQ("raised", RingName(ReadRing(screen, face)));
        EXPECT_EQ(Str(icon), Str(screen.Bounds(IsRed)));

        // Leaving releases the capture; the frame goes.
        SendMessageA(hButton, WM_MOUSEMOVE, 0, At(-4, 5));
        EXPECT_EQ(nullptr, GetCapture());
        EXPECT_STREQ("none", RingName(ReadRing(ControlImage::Printed(hButton, face), face)));
        EXPECT_STREQ("none", RingName(ReadRing(ControlImage::OnScreen(hButton), face)));

        // Pressed: sunken frame in place, caption one pixel, icon two further.
        SendMessageA(hButton, BM_SETSTATE, TRUE, 0);
        ControlImage pressed = ControlImage::Printed(hButton, face);
        EXPECT_STREQ("sunken", RingName(ReadRing(pressed, face)));
        EXPECT_EQ(Str(Shifted(icon, 2)), Str(pressed.Bounds(IsRed)));
        EXPECT_EQ(Str(Shifted(text, 1)), Str(pressed.Bounds(IsInk)));
        SendMessageA(hButton, BM_SETSTATE, FALSE, 0);

        // Disabled: no ink and no colour; the caption embossed, a light copy
        // one pixel right and down under the dark one; the icon greyed in place.
        d.m_btnDelete.EnableWindow(FALSE);
        ControlImage disabled = ControlImage::Printed(hButton, face);
        EXPECT_STREQ("none", RingName(ReadRing(disabled, face)));
        EXPECT_EQ(0, disabled.Count(IsInk));
        EXPECT_EQ(0, disabled.Count(IsRed));
        // The text is smoothed: classify by the red channel, darker than half
        // way to the shadow colour, or lighter than the face.
        const int halfway = (GetRValue(face) + GetRValue(dark)) / 2;
        auto isDark = [halfway](COLORREF c) { return GetRValue(c) <= halfway; };
        auto isLight = [face](COLORREF c) { return GetRValue(c) > GetRValue(face); };
        // Up to the caption's left, clear of the greyed icon.
        const RECT textArea = {text.left, text.top - 2, text.right + 2, text.bottom + 2};
        const RECT darkText = disabled.Bounds(isDark, textArea);
        const RECT lightText = disabled.Bounds(isLight, textArea);
        ASSERT_FALSE(IsEmptyBox(darkText));
        ASSERT_FALSE(IsEmptyBox(lightText));
        EXPECT_EQ(text.left, darkText.left) << Str(darkText) << Str(text);
        EXPECT_LE(abs(darkText.right - text.right), 1) << Str(darkText) << Str(text);
        EXPECT_EQ(darkText.right + 1, lightText.right) << Str(darkText) << Str(lightText);
        EXPECT_EQ(darkText.bottom + 1, lightText.bottom) << Str(darkText) << Str(lightText);
        EXPECT_GE(lightText.top, darkText.top);
        auto isPainted = [face](COLORREF c) { return c != face; };
        const RECT iconArea = Grown(icon, 3);
        const RECT enabledIcon = idle.Bounds(isPainted, iconArea);
        const RECT greyIcon = disabled.Bounds(isPainted, iconArea);
        EXPECT_EQ(enabledIcon.left, greyIcon.left);
        EXPECT_EQ(enabledIcon.top, greyIcon.top);
        d.m_btnDelete.EnableWindow(TRUE);
    });
}

TEST_F(IconButton, AmpersandUnderlinesTheNextCharacter) {
    CControlsTestDlg dlg;
    dlg.Run([](CControlsTestDlg& d) {
        HWND hButton = d.m_btnCancel.GetSafeHwnd();
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        SetWindowTextA(hButton, "Cancel (C)");
        ControlImage plain = ControlImage::Printed(hButton, face);
        SetWindowTextA(hButton, "Cancel (&C)");
        ControlImage marked = ControlImage::Printed(hButton, face);
        const RECT plainText = plain.Bounds(IsInk);
        ASSERT_FALSE(IsEmptyBox(plainText));
        // The "&" takes no room and is not drawn.
        EXPECT_EQ(plainText.left, marked.Bounds(IsInk).left);

        // The only new ink is a line under the "C", the last letter but one.
        RECT added = {marked.Width(), marked.Height(), -1, -1};
        int count = 0;
        for (int y = 0; y < marked.Height(); ++y) {
            for (int x = 0; x < marked.Width(); ++x) {
                if (IsInk(marked.At(x, y)) && !IsInk(plain.At(x, y))) {
                    ++count;
                    added.left = x < added.left ? x : added.left;
                    added.right = x + 1 > added.right ? x + 1 : added.right;
                    added.top = y < added.top ? y : added.top;
                    added.bottom = y + 1 > added.bottom ? y + 1 : added.bottom;
                }
            }
        }
        ASSERT_GT(count, 3);
        EXPECT_LE(added.bottom - added.top, 2) << Str(added);
        EXPECT_GE(added.right - added.left, 4) << Str(added);
        const int width = plainText.right - plainText.left;
        EXPECT_GT(added.left, plainText.left + width * 2 / 3) << Str(added) << Str(plainText);
        EXPECT_GE(added.top, plainText.bottom - 3) << Str(added) << Str(plainText);
    });
}

// Each step: a message to the button, then who holds the capture and the frame.
TEST_F(IconButton, HoverFollowsTheRealMouseCapture) {
    CControlsTestDlg dlg;
    dlg.Run([](CControlsTestDlg& d) {
        HWND hButton = d.m_btnAdd.GetSafeHwnd();
        HWND hOther = d.m_btnHide.GetSafeHwnd();
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        struct Step {
            const char* what;
            UINT message;
            WPARAM keys;
            int x, y;
            HWND capture;
            Ring ring;
        } steps[] = {
            {"enter with the left button held", WM_MOUSEMOVE, MK_LBUTTON, 5, 5, nullptr, RING_NONE},
            {"leave", WM_MOUSEMOVE, 0, -3, 5, nullptr, RING_NONE},
            {"enter", WM_MOUSEMOVE, 0, 5, 5, hButton, RING_RAISED},
            {"move inside", WM_MOUSEMOVE, 0, 8, 6, hButton, RING_RAISED},
            {"another window takes the capture", 0, 0, 0, 0, hOther, RING_NONE},
            {"enter again", WM_MOUSEMOVE, 0, 6, 6, hButton, RING_RAISED},
            {"press", WM_LBUTTONDOWN, MK_LBUTTON, 6, 6, hButton, RING_SUNKEN},
            {"drag off, held", WM_MOUSEMOVE, MK_LBUTTON, -3, 6, hButton, RING_RAISED},
            {"release outside", WM_LBUTTONUP, 0, -3, 6, nullptr, RING_NONE},
            {"enter after release", WM_MOUSEMOVE, 0, 5, 5, hButton, RING_RAISED},
            {"leave", WM_MOUSEMOVE, 0, 500, 5, nullptr, RING_NONE},
        };
        for (const Step& s : steps) {
            SCOPED_TRACE(s.what);
            if (s.message) {
                SendMessageA(hButton, s.message, s.keys, At(s.x, s.y));
            } else {
                SetCapture(hOther);
            }
            EXPECT_EQ(s.capture, GetCapture());
            EXPECT_STREQ(RingName(s.ring),
                         RingName(ReadRing(ControlImage::Printed(hButton, face), face)));
            if (!s.message) {
                ReleaseCapture();
            }
        }
    });
}

TEST_F(IconButton, LoadersAndFallbacks) {
    CControlsTestDlg dlg;
    dlg.Run([](CControlsTestDlg& d) {
        CIconButton& ok = d.m_btnOK;
        HWND hButton = ok.GetSafeHwnd();
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        // The bitmap's corner colour is transparent; the tick is drawn.
        ControlImage tick = ControlImage::Printed(hButton, face);
        EXPECT_GT(tick.Count(IsLime), 10);
        EXPECT_EQ(0, tick.Count(IsMagenta));

        // A missing bitmap keeps the picture held so far.
        EXPECT_FALSE(ok.SetIconFromBitmap(9999));
        EXPECT_EQ(tick.Count(IsLime), ControlImage::Printed(hButton, face).Count(IsLime));

        // A missing icon leaves none: the caption alone, centred, even with
        // icon and text asked for.
        EXPECT_FALSE(ok.SetIconFromResource(9999));
        ControlImage bare = ControlImage::Printed(hButton, face);
        EXPECT_EQ(0, bare.Count(IsLime));
        const RECT text = bare.Bounds(IsInk);
        ASSERT_FALSE(IsEmptyBox(text));
        const int leftSpace = text.left, rightSpace = bare.Width() - text.right;
        EXPECT_LE(abs(leftSpace - rightSpace), 2) << Str(text);

        // Icon only: no caption, the picture centred.
        EXPECT_TRUE(ok.SetIconFromResource(IDI_DELETE));
        ok.SetContentMode(2);
        ControlImage alone = ControlImage::Printed(hButton, face);
        EXPECT_EQ(0, alone.Count(IsInk));
        const RECT icon = alone.Bounds(IsRed);
        ASSERT_FALSE(IsEmptyBox(icon));
        EXPECT_LE(abs(icon.left - (alone.Width() - icon.right)), 2) << Str(icon);
    });
}

TEST_F(IconButton, HoverCursorIsShownOverTheButton) {
    CControlsTestDlg dlg;
    dlg.Run([](CControlsTestDlg& d) {
        HCURSOR hHand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDCUR_HAND));
        ASSERT_NE(nullptr, hHand);
        HWND hButton = d.m_btnUnderstood.GetSafeHwnd();
        EXPECT_EQ(TRUE, SendMessageA(hButton, WM_SETCURSOR, reinterpret_cast<WPARAM>(hButton),
                                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(hHand, GetCursor());
        HWND hPlain = d.m_btnAdd.GetSafeHwnd();
        SendMessageA(hPlain, WM_SETCURSOR, reinterpret_cast<WPARAM>(hPlain),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_NE(hHand, GetCursor());
    });
}

TEST_F(IconButton, FocusRectangleOnTheFocusedButtonOnly) {
    CControlsTestDlg dlg;
    dlg.Run([](CControlsTestDlg& d) {
        HWND hButton = d.m_btnAdd.GetSafeHwnd();
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        auto painted = [face](COLORREF c) { return c != face; };
        // A dotted line inside the top edge, where nothing else is drawn.
        const int cxEdge = GetSystemMetrics(SM_CXEDGE), cyEdge = GetSystemMetrics(SM_CYEDGE);
        auto dots = [&](const ControlImage& image) {
            const int row = cyEdge + 1;
            RECT line = {cxEdge + 2, row, image.Width() - cxEdge - 2, row + 1};
            const RECT found = image.Bounds(painted, line);
            return found.right - found.left > (line.right - line.left) * 3 / 4;
        };
        SetFocus(hButton);
        ASSERT_EQ(hButton, GetFocus());
        EXPECT_TRUE(dots(ControlImage::Printed(hButton, face))) << "the standard style shows it";
        SetFocus(d.m_btnHide.GetSafeHwnd());
        EXPECT_FALSE(dots(ControlImage::Printed(hButton, face)));

        // A focus change alone repaints the background first, so the
        // caption is never drawn over itself: the button looks the same
        // before and after the focus has passed through it.
        auto dark = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 96; };
        const int before = ControlImage::OnScreen(hButton).Count(dark);
        for (int pass = 0; pass < 3; ++pass) {
            SetFocus(hButton);
            SetFocus(d.m_btnHide.GetSafeHwnd());
        }
        RedrawWindow(d.GetSafeHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        EXPECT_EQ(before, ControlImage::AsShown(hButton).Count(dark));

        d.m_btnAdd.SetDrawFocusRect(FALSE);
        SetFocus(hButton);
        EXPECT_FALSE(dots(ControlImage::Printed(hButton, face)));
    });
}

} // namespace
