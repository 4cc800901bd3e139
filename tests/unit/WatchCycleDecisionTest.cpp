#include "CPowerRequests.h"
#include "CProfileText.h"
#include "KeepAwake.h"
#include "WatchCycleDecision.h"

#include <gtest/gtest.h>

namespace {

WatchCycleFacts Facts(int first, bool foreground, int areaBlack, bool counting,
                      std::vector<int> effects, int wait = 30, int mode = 1, bool hold = false) {
    WatchCycleFacts facts;
    if (hold)
        facts.keeps |= KeepsOfHold(false);
    facts.nFirstInEffect = first;
    facts.bFirstInForeground = foreground;
    facts.nAreaBlack = areaBlack;
    facts.blackout.nWaitTime = wait;
    facts.blackout.nActiveAreaMode = mode;
    facts.bCounting = counting;
    for (int effect : effects)
        facts.keeps |= KeepsOfItem(effect, 0);
    return facts;
}

} // namespace

TEST(WatchCycle, DecisionTable) {
    const struct {
        const char* name;
        WatchCycleFacts facts;
        bool guarding, arm, stop, setMode, saver, power;
        int seconds;
    } cases[] = {
        {"nothing in effect stops any countdown and guards nothing", Facts(-1, false, 0, true, {}),
         false, false, true, false, false, false, 0},
        {"nothing in effect, no countdown", Facts(-1, false, 0, false, {}), false, false, true,
         false, false, false, 0},
        {"saver only", Facts(0, false, 0, false, {1}), true, false, false, false, true, false, 0},
        {"effects 1 and 2 give both flags", Facts(0, false, 0, false, {1, 2}), true, false, false,
         false, true, true, 0},
        {"effect 3 alone gives both", Facts(2, false, 0, false, {3}), true, false, false, false,
         true, true, 0},
        {"foreground with a blackout arms the countdown", Facts(0, true, 2, false, {1}, 45, 1),
         true, true, false, true, true, false, 45},
        {"a running countdown is left untouched", Facts(0, true, 2, true, {1}, 45, 0), true, false,
         false, true, true, false, 0},
        {"foreground without a blackout arms nothing", Facts(0, true, 0, false, {2}), true, false,
         false, false, false, true, 0},
        {"first item left the foreground: the countdown stops", Facts(0, false, 2, true, {1}), true,
         false, true, false, true, false, 0},
        {"a wait of 0 arms with 0 seconds", Facts(1, true, 1, false, {3}, 0, 0), true, true, false,
         true, true, true, 0},
        {"a hold alone guards both ways and arms nothing",
         Facts(-1, false, 0, false, {}, 30, 1, true), true, false, true, false, true, true, 0},
        {"a hold stops the countdown of an item no longer in effect",
         Facts(-1, false, 0, true, {}, 30, 1, true), true, false, true, false, true, true, 0},
        {"a hold adds both effects to an item's; the item's blackout stays",
         Facts(0, true, 2, false, {1}, 45, 1, true), true, true, false, true, true, true, 45},
    };
    for (const auto& c : cases) {
        WatchCycleActions a = DecideWatchCycle(c.facts);
        EXPECT_EQ(c.guarding, a.bGuarding) << c.name;
        EXPECT_EQ(c.arm, a.bArmCountdown) << c.name;
        EXPECT_EQ(c.stop, a.bStopCountdown) << c.name;
        EXPECT_EQ(c.setMode, a.bSetActiveAreaMode) << c.name;
        EXPECT_EQ(c.saver, a.bPreventSaver) << c.name;
        EXPECT_EQ(c.power, a.bPreventPowerOff) << c.name;
        EXPECT_EQ(c.power, a.bHoldDisplayOn)
            << c.name << ": the display is held exactly for power-off";
        if (c.arm) {
            EXPECT_EQ(c.seconds, a.nSecondsLeft) << c.name;
        }
        if (c.setMode) {
            EXPECT_EQ(c.facts.blackout.nActiveAreaMode, a.nActiveAreaMode) << c.name;
        }
    }
}

