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

// Minutes that stand for "while a process runs" where a hold's minutes are asked.
const int kKeepAwakeWhileProcess = -2;

struct KeepAwakeHold {
    bool bOn = false;
    bool bTimed = false;
    ULONGLONG ullDeadline = 0;
    // The computer alone: the display may turn off, the screen saver start.
    bool bComputerOnly = false;
    // Held while this process runs; 0 when the hold is bound to none.
    DWORD dwProcessId = 0;
};

// A hold for nMinutes from ullNow, a week at most (kKeepAwakeUntilStopped: no
// end; 0 or less: none).
KeepAwakeHold StartKeepAwake(int nMinutes, ULONGLONG ullNow, bool bComputerOnly = false);
// A hold that ends with the process of this id (the caller watches it).
KeepAwakeHold StartKeepAwakeWhile(DWORD dwProcessId, bool bComputerOnly);
// The hold as it stands at ullNow: a timed one whose deadline has come is over.
KeepAwakeHold AgeKeepAwake(const KeepAwakeHold& hold, ULONGLONG ullNow);
// Whole minutes left, rounded up; 0 for no hold or one without an end.
int KeepAwakeMinutesLeft(const KeepAwakeHold& hold, ULONGLONG ullNow);

// What the tray tip names under the title: what holds the screen.
enum class TipDetail {
    None,         // nothing: the normal title alone
    MinutesLeft,  // the minutes left of a timed hold
    UntilStopped, // a hold without an end
    WhileProcess, // a hold that ends with a process
    WatchedAlias, // the alias of the first watched item in effect
};
TipDetail DecideTipDetail(const KeepAwakeHold& hold, bool bItemInEffect);

// What a command line asks of the hold.
struct KeepAwakeRequest {
    enum Kind { None, Start, Stop, Invalid } kind = None;
    int nMinutes = 0; // for Start: minutes, or kKeepAwakeUntilStopped
    bool bComputerOnly = false;
    DWORD dwProcessId = 0; // for Start: a hold while this process runs
};
// "/KEEPAWAKE" in any letter case, alone (the screen, until stopped) or with
// options, each after a colon and in any order: a number of minutes (1 to a
// week; 0 stops the hold), "PID=<id>" (while that process runs) and "SYSTEM"
// (the computer alone). Anything else, a number out of range, or both a
// number and a process is Invalid.
KeepAwakeRequest ParseKeepAwakeCommandLine(const char* pszCmdLine);

// A request as a later start hands it to the running instance in one posted
// message, and back. What comes back is what a command line could ask: a
// hand-over from anywhere else is held to that (minutes beyond a week to a
// week), or comes back as None.
void EncodeKeepAwake(const KeepAwakeRequest& request, WPARAM& wParam, LPARAM& lParam);
KeepAwakeRequest DecodeKeepAwake(WPARAM wParam, LPARAM lParam);
