#pragma once

#include "SavedHold.h"

#include <windows.h>

// Keeping the screen on at the user's word, without a watched program: for a
// number of minutes, until a time of day or until stopped. Minutes count on
// the system's monotonic clock in milliseconds (GetTickCount64), which runs
// on through sleep and ignores changes of the wall clock, so a timed hold
// ends when its time has passed; a time of day is the local wall clock's, so
// a hold until 17:30 ends at 17:30 however long the computer slept.

// Minutes that stand for "until stopped".
const int kKeepAwakeUntilStopped = -1;
// The longest timed hold that can be asked for: a week.
const int kKeepAwakeMaxMinutes = 7 * 24 * 60;

// Minutes that stand for "while a process runs" where a hold's minutes are asked.
const int kKeepAwakeWhileProcess = -2;
// Minutes that stand for "until a time of day".
const int kKeepAwakeUntilTime = -3;

struct KeepAwakeHold {
    bool bOn = false;
    bool bTimed = false;
    ULONGLONG ullDeadline = 0;
    // The computer alone: the display may turn off, the screen saver start.
    bool bComputerOnly = false;
    // Held while this process runs; 0 when the hold is bound to none.
    DWORD dwProcessId = 0;
    // Held until this local wall-clock time (LocalInstant), at nUntilMinute
    // of its day.
    bool bUntil = false;
    ULONGLONG ullUntilLocal = 0;
    int nUntilMinute = 0;
};

// A local wall-clock time as one number that grows with it (100 ns since 1601).
ULONGLONG LocalInstant(const SYSTEMTIME& local);

// A hold for nMinutes from ullNow, a week at most (kKeepAwakeUntilStopped: no
// end; 0 or less: none).
KeepAwakeHold StartKeepAwake(int nMinutes, ULONGLONG ullNow, bool bComputerOnly = false);
// A hold that ends with the process of this id (the caller watches it).
KeepAwakeHold StartKeepAwakeWhile(DWORD dwProcessId, bool bComputerOnly);
// A hold until nMinute (after midnight, local time): today, or tomorrow when
// that time has come already today.
KeepAwakeHold StartKeepAwakeUntil(int nMinute, const SYSTEMTIME& localNow, bool bComputerOnly);
// The hold as it stands at ullNow and localNow: a timed one whose deadline
// has come, or one until a time that has come, is over.
KeepAwakeHold AgeKeepAwake(const KeepAwakeHold& hold, ULONGLONG ullNow, const SYSTEMTIME& localNow);
// The hold held to an administrator's longest (nMaxMinutes; 0 or less for
// none) from ullNow: a hold without an end, and one until a time further
// away, become timed holds of that many minutes; a timed one ends by then;
// one bound to a process ends with it or then, whichever comes first.
// *pnMinutes, the guard's minutes of the hold, follows.
KeepAwakeHold CapKeepAwake(const KeepAwakeHold& hold, int nMaxMinutes, ULONGLONG ullNow,
                           const SYSTEMTIME& localNow, int* pnMinutes);
// Whole minutes left, rounded up; 0 for no hold or one without an end.
int KeepAwakeMinutesLeft(const KeepAwakeHold& hold, ULONGLONG ullNow);

// The running hold (nMinutes as the guard keeps them) as the settings file
// keeps it, at ullNow on the monotonic clock and ullUtcNow (100 ns since 1601)
// on the wall clock: a timed hold by the UTC end that its minutes left give,
// in whole seconds; a hold bound to a process as none.
SavedHold SaveKeepAwake(const KeepAwakeHold& hold, int nMinutes, ULONGLONG ullNow,
                        ULONGLONG ullUtcNow);
// A saved hold taken up at the program's start, with the minutes the guard
// keeps for it: none when its end has passed, and none for an end that no
// hold could have now (an until-a-time end more than a day away, or not at
// its minute of the day). A timed hold lasts no longer than asked, also
// after the clock was set back.
KeepAwakeHold ResumeKeepAwake(const SavedHold& saved, ULONGLONG ullNow, ULONGLONG ullUtcNow,
                              const SYSTEMTIME& localNow, int* pnMinutes);

// What the tray tip names under the title: what holds the screen.
enum class TipDetail {
    None,         // nothing: the normal title alone
    MinutesLeft,  // the minutes left of a timed hold
    UntilStopped, // a hold without an end
    WhileProcess, // a hold that ends with a process
    UntilTime,    // a hold until a time of day
    WatchedAlias, // the alias of the first watched item in effect
};
TipDetail DecideTipDetail(const KeepAwakeHold& hold, bool bItemInEffect);

// What a command line asks of the hold.
struct KeepAwakeRequest {
    enum Kind { None, Start, Stop, Invalid } kind = None;
    int nMinutes = 0; // for Start: minutes, or kKeepAwakeUntilStopped
    bool bComputerOnly = false;
    DWORD dwProcessId = 0; // for Start: a hold while this process runs
    int nUntilMinute = -1; // for Start: a hold until this minute of the day; -1 for none
};
// "/KEEPAWAKE" in any letter case, alone (the screen, until stopped) or with
// options, each after a colon and in any order: a number of minutes (1 to a
// week; 0 stops the hold), "PID=<id>" (while that process runs),
// "UNTIL=HH:MM" (until that time of day) and "SYSTEM" (the computer alone).
// Anything else, a number or time out of range, or more than one of minutes,
// process and time is Invalid.
KeepAwakeRequest ParseKeepAwakeCommandLine(const char* pszCmdLine);

// Who starts or stops a hold: the user, at the menus or the hotkey, hears
// of it; a script or a later start does not.
enum class HoldSource { CommandLine, Menu, Hotkey };

// What the hotkey asks for: a hold that runs (of any kind) stops; with none,
// the hold last chosen in the menus starts again, of the computer alone or
// of the screen as holds are now chosen to be.
KeepAwakeRequest ToggleKeepAwake(bool bHoldOn, const KeepAwakeRequest& lastChoice,
                                 bool bComputerOnly);

// A request as a later start hands it to the running instance in one posted
// message, and back. What comes back is what a command line could ask: a
// hand-over from anywhere else is held to that (minutes beyond a week to a
// week), or comes back as None.
void EncodeKeepAwake(const KeepAwakeRequest& request, WPARAM& wParam, LPARAM& lParam);
KeepAwakeRequest DecodeKeepAwake(WPARAM wParam, LPARAM lParam);
