#pragma once

#include "CString.h"
#include "KeepAwakeOptions.h"

#include <windows.h>

#include <vector>

// Everything that asks to keep something awake is a reason: a watch item in
// effect, a hold, the working hours. Rules then decide which reasons count
// right now (the battery, the lock), and what is kept is the union of what
// the reasons left say. A new reason or rule is one more entry here, never
// one more branch in the watch cycle.

// What a reason keeps awake.
struct Keeps {
    // The screen saver away: the hooks swallow its command.
    bool bSaver = false;
    // The display on: the hooks swallow the power-off, the power manager
    // holds the display (and with it the system, which the display needs).
    bool bDisplay = false;
    // The computer awake.
    bool bSystem = false;

    bool Any() const { return bSaver || bDisplay || bSystem; }
    bool Screen() const { return bSaver || bDisplay; }
    Keeps& operator|=(const Keeps& other);
};

// An item's effect (MonitorEffec 1 the screen saver, 2 the display, 3 both)
// and whether it keeps the computer awake too.
Keeps KeepsOfItem(int nMonitorEffec, int nKeepSystemAwake);
// A hold or the working hours: the whole screen, or the computer alone.
Keeps KeepsOfHold(bool bComputerOnly);

enum class ReasonKind { WatchItem, Hold, WorkingHours };

struct Reason {
    ReasonKind kind;
    Keeps keeps;
    // Who asks, as the power manager shows it; stays the same while the
    // reason lasts, so that its request is not made anew every minute.
    CString strName;
};

// The power source as the system reports it.
struct PowerSource {
    bool bOnBattery = false;
    // The charge in percent, -1 when the system cannot tell.
    int nPercent = -1;
};

// What an administrator's policy leaves to the program.
struct PolicyRules {
    // No hold and no working hours keep anything awake.
    bool bNoKeepAwake = false;
    // Nothing keeps the computer awake for its own sake; the display still
    // takes the computer with it, as the power manager needs.
    bool bNoComputerAwake = false;
    bool bNoBlackout = false;
};

struct RuleFacts {
    PowerSource power;
    int nBatteryFloor = 0;
    bool bLocked = false;
    PolicyRules policy;
};

// Why nothing is kept awake although reasons ask for it.
enum class Pause { None, Battery };

struct RuleOutcome {
    Pause pause = Pause::None;
    // The reasons that count, each with what it still keeps.
    std::vector<Reason> counted;
    Keeps keeps;
    // Whether a watched program may black the screen out around it.
    bool bBlackoutAllowed = true;

    // Whether a reason of this kind counts, for the screen when bScreen.
    bool Counts(ReasonKind kind, bool bScreen = false) const;
};

// Applies every rule in turn to the reasons, and takes the union.
// The policy comes first: what it forbids is never asked for, and so never
// paused either.
// The battery: on battery at or below a floor above 0 nothing counts (at a
// floor of 100 on battery whatever the charge); a charge the system cannot
// tell changes nothing. The lock: nobody looks at a locked screen, so the
// screen saver and the display are let go; the computer stays awake where a
// reason asks for it.
RuleOutcome ApplyRules(const std::vector<Reason>& reasons, const RuleFacts& facts);

// The working hours at a local wall-clock time: whether they hold, and the
// minute of the day they end then. nDay counts from Monday (0) to Sunday (6).
struct HoursNow {
    bool bIn = false;
    int nEnd = 0;
};
HoursNow WorkingHoursAt(const WorkingHours& hours, int nDay, int nMinuteOfDay);
// The same for a local time as the system gives it.
HoursNow WorkingHoursAt(const WorkingHours& hours, const SYSTEMTIME& local);
