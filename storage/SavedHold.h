#pragma once

#include <windows.h>

class CProfileFile;
class CProfileText;

// A hold as section "Hold" of the settings file keeps it from one run of the
// program to the next: a sign-out, a restart of Windows or an upgrade ends
// the program, not the hold the user asked for. A hold bound to a process is
// never kept: that process is gone by then. Values that do not parse read
// as no hold, never as an error.
struct SavedHold {
    enum Kind { None, UntilStopped, Timed, UntilTime } kind = None;
    // Timed: the minutes asked for, and the end in UTC (100 ns since 1601),
    // so that a new time zone does not move it.
    int nMinutes = 0;
    ULONGLONG ullEnd = 0;
    // UntilTime: ullEnd is the local wall-clock end (LocalInstant), at this
    // minute of its day.
    int nUntilMinute = 0;
    bool bComputerOnly = false;

    bool operator==(const SavedHold& other) const {
        return kind == other.kind && nMinutes == other.nMinutes && ullEnd == other.ullEnd &&
               nUntilMinute == other.nUntilMinute && bComputerOnly == other.bComputerOnly;
    }
};

// The keys as read: Kind "UntilStopped", "Timed" or "UntilTime" in any
// letter case; End "YYYY-MM-DDTHH:MM:SS", with a final "Z" for the UTC end of
// a timed hold and without it for a local one. A key missing or out of
// place for its kind gives no hold.
SavedHold ParseSavedHold(const char* pszKind, int nMinutes, const char* pszEnd, int nUntilMinute,
                         int nComputerOnly);

SavedHold ReadSavedHold(CProfileFile& settings);
// No hold removes the section.
void WriteSavedHold(CProfileText& text, const SavedHold& hold);