TEST(WatchCycle, BlackoutSettingsComeFromTheDefaultsOnlyForAreaBlack1) {
    const struct {
        int areaBlack, itemWait, itemIdentify, defaultWait, defaultIdentify;
        int wait, mode;
    } cases[] = {
        {1, 10, 1, 60, 1, 60, 1},  {1, 10, 1, 90, 0, 90, 0}, {1, 10, 0, 60, 7, 60, 0},
        {1, 10, 0, 60, -1, 60, 0}, {2, 10, 1, 60, 0, 10, 1}, {5, 15, 3, 60, 0, 15, 3},
    };
    for (const auto& c : cases) {
        BlackoutSettings s = ResolveBlackout(c.areaBlack, c.itemWait, c.itemIdentify, c.defaultWait,
                                             c.defaultIdentify);
        EXPECT_EQ(c.wait, s.nWaitTime) << c.areaBlack << "/" << c.defaultIdentify;
        EXPECT_EQ(c.mode, s.nActiveAreaMode) << c.areaBlack << "/" << c.defaultIdentify;
    }
    EXPECT_TRUE(NeedsBlackoutDefaults(0, true, 1));
    EXPECT_FALSE(NeedsBlackoutDefaults(0, false, 1));
    EXPECT_FALSE(NeedsBlackoutDefaults(0, true, 2));
    EXPECT_FALSE(NeedsBlackoutDefaults(-1, true, 1));
}

TEST(WatchCycle, TheComputerIsKeptAwakeWithTheDisplayOrWhenAsked) {
    const struct {
        const char* name;
        std::vector<int> effects;
        bool screenHold, computerHold, itemAsks;
        bool display, system, hooks;
    } cases[] = {
        {"the display needs the system too", {2}, false, false, false, true, true, true},
        {"an item that asks, with the screen saver only",
         {1},
         false,
         false,
         true,
         false,
         true,
         true},
        {"nothing in effect: an item's wish counts for nothing",
         {},
         false,
         false,
         true,
         false,
         false,
         false},
        {"the computer alone: no display, no hooks", {}, false, true, false, false, true, false},
        {"the screen hold keeps both", {}, true, false, false, true, true, true},
    };
    for (const auto& c : cases) {
        WatchCycleFacts facts = Facts(c.effects.empty() ? -1 : 0, false, 0, false, {});
        for (int effect : c.effects)
            facts.keeps |= KeepsOfItem(effect, c.itemAsks);
        if (c.screenHold || c.computerHold)
            facts.keeps |= KeepsOfHold(c.computerHold);
        const WatchCycleActions a = DecideWatchCycle(facts);
        EXPECT_EQ(c.display, a.bHoldDisplayOn) << c.name;
        EXPECT_EQ(c.system, a.bHoldSystemAwake) << c.name;
        EXPECT_EQ(c.hooks, a.bNeedHooks) << c.name;
        EXPECT_EQ(c.system || c.hooks, a.bGuarding) << c.name;
    }
}

namespace {

// The power manager as the requests see it: each object made is numbered.
struct FakePower {
    static int created, set, cleared;
    static DWORD lastState;
    static std::wstring lastReason;
    struct Reason {
        ULONG version;
        DWORD flags;
        const wchar_t* text;
    };
    static HANDLE WINAPI Create(void* pContext) {
        lastReason = static_cast<const Reason*>(pContext)->text;
        return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x1000 + ++created));
    }
    static BOOL WINAPI Set(HANDLE, int) {
        ++set;
        return TRUE;
    }
    static BOOL WINAPI Clear(HANDLE, int) {
        ++cleared;
        return TRUE;
    }
    static DWORD WINAPI SetState(DWORD flags) {
        lastState = flags;
        return ES_CONTINUOUS;
    }
    static HANDLE WINAPI CreateStub(void*) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return INVALID_HANDLE_VALUE;
    }
    static CPowerRequests::PowerApi Api(bool withRequests) {
        created = set = cleared = 0;
        lastState = 0;
        CPowerRequests::PowerApi api;
        if (withRequests) {
            api.pfnCreate = Create;
            api.pfnSet = Set;
            api.pfnClear = Clear;
        }
        api.pfnSetThreadExecutionState = SetState;
        return api;
    }
};
int FakePower::created, FakePower::set, FakePower::cleared;
DWORD FakePower::lastState;
std::wstring FakePower::lastReason;

// A Wednesday, at noon, local time.
const SYSTEMTIME kNoon = {2026, 12, 3, 9, 12, 0, 0, 0};

SYSTEMTIME At(int day, int hour, int minute) {
    SYSTEMTIME t = kNoon;
    t.wDay = static_cast<WORD>(day);
    t.wDayOfWeek = static_cast<WORD>((3 + day - 9 + 70) % 7); // the 9th is a Wednesday
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    return t;
}

} // namespace

