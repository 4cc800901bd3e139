#include "AnchorGeometry.h"
#include "HyperLinkFont.h"
#include "IconButtonLayout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Str(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

RECT Rect(long l, long t, long r, long b) {
    RECT rect = {l, t, r, b};
    return rect;
}

SIZE Size(long cx, long cy) {
    SIZE s = {cx, cy};
    return s;
}

TEST(IconButtonLayout, ContentAreaLosesEdgesEverywhereAndTheMarginOnlyLeftAndRight) {
    EXPECT_EQ(Str(Rect(7, 2, 93, 28)), Str(IconButtonContentArea(Rect(0, 0, 100, 30), 2, 2, 5)));
    EXPECT_EQ(Str(Rect(8, 4, 92, 26)), Str(IconButtonContentArea(Rect(0, 0, 100, 30), 3, 4, 5)));
}

// A 40 x 12 caption and a 16 x 16 icon, gap 5, in the content areas of a
// 100 x 30 and a 100 x 60 button (edges 2, margin 5).
TEST(IconButtonLayout, PlacesIconAndCaptionAsAPair) {
    struct Case {
        int placement;
        RECT area;
        RECT text;
        RECT icon;
    } cases[] = {
        // Left of the text: the pair sits a gap left of exact centring.
        {ICON_LEFT, Rect(7, 2, 93, 28), Rect(35, 9, 75, 21), Rect(14, 7, 30, 23)},
        {ICON_BELOW, Rect(7, 2, 93, 58), Rect(30, 13, 70, 25), Rect(42, 30, 58, 46)},
        // Above the text: the pair moves up by the gap in the same way.
        {ICON_ABOVE, Rect(7, 2, 93, 58), Rect(30, 29, 70, 41), Rect(42, 8, 58, 24)},
        {ICON_RIGHT, Rect(7, 2, 93, 28), Rect(19, 9, 59, 21), Rect(64, 7, 80, 23)},
        // Unknown placement: both centred across, the icon box as tall as the area.
        {7, Rect(7, 2, 93, 28), Rect(30, 2, 70, 14), Rect(42, 2, 58, 28)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.placement);
        RECT text, icon;
        PlaceIconAndText(c.area, Size(40, 12), Size(16, 16), 5, c.placement, &text, &icon);
        EXPECT_EQ(Str(c.text), Str(text));
        EXPECT_EQ(Str(c.icon), Str(icon));
    }
}

TEST(IconButtonLayout, IconAloneIsCentredAndCutAtTheAreasRightAndBottom) {
    const RECT area = Rect(7, 2, 93, 28);
    EXPECT_EQ(Str(Rect(42, 7, 58, 23)), Str(PlaceIconAlone(area, Size(16, 16))));
    // 120 x 40 in an 86 x 26 area: centred (halves truncate toward zero), then cut.
    EXPECT_EQ(Str(Rect(-10, -5, 93, 28)), Str(PlaceIconAlone(area, Size(120, 40))));
    // Odd differences truncate toward zero on both signs.
    EXPECT_EQ(Str(Rect(7, 2, 93, 28)), Str(PlaceIconAlone(area, Size(87, 27))));
}

TEST(IconButtonLayout, FrameFollowsPressHoverAndCapture) {
    struct Case {
        bool pressed, flat, hover, captured, systemBorder;
        IconButtonFrame frame;
    } cases[] = {
        {false, true, false, false, false, FRAME_NONE},
        {false, true, true, true, false, FRAME_RAISED},
        // Pressed and dragged off: the control still holds the capture.
        {false, true, false, true, false, FRAME_RAISED},
        {true, true, false, true, false, FRAME_SUNKEN},
        {false, false, false, false, false, FRAME_RAISED},
        {false, false, false, false, true, FRAME_PUSH},
        {true, false, false, false, true, FRAME_PUSH_PUSHED},
        {false, true, false, false, true, FRAME_NONE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.frame,
                  ChooseIconButtonFrame(c.pressed, c.flat, c.hover, c.captured, c.systemBorder))
            << c.pressed << c.flat << c.hover << c.captured << c.systemBorder;
    }
}

struct HoverStep {
    const char* what;
    bool inside, leftDown;
    bool hover, outside; // state after the step
    bool take, release;
};

void RunMoves(bool flat, const HoverStep* steps, size_t count) {
    bool hover = false, outside = false;
    for (size_t i = 0; i < count; ++i) {
        const HoverStep& s = steps[i];
        SCOPED_TRACE(s.what);
        HoverActions a = TrackHoverMove(hover, outside, flat, s.inside, s.leftDown);
        EXPECT_EQ(s.hover, hover);
        EXPECT_EQ(s.outside, outside);
        EXPECT_EQ(s.take, a.bTakeCapture);
        EXPECT_EQ(s.release, a.bReleaseCapture);
    }
}

TEST(IconButtonHover, FlatButtonHoversOnlyWithTheLeftButtonUp) {
    const HoverStep steps[] = {
        {"enter with the left button held", true, true, false, false, false, false},
        {"leave", false, true, false, true, false, false},
        {"enter", true, false, true, false, true, false},
        {"move inside", true, false, true, false, false, false},
        {"leave", false, false, false, true, false, true},
        {"leave again", false, false, false, true, false, false},
    };
    RunMoves(true, steps, sizeof steps / sizeof steps[0]);
}

TEST(IconButtonHover, ButtonThatIsNotFlatNeverTakesTheCapture) {
    const HoverStep steps[] = {
        {"enter", true, false, false, false, false, false},
        {"leave", false, false, false, true, false, false},
    };
    RunMoves(false, steps, sizeof steps / sizeof steps[0]);
}

