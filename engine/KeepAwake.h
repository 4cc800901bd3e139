#pragma once

#include <windows.h>

// Keeping the screen on at the user's word, without a watched program: for a
// number of minutes or until stopped. Time is the system's monotonic clock in
// milliseconds (GetTickCount64), which runs on through sleep and ignores
// changes of the wall clock, so a timed hold ends when its time has passed.

// Minutes that stand for "until stopped".
const int kKeepAwakeUntilStopped = -1;
// The longest timed hold that can be asked for: a week.
const int kKeepAwakeMaxMinutes = 7 * 24 * 60;

struct KeepAwakeHold {
    bool bOn = false;
    bool bTimed = false;
    ULONGLONG ullDeadline = 0;
};

// A hold for nMinutes from ullNow, a week at most (kKeepAwakeUntilStopped: no
// end; 0 or less: none).
KeepAwakeHold StartKeepAwake(int nMinutes, ULONGLONG ullNow);
// The hold as it stands at ullNow: a timed one whose deadline has come is over.
KeepAwakeHold AgeKeepAwake(const KeepAwakeHold& hold, ULONGLONG ullNow);
// Whole minutes left, rounded up; 0 for no hold or one without an end.
int KeepAwakeMinutesLeft(const KeepAwakeHold& hold, ULONGLONG ullNow);

// What the tray tip names under the title: what holds the screen.
enum class TipDetail {
    None,         // nothing: the normal title alone
    MinutesLeft,  // the minutes left of a timed hold
    UntilStopped, // a hold without an end
    WatchedAlias, // the alias of the first watched item in effect
};
TipDetail DecideTipDetail(const KeepAwakeHold& hold, bool bItemInEffect);

// What a command line asks of the hold.
struct KeepAwakeRequest {
    enum Kind { None, Start, Stop, Invalid } kind = None;
    int nMinutes = 0; // for Start: minutes, or kKeepAwakeUntilStopped
};
// "/KEEPAWAKE" in any letter case, alone (until stopped), with ":minutes"
// (1 to a week) or with ":0" (stop). Anything else after the colon, or a
// number out of range, is Invalid.
KeepAwakeRequest ParseKeepAwakeCommandLine(const char* pszCmdLine);