TEST(PowerRequests, HeldOnceRenamedWithoutAGapAndReleasedAtTheEnd) {
    using R = CPowerRequests;
    {
        R requests(FakePower::Api(true));
        requests.Hold(R::kDisplay, false, L"");
        EXPECT_EQ(0, FakePower::set + FakePower::cleared) << "nothing to release";
        requests.Hold(R::kDisplay, true, L"Qorvane: Editor");
        requests.Hold(R::kDisplay, true, L"Qorvane: Editor");
        requests.Hold(R::kSystem, true, L"Qorvane: Editor");
        EXPECT_TRUE(requests.IsHeld(R::kDisplay) && requests.IsHeld(R::kSystem));
        EXPECT_EQ(2, FakePower::created) << "an object for each kind";
        EXPECT_EQ(2, FakePower::set);
        // Another reason: the new request is set, then the old one cleared.
        requests.Hold(R::kSystem, true, L"Qorvane: Editor, Render");
        EXPECT_EQ(L"Qorvane: Editor, Render", FakePower::lastReason);
        EXPECT_EQ(3, FakePower::set);
        EXPECT_EQ(1, FakePower::cleared);
        requests.Hold(R::kDisplay, false, L"");
        requests.Hold(R::kDisplay, true, L"Qorvane: Editor");
        EXPECT_EQ(3, FakePower::created) << "the same reason takes its object again";
    }
    EXPECT_EQ(4, FakePower::cleared) << "both released when the program ends";

    // Without power requests, one execution state names every kind held.
    R old(FakePower::Api(false));
    old.Hold(R::kDisplay, true, L"");
    old.Hold(R::kSystem, true, L"");
    EXPECT_EQ(static_cast<DWORD>(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED),
              FakePower::lastState);
    old.Hold(R::kDisplay, false, L"");
    EXPECT_EQ(static_cast<DWORD>(ES_CONTINUOUS | ES_SYSTEM_REQUIRED), FakePower::lastState);

    // Requests that are stubs saying so (Wine 8): the execution state holds.
    CPowerRequests::PowerApi stubbed = FakePower::Api(true);
    stubbed.pfnCreate = FakePower::CreateStub;
    R wine(stubbed);
    wine.Hold(R::kDisplay, true, L"Qorvane: Editor");
    EXPECT_EQ(static_cast<DWORD>(ES_CONTINUOUS | ES_DISPLAY_REQUIRED), FakePower::lastState);
}

TEST(KeepAwake, TimedHoldsEndInTheFirstCycleAfterTheirDeadline) {
    const ULONGLONG start = 5000000000ull; // days after start-up: beyond 32 bits
    const KeepAwakeHold hold = StartKeepAwake(30, start);
    ASSERT_TRUE(hold.bOn && hold.bTimed);
    const struct {
        ULONGLONG elapsedMs;
        bool on;
        int minutesLeft;
    } clock[] = {
        {0, true, 30},
        {1, true, 30},
        {59999, true, 30},
        {60000, true, 29},
        {60001, true, 29},
        {29 * 60000 + 1, true, 1},
        {30 * 60000 - 1, true, 1},
        {30 * 60000, false, 0},
        {90 * 60000, false, 0},
    };
    for (const auto& c : clock) {
        const KeepAwakeHold aged = AgeKeepAwake(hold, start + c.elapsedMs, kNoon);
        EXPECT_EQ(c.on, aged.bOn) << c.elapsedMs;
        EXPECT_EQ(c.minutesLeft, KeepAwakeMinutesLeft(aged, start + c.elapsedMs)) << c.elapsedMs;
    }
    const KeepAwakeHold endless = StartKeepAwake(kKeepAwakeUntilStopped, start);
    EXPECT_TRUE(AgeKeepAwake(endless, start + 1000000000ull, kNoon).bOn);
    EXPECT_EQ(0, KeepAwakeMinutesLeft(endless, start));
    EXPECT_FALSE(StartKeepAwake(0, start).bOn);
    EXPECT_FALSE(StartKeepAwake(-2, start).bOn);
    // A later start hands over any number: a hold lasts a week at most.
    for (int minutes : {kKeepAwakeMaxMinutes, kKeepAwakeMaxMinutes + 1, 0x7FFFFFFF}) {
        EXPECT_EQ(kKeepAwakeMaxMinutes, KeepAwakeMinutesLeft(StartKeepAwake(minutes, start), start))
            << minutes;
    }

    const struct {
        KeepAwakeHold hold;
        bool item;
        TipDetail detail;
    } tips[] = {
        {KeepAwakeHold(), false, TipDetail::None}, {KeepAwakeHold(), true, TipDetail::WatchedAlias},
        {hold, true, TipDetail::MinutesLeft},      {endless, false, TipDetail::UntilStopped},
        {endless, true, TipDetail::UntilStopped},
    };
    for (const auto& t : tips)
        EXPECT_EQ(t.detail, DecideTipDetail(t.hold, t.item)) << t.hold.bOn << t.item;
}

