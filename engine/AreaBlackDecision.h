#pragma once

#include <windows.h>

// The area blackout apart from any window: its four states and what the hook
// library is told in each, one step of the countdown clock, the active-area
// modes and the shape of the black window. The main window reads its flags,
// asks these functions and applies the answers.

enum class AreaBlackState {
    Idle,      // no countdown, no black window
    Counting,  // timer 1 runs, input restarts the wait
    Appearing, // the black window has just come up; input is ignored for a second
    Shown,     // the black window is up, input removes it
};

AreaBlackState AreaBlackStateOf(bool bCounting, bool bBlackShown);

// The two flags of SetAreaBlackStatus, in its argument order.
struct AreaBlackHookStatus {
    int bBlackShown = 0;
    int bCounting = 0;
};

// What the hooks must report in a state: only Counting and Shown want input.
AreaBlackHookStatus HookStatusIn(AreaBlackState state);

// One tick of the countdown clock (timer 1).
struct AreaBlackTickActions {
    int nSecondsLeft = 0;
    // The wait is over: work out the active area and try to show the window.
    // The attempt itself tells the hooks to stay quiet while the window comes up.
    bool bShowBlackout = false;
    // Stop timer 1 and clear the counting flag.
    bool bKillTimer = false;
    bool bClearCounting = false;
    bool bTellHooks = false;
    AreaBlackHookStatus hooks;
};

AreaBlackTickActions DecideAreaBlackTick(bool bCounting, bool bBlackShown, int nSecondsLeft);

// Which rectangle of the foreground window stays visible.
enum class ActiveAreaKind {
    None,       // nothing stays visible: the whole screen goes black
    WindowRect, // the whole foreground window, frame and caption included
    ClientRect, // its client area only
};

ActiveAreaKind ActiveAreaKindFor(int nActiveAreaMode, bool bHasForegroundWindow);

// Where the black window goes and which part of it is cut out, so that it
// covers every monitor. The window sits at the virtual screen's origin, which
// is negative when a monitor lies left of or above the primary one, while the
// active area comes in screen coordinates: the hole is moved into window
// coordinates, the ones SetWindowRgn takes.
struct AreaBlackGeometry {
    RECT rcWindow; // screen coordinates
    RECT rcFull;   // the whole window, in window coordinates
    RECT rcHole;   // the active area, in window coordinates (empty: no hole)
};

AreaBlackGeometry AreaBlackGeometryFor(const RECT& rcVirtualScreen, const RECT& rcActiveArea);
