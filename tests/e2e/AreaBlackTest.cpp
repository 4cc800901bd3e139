// The area blackout on the real Murvel.exe: a visible helper program in the
// foreground, watched with a blackout; the countdown is driven by the program's
// own clock or by ticks sent to it, input by mouse moves posted to the helper,
// which the hooks report to the program.
#include "HookTargetProcess.h"
#include "MurvelProcess.h"
#include "ProgramHooks.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const char kBlackTitle[] = "AreaBlack";

std::string WatchList(int areaBlack, int waitTime, int identify) {
    return "[Main]\r\nCount=1\r\n[Record_0]\r\nFileName=" + SiblingProgram("HookTarget.exe") +
           "\r\nTitle=helper\r\nValidCondition=2\r\nMonitorEffec=1\r\nAreaBlack=" +
           std::to_string(areaBlack) + "\r\nWaitTime=" + std::to_string(waitTime) +
           "\r\nIdentify=" + std::to_string(identify) + "\r\n";
}

RECT ClientOnScreen(HWND hwnd) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    OffsetRect(&rc, origin.x, origin.y);
    return rc;
}

// Whether the black window's shape is the whole virtual screen minus exactly
// the given screen rectangle, read from the program's window.
::testing::AssertionResult ShapeLeavesUncovered(HWND black, const RECT& uncovered) {
    if (!(GetWindowLongA(black, GWL_EXSTYLE) & WS_EX_TOPMOST))
        return ::testing::AssertionFailure() << "not top-most";
    RECT rcWindow;
    GetWindowRect(black, &rcWindow);
    const RECT screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                         GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                         GetSystemMetrics(SM_YVIRTUALSCREEN) +
                             GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (!EqualRect(&rcWindow, &screen))
        return ::testing::AssertionFailure() << "window at " << rcWindow.left << "," << rcWindow.top
                                             << "-" << rcWindow.right << "," << rcWindow.bottom;
    HRGN actual = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(black, actual);
    // Window coordinates, as the system applies the region.
    const RECT full = {0, 0, screen.right - screen.left, screen.bottom - screen.top};
    RECT hole = uncovered;
    OffsetRect(&hole, -screen.left, -screen.top);
    HRGN expected = CreateRectRgnIndirect(&full);
    HRGN holeRgn = CreateRectRgnIndirect(&hole);
    CombineRgn(expected, expected, holeRgn, RGN_DIFF);
    const bool same = kind != ERROR && EqualRgn(actual, expected);
    RECT box = {};
    GetRgnBox(actual, &box);
    DeleteObject(holeRgn);
    DeleteObject(expected);
    DeleteObject(actual);
    if (!same)
        return ::testing::AssertionFailure()
               << "region kind " << kind << ", box " << box.left << "," << box.top << "-"
               << box.right << "," << box.bottom;
    return ::testing::AssertionSuccess();
}

class AreaBlackTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, m_helper.Window()); }

    // Starts the program with the list, brings the helper to the front and
    // arms the countdown by one cycle.
    void StartArmed(const std::string& list, const std::string& settings = "") {
        m_murvel.PutFile("Tessik.dat", list);
        if (!settings.empty())
            m_murvel.PutFile("Tessik.ini", settings);
        ASSERT_TRUE(m_murvel.Start());
        SetForegroundWindow(m_helper.Window());
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == m_helper.Window(); }, 5000));
        m_murvel.RunWatchCycle();
        ASSERT_EQ(1, Hooks().Counting());
    }

    HWND Black() const { return m_murvel.TopWindow(kBlackTitle); }
    const ProgramHooks& Hooks() {
        if (!m_pHooks)
            m_pHooks.reset(new ProgramHooks(m_murvel));
        return *m_pHooks;
    }

    HookTargetProcess m_helper{"/visible"};
    MurvelProcess m_murvel;
    std::unique_ptr<ProgramHooks> m_pHooks;
};

} // namespace

TEST_F(AreaBlackTest, WindowRectStaysVisibleAndInputAfterTheFirstSecondWakes) {
    StartArmed(WatchList(2, 1, 0));
    EXPECT_EQ(nullptr, Black());
    m_murvel.CountdownTick();
    HWND black = Black();
    ASSERT_NE(nullptr, black) << "a wait of 1 ends at the first tick";
    RECT rcHelper;
    GetWindowRect(m_helper.Window(), &rcHelper);
    EXPECT_TRUE(ShapeLeavesUncovered(black, rcHelper));

    // Within the first second the hooks report nothing: the move changes nothing.
    EXPECT_EQ(0, Hooks().BlackShown() + Hooks().Counting());
    m_helper.PostAndReceive(WM_MOUSEMOVE, 0);
    Sleep(300);
    EXPECT_EQ(black, Black()) << "input in the first second is ignored";

    m_murvel.CountdownTick();
    EXPECT_EQ(1, Hooks().BlackShown());
    EXPECT_EQ(0, Hooks().Counting());
    m_helper.PostAndReceive(WM_MOUSEMOVE, 0);
    EXPECT_TRUE(WaitFor([&] { return Black() == nullptr; }, 5000)) << "input removes the window";
    EXPECT_TRUE(WaitFor([&] { return Hooks().Counting() == 1; }, 5000))
        << "the wake runs the cycle, which arms the countdown again";
    EXPECT_EQ(0, Hooks().BlackShown());
    // The program's own clock ends the new wait of one second.
    EXPECT_TRUE(WaitFor([&] { return Black() != nullptr; }, 5000));
}

TEST_F(AreaBlackTest, NoBlackoutWithoutTheHooksThatEndIt) {
    StartArmed(WatchList(2, 1, 0));
    // The session's end removes the hooks; a process that outlives it has
    // them back at the next cycle.
    SendMessageA(m_murvel.MainWindow(), WM_ENDSESSION, TRUE, 0);
    ASSERT_TRUE(Hooks().None());
    m_murvel.CountdownTick();
    EXPECT_EQ(nullptr, Black()) << "nothing would end it";
    m_murvel.RunWatchCycle();
    EXPECT_TRUE(Hooks().Installed());
    EXPECT_EQ(1, Hooks().Counting()) << "armed again";
    m_murvel.CountdownTick();
    EXPECT_NE(nullptr, Black());
}

TEST_F(AreaBlackTest, ClientAreaModeWithNoWaitShowsAtTheFirstTick) {
    StartArmed(WatchList(2, 0, 1));
    EXPECT_EQ(nullptr, Black()) << "arming shows nothing yet";
    m_murvel.CountdownTick();
    HWND black = Black();
    ASSERT_NE(nullptr, black);
    const RECT client = ClientOnScreen(m_helper.Window());
    RECT rcHelper;
    GetWindowRect(m_helper.Window(), &rcHelper);
    ASSERT_FALSE(EqualRect(&client, &rcHelper)) << "the helper needs a frame for this test";
    EXPECT_TRUE(ShapeLeavesUncovered(black, client)) << "caption and frame are covered";
}

TEST_F(AreaBlackTest, AreaBlackOneTakesTheSettingsFileDefaults) {
    // The item's own wait of 60 s and whole-window mode are not used.
    StartArmed(WatchList(1, 60, 0), "[AreaBlack]\r\nWaitTime=1\r\nIdentify=1\r\n");
    m_murvel.CountdownTick();
    HWND black = Black();
    ASSERT_NE(nullptr, black) << "the default wait of 1 s ends at the first tick";
    EXPECT_TRUE(ShapeLeavesUncovered(black, ClientOnScreen(m_helper.Window())));
}