TEST(KeepAwake, CommandLineRequests) {
    using R = KeepAwakeRequest;
    const struct {
        const char* line;
        R::Kind kind;
        int minutes;
        bool system = false;
        DWORD pid = 0;
        int until = -1;
    } cases[] = {
        {"", R::None, 0},
        {"/UNINSTALL", R::None, 0},
        {"/KEEPAWAKE", R::Start, kKeepAwakeUntilStopped},
        {"-x /keepawake -y", R::Start, kKeepAwakeUntilStopped},
        {"/KeepAwake:30", R::Start, 30},
        {"/KEEPAWAKE:10080", R::Start, 10080},
        {"/KEEPAWAKE:0", R::Stop, 0},
        {"/KEEPAWAKE:000", R::Stop, 0},
        {"/KEEPAWAKE:10081", R::Invalid, 0},
        {"/KEEPAWAKE:99999999999999999999", R::Invalid, 0},
        {"/KEEPAWAKE:-5", R::Invalid, 0},
        {"/KEEPAWAKE:", R::Invalid, 0},
        {"/KEEPAWAKE:1h", R::Invalid, 0},
        {"/KEEPAWAKE=30", R::Invalid, 0},
        {"/keepawake:system", R::Start, kKeepAwakeUntilStopped, true},
        {"/KEEPAWAKE:30:SYSTEM", R::Start, 30, true},
        {"/KEEPAWAKE:SYSTEM:PID=4242", R::Start, kKeepAwakeUntilStopped, true, 4242},
        {"/KEEPAWAKE:pid=4294967295", R::Start, kKeepAwakeUntilStopped, false, 4294967295u},
        {"/KEEPAWAKE:PID=0", R::Invalid, 0},
        {"/KEEPAWAKE:PID=4294967296", R::Invalid, 0},
        {"/KEEPAWAKE:PID=", R::Invalid, 0},
        {"/KEEPAWAKE:30:PID=4242", R::Invalid, 0},
        {"/KEEPAWAKE:SYSTEM:SYSTEM", R::Invalid, 0},
        {"/KEEPAWAKE:SYSTEMS", R::Invalid, 0},
        {"/KEEPAWAKE:SYSTEM:", R::Invalid, 0},
        {"/KEEPAWAKE:UNTIL=17:30", R::Start, kKeepAwakeUntilStopped, false, 0, 17 * 60 + 30},
        {"/keepawake:system:until=9:05", R::Start, kKeepAwakeUntilStopped, true, 0, 9 * 60 + 5},
        {"/KEEPAWAKE:UNTIL=00:00", R::Start, kKeepAwakeUntilStopped, false, 0, 0},
        {"/KEEPAWAKE:UNTIL=24:00", R::Invalid, 0},
        {"/KEEPAWAKE:UNTIL=17:3", R::Invalid, 0},
        {"/KEEPAWAKE:UNTIL=17:30:30", R::Invalid, 0},
        {"/KEEPAWAKE:UNTIL=5pm", R::Invalid, 0},
        {"/KEEPAWAKE:UNTIL=", R::Invalid, 0},
        {"/KEEPAWAKE:UNTIL=17:30:PID=4242", R::Invalid, 0},
    };
    for (const auto& c : cases) {
        const R r = ParseKeepAwakeCommandLine(c.line);
        EXPECT_EQ(c.kind, r.kind) << c.line;
        if (c.kind == R::Start) {
            EXPECT_EQ(c.minutes, r.nMinutes) << c.line;
            EXPECT_EQ(c.system, r.bComputerOnly) << c.line;
            EXPECT_EQ(c.pid, r.dwProcessId) << c.line;
            EXPECT_EQ(c.until, r.nUntilMinute) << c.line;
        }
        // What the running instance is handed is what was asked.
        WPARAM wParam = 0;
        LPARAM lParam = 0;
        EncodeKeepAwake(r, wParam, lParam);
        const R back = DecodeKeepAwake(wParam, lParam);
        if (c.kind == R::Start || c.kind == R::Stop) {
            EXPECT_EQ(c.kind, back.kind) << c.line;
            EXPECT_EQ(r.dwProcessId, back.dwProcessId) << c.line;
            EXPECT_EQ(r.bComputerOnly, back.bComputerOnly) << c.line;
            EXPECT_EQ(r.kind == R::Start ? r.nUntilMinute : -1, back.nUntilMinute) << c.line;
            if (c.kind == R::Start && r.dwProcessId == 0 && r.nUntilMinute < 0) {
                EXPECT_EQ(r.nMinutes, back.nMinutes) << c.line;
            }
        }
    }
    // A hand-over from elsewhere is held to what a command line could ask.
    EXPECT_EQ(kKeepAwakeMaxMinutes, DecodeKeepAwake(1000000, 0).nMinutes);
    EXPECT_EQ(R::None, DecodeKeepAwake(static_cast<WPARAM>(-7), 0).kind);
    EXPECT_EQ(R::None, DecodeKeepAwake(0, 2).kind) << "process 0";
    EXPECT_EQ(R::None, DecodeKeepAwake(30, 8).kind) << "unknown flags";
    EXPECT_EQ(R::None, DecodeKeepAwake(24 * 60, 4).kind) << "no such minute";
    EXPECT_EQ(R::None, DecodeKeepAwake(30, 6).kind) << "a process and a time";
}

