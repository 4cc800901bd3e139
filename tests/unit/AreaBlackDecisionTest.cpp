#include "AreaBlackDecision.h"

#include <gtest/gtest.h>

namespace {

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TEST(AreaBlack, StatesAndWhatTheHooksReport) {
    const struct {
        bool counting, shown;
        AreaBlackState state;
        int hookShown, hookCounting;
    } cases[] = {
        {false, false, AreaBlackState::Idle, 0, 0},
        {true, false, AreaBlackState::Counting, 0, 1},
        {true, true, AreaBlackState::Appearing, 0, 0},
        {false, true, AreaBlackState::Shown, 1, 0},
    };
    for (const auto& c : cases) {
        const AreaBlackState state = AreaBlackStateOf(c.counting, c.shown);
        EXPECT_EQ(c.state, state) << c.counting << c.shown;
        const AreaBlackHookStatus hooks = HookStatusIn(state);
        EXPECT_EQ(c.hookShown, hooks.bBlackShown) << c.counting << c.shown;
        EXPECT_EQ(c.hookCounting, hooks.bCounting) << c.counting << c.shown;
    }
}

TEST(AreaBlack, TickTable) {
    const struct {
        const char* name;
        bool counting, shown;
        int secondsLeft;
        int newSecondsLeft;
        bool showBlackout, killTimer, clearCounting, tellHooks;
        int hookShown, hookCounting;
    } cases[] = {
        {"counting down", true, false, 5, 4, false, false, false, false, 0, 0},
        {"the last second shows the window", true, false, 1, 0, true, false, false, false, 0, 0},
        {"a failed show retries at every tick", true, false, 0, -1, true, false, false, false, 0,
         0},
        {"a negative wait shows at once", true, false, -3, -4, true, false, false, false, 0, 0},
        {"the first second is over: input wakes", true, true, 0, 0, false, true, true, true, 1, 0},
        {"a tick while shown stops the clock again", false, true, 7, 7, false, true, true, true, 1,
         0},
        {"a stray tick after disarming", false, false, 9, 9, false, true, false, true, 0, 0},
    };
    for (const auto& c : cases) {
        const AreaBlackTickActions a = DecideAreaBlackTick(c.counting, c.shown, c.secondsLeft);
        EXPECT_EQ(c.newSecondsLeft, a.nSecondsLeft) << c.name;
        EXPECT_EQ(c.showBlackout, a.bShowBlackout) << c.name;
        EXPECT_EQ(c.killTimer, a.bKillTimer) << c.name;
        EXPECT_EQ(c.clearCounting, a.bClearCounting) << c.name;
        EXPECT_EQ(c.tellHooks, a.bTellHooks) << c.name;
        if (c.tellHooks) {
            EXPECT_EQ(c.hookShown, a.hooks.bBlackShown) << c.name;
            EXPECT_EQ(c.hookCounting, a.hooks.bCounting) << c.name;
        }
    }
}

// From arming to the Shown state, as the main window applies the steps: the
// window comes up after the wait (at least one tick), and the state after each
// step is the one whose hook flags were last sent.
TEST(AreaBlack, CountdownFromArmingToShown) {
    const struct {
        int wait;
        bool showFailsOnce;
        int ticksToShow;
    } cases[] = {{60, false, 60}, {3, false, 3},  {1, false, 1},
                 {0, false, 1},   {-5, false, 1}, {2, true, 3}};
    for (const auto& c : cases) {
        bool counting = true, shown = false, failNext = c.showFailsOnce;
        int left = c.wait;
        AreaBlackHookStatus told = HookStatusIn(AreaBlackState::Counting);
        int ticks = 0;
        while (!shown && ticks < 100) {
            ++ticks;
            const AreaBlackTickActions a = DecideAreaBlackTick(counting, shown, left);
            left = a.nSecondsLeft;
            ASSERT_FALSE(a.bKillTimer || a.bClearCounting) << c.wait;
            if (a.bShowBlackout) {
                told = HookStatusIn(AreaBlackState::Appearing);
                shown = !failNext;
                failNext = false;
            }
        }
        EXPECT_EQ(c.ticksToShow, ticks) << "wait " << c.wait;
        EXPECT_EQ(AreaBlackState::Appearing, AreaBlackStateOf(counting, shown));
        EXPECT_EQ(0, told.bBlackShown + told.bCounting) << "no input is reported while appearing";

        const AreaBlackTickActions next = DecideAreaBlackTick(counting, shown, left);
        counting = counting && !next.bClearCounting;
        EXPECT_EQ(AreaBlackState::Shown, AreaBlackStateOf(counting, shown));
        EXPECT_EQ(1, next.hooks.bBlackShown);
        EXPECT_EQ(0, next.hooks.bCounting);
    }
}

TEST(AreaBlack, ActiveAreaModes) {
    const struct {
        int mode;
        bool foreground;
        ActiveAreaKind kind;
    } cases[] = {
        {0, true, ActiveAreaKind::WindowRect}, {1, true, ActiveAreaKind::ClientRect},
        {2, true, ActiveAreaKind::None},       {-1, true, ActiveAreaKind::None},
        {0, false, ActiveAreaKind::None},      {1, false, ActiveAreaKind::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.kind, ActiveAreaKindFor(c.mode, c.foreground)) << c.mode << c.foreground;
    }
}

TEST(AreaBlack, WindowAndHoleCoverEveryMonitor) {
    const RECT empty = {0, 0, 0, 0};
    const struct {
        const char* name;
        RECT screen, active;
        RECT window, full, hole;
    } cases[] = {
        {"one monitor",
         {0, 0, 1024, 768},
         {100, 50, 300, 250},
         {0, 0, 1024, 768},
         {0, 0, 1024, 768},
         {100, 50, 300, 250}},
        {"a monitor left of the primary",
         {-1280, 0, 1920, 1080},
         {100, 100, 500, 400},
         {-1280, 0, 1920, 1080},
         {0, 0, 3200, 1080},
         {1380, 100, 1780, 400}},
        {"a window on the left monitor",
         {-1280, -200, 1920, 1080},
         {-1200, -150, -800, 100},
         {-1280, -200, 1920, 1080},
         {0, 0, 3200, 1280},
         {80, 50, 480, 300}},
        {"a window across two monitors",
         {0, 0, 3840, 1080},
         {1800, 10, 2100, 200},
         {0, 0, 3840, 1080},
         {0, 0, 3840, 1080},
         {1800, 10, 2100, 200}},
        {"no active area: no hole",
         {-1024, 0, 1024, 768},
         empty,
         {-1024, 0, 1024, 768},
         {0, 0, 2048, 768},
         empty},
    };
    for (const auto& c : cases) {
        const AreaBlackGeometry g = AreaBlackGeometryFor(c.screen, c.active);
        EXPECT_TRUE(g.rcWindow == c.window) << c.name;
        EXPECT_TRUE(g.rcFull == c.full) << c.name;
        EXPECT_TRUE(g.rcHole == c.hole) << c.name;
    }
}

// The shape the window gets, built as the window builds it: black everywhere
// but over the active area, which may sit on a monitor left of the primary.
TEST(AreaBlack, RegionLeavesOnlyTheActiveAreaUncovered) {
    const RECT screen = {-1280, 0, 1920, 1080};
    const RECT active = {-400, 100, -100, 300};
    const AreaBlackGeometry g = AreaBlackGeometryFor(screen, active);
    HRGN full = CreateRectRgnIndirect(&g.rcFull);
    HRGN shape = CreateRectRgnIndirect(&g.rcHole);
    ASSERT_EQ(COMPLEXREGION, CombineRgn(shape, full, shape, RGN_DIFF));
    // Screen points to window coordinates, as the system applies the region.
    auto covered = [&](int x, int y) {
        return PtInRegion(shape, x - g.rcWindow.left, y - g.rcWindow.top) != FALSE;
    };
    EXPECT_FALSE(covered(-400, 100));
    EXPECT_FALSE(covered(-101, 299));
    EXPECT_TRUE(covered(-401, 100));
    EXPECT_TRUE(covered(-100, 200));
    EXPECT_TRUE(covered(-1280, 0));
    EXPECT_TRUE(covered(1919, 1079));
    EXPECT_TRUE(covered(200, 200)) << "the primary monitor is black too";
    DeleteObject(shape);
    DeleteObject(full);
}
