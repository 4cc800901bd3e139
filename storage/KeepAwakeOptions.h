#pragma once

#include "CString.h"

#include <windows.h>

class CProfileFile;
class CProfileText;

// When to keep awake besides the programs that are watched: the weekly
// working hours, the battery floor and the end of a hold at the lock, as the
// settings file keeps them. Values that do not parse read as "not set",
// never as an error: a hand-edited file cannot stop the program.

// The working hours of section "Schedule". Times are minutes after
// midnight, local wall-clock time; an end before the start runs past
// midnight, and such hours belong to the day they start on. An end equal to
// the start makes the hours the whole day.
struct WorkingHours {
    bool bDays[7] = {}; // Monday first
    int nStart = 9 * 60;
    int nEnd = 17 * 60;
    // The computer alone: the display may turn off, the screen saver start.
    bool bComputerOnly = false;

    // Some day has hours.
    bool IsSet() const;
};

// "HH:MM", 24-hour, one or two digits for the hour; false for anything else.
bool ParseTimeOfDay(const char* pszText, int* pnMinutes);
// "HH:MM" of minutes after midnight.
CString FormatTimeOfDay(int nMinutes);

// Days: seven digits 0 or 1, Monday first. Anything that does not parse
// (days, start or end) gives hours on no day.
WorkingHours ParseWorkingHours(const char* pszDays, const char* pszStart, const char* pszEnd,
                               int nComputerOnly);

struct KeepAwakeOptions {
    WorkingHours hours;
    // On battery at or below this charge (percent) nothing is kept awake;
    // 0: the battery changes nothing, 100: never on battery.
    int nBatteryFloor = 0;
    // A lock of the session ends a hold started by hand or the command line.
    bool bEndOnLock = false;
    // The global hotkey that starts and stops a hold, as a hotkey control
    // holds it: the virtual key in the low byte, the HOTKEYF_* modifiers in
    // the next; 0 for none.
    WORD wHotkey = 0;
    // A balloon tells of holds that start and end and of the battery's pause.
    bool bNotify = true;
};

// A stored hotkey as the program takes it: a key within a hotkey control's
// value, with no more than the control's modifiers; 0 for anything else.
WORD HotkeyFromStored(int nStored);

KeepAwakeOptions ReadKeepAwakeOptions(CProfileFile& settings);
void WriteKeepAwakeOptions(CProfileText& text, const KeepAwakeOptions& options);