TEST(KeepAwake, AHoldUntilATimeEndsByTheWallClock) {
    const struct {
        SYSTEMTIME started;
        int until;
        SYSTEMTIME stillOn, over;
    } cases[] = {
        {At(9, 12, 0), 17 * 60 + 30, At(9, 17, 29), At(9, 17, 30)},
        // Passed today: tomorrow's.
        {At(9, 18, 0), 17 * 60 + 30, At(10, 17, 29), At(10, 17, 30)},
        {At(9, 17, 30), 17 * 60 + 30, At(10, 9, 0), At(10, 17, 30)},
        {At(9, 23, 50), 0, At(9, 23, 59), At(10, 0, 0)},
        // A clock set back keeps it on; one set forward, or a night asleep, ends it.
        {At(9, 12, 0), 13 * 60, At(9, 8, 0), At(12, 3, 0)},
    };
    for (const auto& c : cases) {
        const KeepAwakeHold hold = StartKeepAwakeUntil(c.until, c.started, true);
        ASSERT_TRUE(hold.bOn && hold.bUntil && hold.bComputerOnly) << c.until;
        EXPECT_TRUE(AgeKeepAwake(hold, 0, c.stillOn).bOn) << c.until << "/" << c.started.wHour;
        EXPECT_FALSE(AgeKeepAwake(hold, 0, c.over).bOn) << c.until << "/" << c.started.wHour;
        EXPECT_EQ(TipDetail::UntilTime, DecideTipDetail(hold, true));
    }
    EXPECT_FALSE(StartKeepAwakeUntil(24 * 60, kNoon, false).bOn);
}