TEST(IconButtonHover, CaptureChangesEndTheHover) {
    bool hover = true, outside = false;
    HoverActions a = TrackHoverCaptureChanged(hover, outside, true, false);
    EXPECT_FALSE(hover);
    EXPECT_TRUE(a.bRedraw);

    // The control took the capture on being pressed.
    hover = true;
    outside = true;
    TrackHoverCaptureChanged(hover, outside, true, true);
    EXPECT_FALSE(hover);
    EXPECT_FALSE(outside);
    // After release, the next move inside hovers again.
    EXPECT_TRUE(TrackHoverMove(hover, outside, true, true, false).bTakeCapture);
}

TEST(AnchorGeometry, SidesByCode) {
    const RECT r = Rect(10, 20, 30, 40);
    const int expected[] = {0, 10, 20, 30, 40, 0, 0};
    const int codes[] = {ANCHOR_NONE, ANCHOR_LEFT, ANCHOR_TOP, ANCHOR_RIGHT, ANCHOR_BOTTOM, 5, -1};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(expected[i], GetAnchorSide(r, codes[i])) << codes[i];
    }
}

// Registered in a 384 x 200 client area, then laid out in another. Offsets are
// taken for every edge; a code 0 edge measures from 0 and is never moved.
TEST(AnchorGeometry, EdgesKeepTheirDistanceToTheirSides) {
    struct Case {
        const char* what;
        int codes[4];
        RECT control;
        int offsets[4];
        RECT client; // at layout time
        RECT after;
    } cases[] = {
        {"stretching list",
         {0, 0, 3, 4},
         Rect(0, 20, 380, 170),
         {0, -20, 4, 30},
         Rect(0, 0, 500, 300),
         Rect(0, 20, 496, 270)},
        {"button at the corner",
         {3, 4, 3, 4},
         Rect(280, 170, 370, 194),
         {104, 30, 14, 6},
         Rect(0, 0, 500, 300),
         Rect(396, 270, 486, 294)},
        // An edge may follow a side of the other axis.
        {"left follows the bottom",
         {4, 0, 0, 0},
         Rect(150, 10, 200, 30),
         {50, -10, -200, -30},
         Rect(0, 0, 500, 300),
         Rect(250, 10, 200, 30)},
        // Nothing is clamped.
        {"inverted when too small",
         {0, 0, 3, 0},
         Rect(100, 0, 120, 10),
         {-100, 0, 264, -10},
         Rect(0, 0, 284, 200),
         Rect(100, 0, 20, 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AnchorEntry e = {};
        e.nLeftSide = c.codes[0];
        e.nTopSide = c.codes[1];
        e.nRightSide = c.codes[2];
        e.nBottomSide = c.codes[3];
        SetAnchorOffsets(e, Rect(0, 0, 384, 200), c.control);
        EXPECT_EQ(c.offsets[0], e.nLeftOffset);
        EXPECT_EQ(c.offsets[1], e.nTopOffset);
        EXPECT_EQ(c.offsets[2], e.nRightOffset);
        EXPECT_EQ(c.offsets[3], e.nBottomOffset);
        EXPECT_EQ(Str(c.after), Str(AnchoredRect(e, c.client, c.control)));
    }
}

TEST(AnchorGeometry, EdgeWithACodeAboveFourReturnsToItsRegisteredPlace) {
    AnchorEntry e = {7, 5, 3, 4, nullptr, nullptr, 0, 0, 0, 0};
    SetAnchorOffsets(e, Rect(0, 0, 384, 200), Rect(280, 170, 370, 194));
    EXPECT_EQ(-280, e.nLeftOffset);
    EXPECT_EQ(-170, e.nTopOffset);
    // The control was moved elsewhere meanwhile; the pinned edges come back.
    RECT after = AnchoredRect(e, Rect(0, 0, 500, 300), Rect(5, 6, 50, 60));
    EXPECT_EQ(Str(Rect(280, 170, 486, 294)), Str(after));
}

TEST(HyperLinkFont, PointsToCharacterHeight) {
    EXPECT_EQ(-27, PointsToFontHeight(20, 96));
    EXPECT_EQ(-12, PointsToFontHeight(9, 96));
    EXPECT_EQ(-15, PointsToFontHeight(9, 120));  // 15.0 exactly
    EXPECT_EQ(-25, PointsToFontHeight(10, 180)); // 25.0
    EXPECT_EQ(-13, PointsToFontHeight(10, 97));  // 13.47 rounds down
    EXPECT_EQ(-14, PointsToFontHeight(10, 100)); // 13.89 rounds up
}

TEST(HyperLinkFont, DescriptionHasTheAttributesAndNothingElse) {
    LOGFONTA lf = BuildLinkFont("Tahoma", -27, 700, 0, 1);
    LOGFONTA expected;
    std::memset(&expected, 0, sizeof expected);
    expected.lfHeight = -27;
    expected.lfWeight = 700;
    expected.lfUnderline = 1;
    expected.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(expected.lfFaceName, "Tahoma");
    EXPECT_EQ(0, std::memcmp(&expected, &lf, sizeof lf));
}

TEST(HyperLinkFont, LongFaceNameIsCutToTheField) {
    std::string face(40, 'x');
    LOGFONTA lf = BuildLinkFont(face.c_str(), -12, 400, 0, 0);
    EXPECT_EQ(std::string(31, 'x'), lf.lfFaceName);
}

} // namespace