// A hold across a restart of the program: saved by its end on the wall clock
// and taken up at the next start unless that end has passed.
TEST(KeepAwake, ASavedHoldIsTakenUpUntilItsEndHasPassed) {
    const ULONGLONG ticks = 5000000000ull, minute = 600000000ull;
    const ULONGLONG utc = LocalInstant(kNoon) - 60 * minute; // an hour east of UTC
    // Saved 10 minutes into 30 (20 left), and 18 ms off the second.
    const SavedHold timed =
        SaveKeepAwake(StartKeepAwake(30, ticks, true), 30, ticks + 600000, utc + 180000);
    EXPECT_EQ(utc + 20 * minute, timed.ullEnd) << "in whole seconds";
    const SavedHold until = SaveKeepAwake(StartKeepAwakeUntil(17 * 60 + 30, kNoon, false),
                                          kKeepAwakeUntilTime, ticks, utc);
    const SavedHold endless = SaveKeepAwake(StartKeepAwake(kKeepAwakeUntilStopped, ticks),
                                            kKeepAwakeUntilStopped, ticks, utc);
    SavedHold offMinute = until;
    offMinute.nUntilMinute = 17 * 60;
    const struct {
        const char* name;
        SavedHold saved;
        ULONGLONG utcLater;
        SYSTEMTIME localLater;
        int minutes, minutesLeft;
    } cases[] = {
        {"timed, 5 minutes on", timed, utc + 5 * minute, kNoon, 30, 15},
        {"timed, its end passed while off", timed, utc + 20 * minute, kNoon, 0, 0},
        {"timed, the clock set back", timed, utc - 60 * minute, kNoon, 30, 30},
        {"until stopped, days on", endless, utc, At(12, 12, 0), kKeepAwakeUntilStopped, 0},
        {"until a time, before it", until, utc, At(9, 17, 29), kKeepAwakeUntilTime, 0},
        {"until a time, after it", until, utc, At(9, 17, 30), 0, 0},
        {"until a time, over a day away", until, utc, At(8, 17, 0), 0, 0},
        {"until a time, not its minute", offMinute, utc, kNoon, 0, 0},
        {"bound to a process", SaveKeepAwake(StartKeepAwakeWhile(42, false), -2, ticks, utc), utc,
         kNoon, 0, 0},
    };
    for (const auto& c : cases) {
        int minutes = -99;
        const KeepAwakeHold hold =
            ResumeKeepAwake(c.saved, ticks, c.utcLater, c.localLater, &minutes);
        EXPECT_EQ(c.minutes, minutes) << c.name;
        EXPECT_EQ(c.minutesLeft, KeepAwakeMinutesLeft(hold, ticks)) << c.name;
        EXPECT_EQ(c.minutes != 0 && c.saved.bComputerOnly, hold.bComputerOnly) << c.name;
    }

    // The file's keys; anything damaged is no hold.
    CProfileText text;
    text.AddSection("Hold", "Kind=UntilStopped\0Stale=1\0");
    WriteSavedHold(text, timed);
    EXPECT_EQ(
        "[Hold]\r\nKind=Timed\r\nMinutes=30\r\nEnd=2026-12-09T11:20:00Z\r\nComputerOnly=1\r\n",
        text.GetText());
    WriteSavedHold(text, SavedHold());
    EXPECT_EQ("", text.GetText());
    EXPECT_TRUE(timed == ParseSavedHold("Timed", 30, "2026-12-09T11:20:00Z", -1, 1));
    const char* const damaged[][2] = {
        {"Timed", "2026-12-09T11:20:00"},
        {"Timed", "2026-02-30T11:20:00Z"},
        {"Timed", "2026-12-09 11:20:00Z"},
        {"UntilTime", "2026-12-09T17:30:00Z"},
        {"Forever", ""},
    };
    for (const auto& d : damaged)
        EXPECT_EQ(SavedHold::None, ParseSavedHold(d[0], 30, d[1], 1050, 0).kind) << d[0] << d[1];
    EXPECT_EQ(SavedHold::UntilTime,
              ParseSavedHold("untiltime", 0, "2026-12-09T17:30:00", 1050, 0).kind);
}

TEST(Reasons, WorkingHoursByDayAndTime) {
    // Monday to Friday 09:00-17:30; Friday and Saturday nights 22:00-02:00.
    WorkingHours office = ParseWorkingHours("1111100", "9:00", "17:30", 0);
    WorkingHours nights = ParseWorkingHours("0000110", "22:00", "02:00", 1);
    WorkingHours always = ParseWorkingHours("1111111", "00:00", "00:00", 0);
    const struct {
        const WorkingHours& hours;
        int day, minute;
        bool in;
    } cases[] = {
        {office, 0, 9 * 60, true},
        {office, 0, 9 * 60 - 1, false},
        {office, 4, 17 * 60 + 29, true},
        {office, 4, 17 * 60 + 30, false},
        {office, 5, 12 * 60, false}, // Saturday is off
        {nights, 4, 22 * 60, true},
        {nights, 5, 60, true}, // Friday's night, after midnight
        {nights, 6, 60, true},
        {nights, 0, 60, false}, // Sunday's is off
        {nights, 4, 21 * 60, false},
        {nights, 6, 2 * 60, false},
        {always, 2, 0, true},
        {always, 6, 23 * 60 + 59, true},
    };
    for (const auto& c : cases) {
        const HoursNow now = WorkingHoursAt(c.hours, c.day, c.minute);
        EXPECT_EQ(c.in, now.bIn) << c.day << " " << c.minute;
    }
    // Local wall-clock time decides: a clock set forward, or the hour that
    // daylight saving time skips, counts as the time it shows.
    EXPECT_FALSE(WorkingHoursAt(office, At(9, 8, 59)).bIn);
    EXPECT_TRUE(WorkingHoursAt(office, At(9, 9, 0)).bIn);
    EXPECT_EQ(17 * 60 + 30, WorkingHoursAt(office, At(9, 9, 0)).nEnd);
    EXPECT_FALSE(WorkingHoursAt(office, At(12, 10, 0)).bIn) << "a Saturday";
    // What does not parse is no schedule.
    const char* const bad[][3] = {{"111110", "09:00", "17:00"},  {"11111002", "09:00", "17:00"},
                                  {"1111100", "9", "17:00"},     {"1111100", "09:00", "24:00"},
                                  {"1111100", "09:60", "17:00"}, {"", "09:00", "17:00"}};
    for (const auto& b : bad) {
        EXPECT_FALSE(ParseWorkingHours(b[0], b[1], b[2], 0).IsSet()) << b[0] << b[1] << b[2];
    }
    EXPECT_FALSE(ParseWorkingHours("0000000", "09:00", "17:00", 0).IsSet());
    EXPECT_TRUE(nights.bComputerOnly);
}

TEST(Reasons, TheBatteryAndTheLockDecideWhichCount) {
    const Reason item = {ReasonKind::WatchItem, KeepsOfItem(3, 0), "Editor"};
    const Reason render = {ReasonKind::WatchItem, KeepsOfItem(1, 1), "Render"};
    const Reason hold = {ReasonKind::Hold, KeepsOfHold(false), "hold"};
    const Reason hours = {ReasonKind::WorkingHours, KeepsOfHold(true), "hours"};
    const std::vector<Reason> all = {item, render, hold, hours};
    const struct {
        const char* name;
        bool onBattery;
        int percent, floor;
        bool locked;
        Pause pause;
        size_t counted;
        bool saver, display, system;
    } cases[] = {
        {"on power", false, 10, 20, false, Pause::None, 4, true, true, true},
        {"above the floor", true, 21, 20, false, Pause::None, 4, true, true, true},
        {"at the floor", true, 20, 20, false, Pause::Battery, 0, false, false, false},
        {"below it", true, 5, 20, false, Pause::Battery, 0, false, false, false},
        {"no floor", true, 5, 0, false, Pause::None, 4, true, true, true},
        {"a charge nobody knows", true, -1, 20, false, Pause::None, 4, true, true, true},
        {"never on battery", true, -1, 100, false, Pause::Battery, 0, false, false, false},
        {"never on battery, on power", false, 50, 100, false, Pause::None, 4, true, true, true},
        {"locked: the computer alone", false, 90, 0, true, Pause::None, 3, false, false, true},
        {"locked on a low battery", true, 5, 20, true, Pause::Battery, 0, false, false, false},
    };
    for (const auto& c : cases) {
        RuleFacts facts;
        facts.power.bOnBattery = c.onBattery;
        facts.power.nPercent = c.percent;
        facts.nBatteryFloor = c.floor;
        facts.bLocked = c.locked;
        const RuleOutcome outcome = ApplyRules(all, facts);
        EXPECT_EQ(c.pause, outcome.pause) << c.name;
        EXPECT_EQ(c.counted, outcome.counted.size()) << c.name;
        EXPECT_EQ(c.saver, outcome.keeps.bSaver) << c.name;
        EXPECT_EQ(c.display, outcome.keeps.bDisplay) << c.name;
        EXPECT_EQ(c.system, outcome.keeps.bSystem) << c.name;
    }
    RuleFacts low;
    low.power = {true, 5};
    low.nBatteryFloor = 20;
    EXPECT_EQ(Pause::None, ApplyRules({}, low).pause) << "nothing asked, nothing paused";
}

TEST(Reasons, TheAdministratorsPolicyComesBeforeEveryOtherRule) {
    const Reason item = {ReasonKind::WatchItem, KeepsOfItem(3, 1), "Editor"};
    const Reason render = {ReasonKind::WatchItem, KeepsOfItem(0, 1), "Render"};
    const Reason hold = {ReasonKind::Hold, KeepsOfHold(false), "hold"};
    const Reason hours = {ReasonKind::WorkingHours, KeepsOfHold(true), "hours"};
    const std::vector<Reason> all = {item, render, hold, hours};
    const struct {
        const char* name;
        bool noKeepAwake, noComputer, onLowBattery;
        Pause pause;
        size_t counted;
        bool saver, display, system, hold;
    } cases[] = {
        {"no policy", false, false, false, Pause::None, 4, true, true, true, true},
        // The watched programs go on; holds and the working hours keep nothing.
        {"no keeping awake", true, false, false, Pause::None, 2, true, true, true, false},
        // What keeps the computer alone goes; the display's own request stays.
        {"no computer", false, true, false, Pause::None, 2, true, true, false, true},
        {"neither", true, true, false, Pause::None, 1, true, true, false, false},
        {"neither, low battery", true, true, true, Pause::Battery, 0, false, false, false, false},
    };
    for (const auto& c : cases) {
        RuleFacts facts;
        facts.policy.bNoKeepAwake = c.noKeepAwake;
        facts.policy.bNoComputerAwake = c.noComputer;
        facts.power = {c.onLowBattery, 5};
        facts.nBatteryFloor = 20;
        const RuleOutcome outcome = ApplyRules(all, facts);
        EXPECT_EQ(c.pause, outcome.pause) << c.name;
        EXPECT_EQ(c.counted, outcome.counted.size()) << c.name;
        EXPECT_EQ(c.saver, outcome.keeps.bSaver) << c.name;
        EXPECT_EQ(c.display, outcome.keeps.bDisplay) << c.name;
        EXPECT_EQ(c.system, outcome.keeps.bSystem) << c.name;
        EXPECT_EQ(c.hold, outcome.Counts(ReasonKind::Hold)) << c.name;
        EXPECT_TRUE(outcome.bBlackoutAllowed) << c.name;
    }
    // Nothing the policy forbids is asked for, so nothing is paused for it.
    RuleFacts forbidden;
    forbidden.policy.bNoKeepAwake = true;
    forbidden.policy.bNoBlackout = true;
    forbidden.power = {true, 5};
    forbidden.nBatteryFloor = 20;
    const RuleOutcome outcome = ApplyRules({hold}, forbidden);
    EXPECT_EQ(Pause::None, outcome.pause);
    EXPECT_FALSE(outcome.bBlackoutAllowed);
}

TEST(KeepAwake, TheAdministratorsLongestHoldCutsEveryKind) {
    const ULONGLONG now = 1000000;
    const ULONGLONG minute = 60000;
    SYSTEMTIME noon = {2026, 12, 3, 9, 12, 0, 0, 0};
    const KeepAwakeHold untilStopped = StartKeepAwake(kKeepAwakeUntilStopped, now);
    const KeepAwakeHold twoHours = StartKeepAwake(120, now - 30 * minute);
    const KeepAwakeHold quarter = StartKeepAwake(15, now);
    const KeepAwakeHold until1300 = StartKeepAwakeUntil(13 * 60, noon, true);
    const KeepAwakeHold until1215 = StartKeepAwakeUntil(12 * 60 + 15, noon, false);
    const KeepAwakeHold process = StartKeepAwakeWhile(1234, false);
    const struct {
        const char* name;
        KeepAwakeHold hold;
        int minutes;
        // What it becomes: a timed hold ending this many minutes from now
        // (0: as it was), with these minutes in the menus.
        int endsIn, minutesAfter;
        bool until;
        DWORD pid;
    } cases[] = {
        {"until stopped", untilStopped, kKeepAwakeUntilStopped, 30, 30, false, 0},
        {"longer, partly gone", twoHours, 120, 30, 30, false, 0},
        {"shorter", quarter, 15, 0, 15, false, 0},
        {"until a time further away", until1300, kKeepAwakeUntilTime, 30, 30, false, 0},
        {"until a time within it", until1215, kKeepAwakeUntilTime, 0, kKeepAwakeUntilTime, true, 0},
        {"for a process", process, kKeepAwakeWhileProcess, 30, kKeepAwakeWhileProcess, false, 1234},
    };
    for (const auto& c : cases) {
        int minutes = c.minutes;
        const KeepAwakeHold capped = CapKeepAwake(c.hold, 30, now, noon, &minutes);
        EXPECT_TRUE(capped.bOn) << c.name;
        EXPECT_EQ(c.minutesAfter, minutes) << c.name;
        EXPECT_EQ(c.until, capped.bUntil) << c.name;
        EXPECT_EQ(c.pid, capped.dwProcessId) << c.name;
        EXPECT_EQ(c.hold.bComputerOnly, capped.bComputerOnly) << c.name;
        if (c.endsIn != 0) {
            EXPECT_TRUE(capped.bTimed) << c.name;
            EXPECT_EQ(now + c.endsIn * minute, capped.ullDeadline) << c.name;
            EXPECT_FALSE(AgeKeepAwake(capped, now + c.endsIn * minute, noon).bOn) << c.name;
        } else {
            EXPECT_EQ(c.hold.ullDeadline, capped.ullDeadline) << c.name;
        }
        int unchanged = c.minutes;
        EXPECT_EQ(c.hold.ullDeadline, CapKeepAwake(c.hold, 0, now, noon, &unchanged).ullDeadline);
        EXPECT_EQ(c.minutes, unchanged) << c.name << ": no longest, no change";
    }
}
