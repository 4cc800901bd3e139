// The guard on a made-up system: a clock the test sets, a process list the
// test fills, and a hook library, power manager and black window that only
// record what they were told.
#include "CGlobalHotkey.h"
#include "CGuardSystem.h"
#include "CProfileFile.h"
#include "CWatchEvaluator.h"
#include "CWatchGuard.h"
#include "CWatchList.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kEditor[] = "C:\\Apps\\Editor.exe";

class FakeEvaluator : public CWatchEvaluator {
public:
    using CWatchEvaluator::CWatchEvaluator;
    std::vector<std::string> running;
    DWORD dwForeground = 0;
    int snapshots = 0;

protected:
    DWORD ReadForegroundPid() override { return dwForeground; }
    void TakeSnapshot(CProcessList& processes, DWORD& dwForegroundPid) override {
        ++snapshots;
        processes.Clear();
        for (size_t i = 0; i < running.size(); ++i)
            processes.Add(running[i].c_str(), static_cast<DWORD>(100 + i));
        dwForegroundPid = dwForeground;
    }
};

struct FakeSystem : CWatchGuard::System {
    explicit FakeSystem(const CWatchList& list) : evaluator(list) {}
    FakeEvaluator evaluator;
    ULONGLONG now = 5000000000ull;
    bool hooksRequested = false, hooksInstalled = false, installTakes = true;
    int installs = 0;
    bool saver = false, powerOff = false, countdown = false, black = false;
    bool held[CPowerRequests::kKinds] = {};
    CString reason[CPowerRequests::kKinds];
    DWORD watched = 0;
    int flagCalls = 0, drops = 0, powerCalls = 0;
    int status[2] = {0, 0};

    SYSTEMTIME local = {2026, 12, 3, 9, 12, 0, 0, 0}; // a Wednesday at noon
    ULONGLONG utc = 134000000000000000ull;
    SavedHold saved; // the settings file's
    int saves = 0;
    PowerSource power;
    KeepAwakeOptions options;

    void Attach(HWND) override {}
    ULONGLONG Now() override { return now; }
    SYSTEMTIME LocalTime() override { return local; }
    ULONGLONG UtcNow() override { return utc; }
    SavedHold ReadSavedHold() override { return saved; }
    bool SaveHold(const SavedHold& hold) override {
        ++saves;
        saved = hold;
        return true;
    }
    PowerSource ReadPowerSource() override { return power; }
    KeepAwakeOptions ReadKeepAwakeOptions() override { return options; }
    int FindFirstInEffect(BYTE* pForeground) override {
        return evaluator.FindFirstInEffect(pForeground);
    }
    int FindNextInEffect() override { return evaluator.FindNextInEffect(); }
    int FindFirstInEffectInForeground(BYTE* pForeground) override {
        return evaluator.FindFirstInEffectInForeground(pForeground);
    }
    bool foregroundWatched = false, foregroundTimer = false;
    void WatchForeground(bool bWatch) override { foregroundWatched = bWatch; }
    void SetForegroundTimer(bool bRunning) override { foregroundTimer = bRunning; }
    void ReadBlackoutDefaults(int& nWaitTime, int& nIdentify) override {
        nWaitTime = 60;
        nIdentify = 0;
    }
    void InstallHooks() override {
        ++installs;
        hooksRequested = true;
        hooksInstalled = installTakes;
    }
    void RemoveHooks() override { hooksRequested = hooksInstalled = false; }
    bool AreHooksInstalled() override { return hooksInstalled; }
    bool AreHooksRequested() override { return hooksRequested; }
    void SetMonitorEffect(bool bSaver, bool bPowerOff) override {
        ++flagCalls;
        saver = bSaver;
        powerOff = bPowerOff;
    }
    void SetAreaBlackStatus(int bBlackShown, int bCounting) override {
        status[0] = bBlackShown;
        status[1] = bCounting;
    }
    bool HoldPower(CPowerRequests::Kind kind, bool bHold, const CString& strReason) override {
        ++powerCalls;
        held[kind] = bHold;
        reason[kind] = strReason;
        return true;
    }
    bool WatchHoldProcess(DWORD dwProcessId) override {
        if (dwProcessId == 999)
            return false; // no such process
        watched = dwProcessId;
        return true;
    }
    void SetCountdownTimer(bool bRunning) override { countdown = bRunning; }
    bool ShowBlackWindow(int) override { return black = true; }
    void HideBlackWindow() override { black = false; }
    void DropQueuedWakes() override { ++drops; }
};

struct FakeView : CWatchGuard::View {
    CWatchGuard::Display shown;
    int shows = 0, holdMinutes = 0;
    bool computerOnly = false;
    void ShowGuard(const CWatchGuard::Display& display) override {
        shown = display;
        ++shows;
    }
    void ShowHold(int nHoldMinutes, bool bComputerOnly) override {
        holdMinutes = nHoldMinutes;
        computerOnly = bComputerOnly;
    }
    std::vector<CWatchGuard::Notice> notices;
    void Notify(const CWatchGuard::Notice& notice) override { notices.push_back(notice); }
};

CWatchItem Item(int condition, int effect, int areaBlack = 0, int wait = 3) {
    CWatchItem item;
    item.m_strFileName = kEditor;
    item.m_strTitle = "Editor";
    item.m_nValidCondition = condition;
    item.m_nMonitorEffec = effect;
    item.m_nAreaBlack = areaBlack;
    item.m_nWaitTime = wait;
    return item;
}

KeepAwakeRequest Hold(int minutes, bool computerOnly = false, DWORD pid = 0) {
    KeepAwakeRequest request;
    request.kind = minutes == 0 && pid == 0 ? KeepAwakeRequest::Stop : KeepAwakeRequest::Start;
    request.nMinutes = minutes;
    request.bComputerOnly = computerOnly;
    request.dwProcessId = pid;
    return request;
}

struct Guarded {
    explicit Guarded(const CWatchItem& item)
        : system(*new FakeSystem(list)),
          guard(list, view, std::unique_ptr<CWatchGuard::System>(&system)) {
        list.Add(item);
        system.evaluator.running = {"C:\\Windows\\explorer.exe", kEditor};
        system.evaluator.dwForeground = 101;
    }
    CWatchList list;
    FakeSystem& system; // the guard's own
    FakeView view;
    CWatchGuard guard;
};

} // namespace

TEST(WatchGuard, AHoldThatEndsLeavesTheItemInEffectGuarding) {
    CWatchItem asks = Item(1, 1);
    asks.m_nKeepSystemAwake = 1;
    Guarded g(asks);
    g.guard.StartHold(Hold(30));
    EXPECT_EQ(30, g.view.holdMinutes);
    EXPECT_TRUE(g.view.shown.bGuarding);
    EXPECT_EQ(TipDetail::MinutesLeft, g.view.shown.detail);
    EXPECT_EQ("Editor", std::string(g.view.shown.strAlias)) << "named beside the hold";
    EXPECT_TRUE(g.system.saver && g.system.powerOff);
    EXPECT_TRUE(g.system.held[CPowerRequests::kDisplay]);
    EXPECT_EQ(0, g.system.reason[CPowerRequests::kSystem].Find("Qorvane: Editor, "))
        << "the item and the hold ask: " << g.system.reason[CPowerRequests::kSystem].GetString();

    // Cycles that find things as they are tell the window, the hooks and the
    // power manager nothing.
    const int shows = g.view.shows, flagCalls = g.system.flagCalls;
    const int powerCalls = g.system.powerCalls;
    g.guard.RunCycle();
    EXPECT_EQ(shows, g.view.shows);
    EXPECT_EQ(flagCalls, g.system.flagCalls);
    EXPECT_EQ(powerCalls, g.system.powerCalls);
    EXPECT_EQ(1, g.system.installs);

    g.system.now += 30 * 60000;
    g.guard.RunCycle();
    EXPECT_EQ(0, g.view.holdMinutes) << "the menus lose the check mark";
    EXPECT_EQ(TipDetail::WatchedAlias, g.view.shown.detail);
    EXPECT_EQ("Editor", std::string(g.view.shown.strAlias));
    EXPECT_TRUE(g.system.saver);
    EXPECT_FALSE(g.system.powerOff) << "the item prevents the screen saver only";
    EXPECT_FALSE(g.system.held[CPowerRequests::kDisplay]);
    EXPECT_EQ(std::string("Qorvane: Editor"), g.system.reason[CPowerRequests::kSystem].GetString());
    EXPECT_TRUE(g.system.hooksInstalled);

    g.system.evaluator.running.pop_back();
    g.guard.RunCycle();
    EXPECT_FALSE(g.view.shown.bGuarding);
    EXPECT_FALSE(g.system.hooksRequested);
}

TEST(WatchGuard, AnItemWithoutAnAliasIsNamedByItsFileTitleHoweverLongItsPath) {
    CWatchItem item = Item(1, 3);
    item.m_strTitle = "";
    item.m_strFileName = ("C:\\" + std::string(900, 'd') + "\\Long.exe").c_str();
    Guarded g(item);
    g.system.evaluator.running.back() = item.m_strFileName.GetString();
    g.guard.RunCycle();
    EXPECT_EQ("Long", std::string(g.view.shown.strAlias));
    EXPECT_EQ(std::string("Qorvane: Long"), g.system.reason[CPowerRequests::kDisplay].GetString());
}

TEST(WatchGuard, ABlackoutIsArmedCountedShownAndEndedByAWake) {
    Guarded g(Item(2, 3, 2, 3));
    g.guard.RunCycle();
    EXPECT_TRUE(g.system.countdown);
    EXPECT_EQ(1, g.system.status[1]);
    g.guard.OnTimer(CWatchGuard::kCountdownTimer);
    g.guard.RunCycle(); // a running countdown goes on untouched
    g.guard.OnTimer(CWatchGuard::kCountdownTimer);
    EXPECT_FALSE(g.system.black);

    // Input during the countdown starts the wait again from its full length.
    g.guard.OnWake();
    EXPECT_EQ(1, g.system.drops);
    for (int tick = 0; tick < 2; ++tick)
        g.guard.OnTimer(CWatchGuard::kCountdownTimer);
    EXPECT_FALSE(g.system.black);
    g.guard.OnTimer(CWatchGuard::kCountdownTimer);
    EXPECT_TRUE(g.system.black);
    EXPECT_EQ(0, g.system.status[0] + g.system.status[1]) << "quiet while it comes up";
    g.guard.OnTimer(CWatchGuard::kCountdownTimer);
    EXPECT_EQ(1, g.system.status[0]);
    EXPECT_FALSE(g.system.countdown);

    // While it is up the cycle changes nothing, even with the program gone.
    g.system.evaluator.running.pop_back();
    g.guard.RunCycle();
    EXPECT_TRUE(g.system.black && g.system.hooksInstalled);
    g.guard.OnWake();
    EXPECT_FALSE(g.system.black);
    EXPECT_FALSE(g.system.countdown);
    EXPECT_FALSE(g.view.shown.bGuarding);

    // Out of the foreground: a countdown is disarmed.
    g.system.evaluator.running.push_back(kEditor);
    g.guard.RunCycle();
    EXPECT_TRUE(g.system.countdown);
    g.system.evaluator.dwForeground = 0;
    g.guard.RunCycle();
    EXPECT_FALSE(g.system.countdown);
    EXPECT_EQ(0, g.system.status[1]);
}

TEST(WatchGuard, WithoutHooksNoBlackoutAndASessionEndRemovesThemUntilTheNextCycle) {
    Guarded g(Item(2, 2, 2, 1));
    g.system.installTakes = false; // a full session table
    g.guard.RunCycle();
    g.guard.OnTimer(CWatchGuard::kCountdownTimer);
    EXPECT_FALSE(g.system.black) << "no input could end it";
    EXPECT_FALSE(g.system.countdown);
    g.system.installTakes = true;
    g.guard.RunCycle();
    EXPECT_EQ(2, g.system.installs) << "asked again";
    EXPECT_TRUE(g.system.countdown);

    g.guard.RemoveHooks();
    EXPECT_FALSE(g.system.hooksRequested);
    const int flagCalls = g.system.flagCalls;
    g.guard.RunCycle();
    EXPECT_TRUE(g.system.hooksInstalled);
    EXPECT_EQ(flagCalls + 1, g.system.flagCalls) << "new hooks hear the flags again";
    g.guard.Stop();
    EXPECT_FALSE(g.system.held[CPowerRequests::kDisplay]);
}

TEST(WatchGuard, HoldsOfTheComputerAloneAndForAsLongAsAProcessRuns) {
    Guarded g(Item(1, 3));
    g.system.evaluator.running.pop_back(); // nothing in effect
    g.guard.StartHold(Hold(kKeepAwakeUntilStopped, true));
    EXPECT_TRUE(g.view.computerOnly);
    EXPECT_TRUE(g.view.shown.bGuarding && g.view.shown.bComputerOnly);
    EXPECT_FALSE(g.view.shown.bScreen) << "shown as keeping the computer awake";
    EXPECT_TRUE(g.system.held[CPowerRequests::kSystem]);
    EXPECT_FALSE(g.system.held[CPowerRequests::kDisplay]);
    EXPECT_FALSE(g.system.hooksRequested) << "the screen saver and the display are left alone";

    g.guard.ChooseComputerOnly(false);
    EXPECT_TRUE(g.view.shown.bScreen);
    EXPECT_TRUE(g.system.held[CPowerRequests::kDisplay]);
    EXPECT_TRUE(g.system.saver && g.system.powerOff && g.system.hooksInstalled);

    EXPECT_FALSE(g.guard.StartHold(Hold(0, true, 999))) << "no such process";
    EXPECT_EQ(kKeepAwakeUntilStopped, g.view.holdMinutes) << "the hold before stays";
    EXPECT_TRUE(g.guard.StartHold(Hold(0, true, 4242)));
    EXPECT_EQ(4242u, g.system.watched);
    EXPECT_EQ(kKeepAwakeWhileProcess, g.view.holdMinutes);
    EXPECT_EQ(TipDetail::WhileProcess, g.view.shown.detail);
    EXPECT_EQ(4242u, g.view.shown.dwProcessId);
    g.guard.OnHoldProcessEnded(17);
    EXPECT_TRUE(g.view.shown.bGuarding) << "another process's end is no news";
    g.guard.OnHoldProcessEnded(4242);
    EXPECT_EQ(0u, g.system.watched);
    EXPECT_EQ(0, g.view.holdMinutes);
    EXPECT_FALSE(g.view.shown.bGuarding);
    EXPECT_FALSE(g.system.held[CPowerRequests::kSystem]);
}

TEST(WatchGuard, AHoldIsSavedAsItChangesAndTakenUpAtTheNextStart) {
    Guarded g(Item(0, 3));
    g.guard.TakeUpHold(KeepAwakeRequest());
    g.guard.StartHold(Hold(30, true));
    EXPECT_EQ(1, g.system.saves);

    // Started again 10 minutes later, with the computer-only choice of the hold.
    Guarded next(Item(0, 3));
    next.system.saved = g.system.saved;
    next.system.utc = g.system.utc + 10 * 600000000ull;
    next.guard.TakeUpHold(KeepAwakeRequest());
    EXPECT_EQ(30, next.view.holdMinutes);
    EXPECT_TRUE(next.view.computerOnly && next.system.held[CPowerRequests::kSystem]);
    EXPECT_EQ(20, next.view.shown.nMinutesLeft);
    EXPECT_EQ(0, next.system.saves) << "the file holds it already";
    next.system.now += 20 * 60000;
    next.guard.RunCycle();
    EXPECT_EQ(SavedHold::None, next.system.saved.kind) << "ended by itself";

    // The command line wins, also with a hold that is not kept.
    Guarded third(Item(0, 3));
    third.system.saved = g.system.saved;
    third.guard.TakeUpHold(Hold(0, false, 4242));
    EXPECT_EQ(SavedHold::None, third.system.saved.kind);
}

// The real wait for a hold's process, on a process that has ended before the
// wait begins: the end comes at once, with that process's id (never 0 or the
// id of the hold before).
TEST(GuardSystem, AHoldProcessThatHasAlreadyEndedIsReportedAtOnceByItsId) {
    HWND hWnd =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hWnd);
    CWatchList list;
    CProfileFile settings;
    CGuardSystem system(list, settings);
    system.Attach(hWnd);
    char commandLine[] = "cmd.exe /c exit";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                               nullptr, nullptr, &si, &pi));
    CloseHandle(pi.hThread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 10000));
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(system.WatchHoldProcess(pi.dwProcessId)) << round;
        MSG msg = {};
        const DWORD start = GetTickCount();
        while (!PeekMessageA(&msg, hWnd, CWatchGuard::HoldProcessEndedMessage(),
                             CWatchGuard::HoldProcessEndedMessage(), PM_REMOVE) &&
               GetTickCount() - start < 5000)
            Sleep(10);
        EXPECT_EQ(CWatchGuard::HoldProcessEndedMessage(), msg.message) << round;
        EXPECT_EQ(pi.dwProcessId, static_cast<DWORD>(msg.wParam)) << round;
    }
    system.WatchHoldProcess(0);
    CloseHandle(pi.hProcess);
    DestroyWindow(hWnd);
}

TEST(WatchGuard, WorkingHoursTheBatteryAndTheLock) {
    Guarded g(Item(0, 3)); // an item that is never in effect
    g.system.options.hours = ParseWorkingHours("1111111", "11:00", "13:00", 0);
    g.system.options.nBatteryFloor = 20;
    g.guard.ReloadOptions();
    g.guard.RunCycle();
    EXPECT_TRUE(g.view.shown.bGuarding && g.view.shown.bHours && g.view.shown.bScreen);
    EXPECT_EQ(13 * 60, g.view.shown.nHoursEnd);
    EXPECT_TRUE(g.system.held[CPowerRequests::kDisplay] && g.system.hooksInstalled);
    g.system.local.wHour = 13;
    g.guard.RunCycle();
    EXPECT_FALSE(g.view.shown.bGuarding) << "after the hours";

    // A hold on a battery at its floor: paused, nothing held, and said so.
    g.guard.StartHold(Hold(kKeepAwakeUntilStopped));
    g.system.power = {true, 20};
    g.guard.RunCycle();
    EXPECT_FALSE(g.view.shown.bGuarding);
    EXPECT_TRUE(g.view.shown.bPaused);
    EXPECT_EQ(20, g.view.shown.nBatteryPercent);
    EXPECT_FALSE(g.system.held[CPowerRequests::kSystem] || g.system.hooksRequested);
    g.system.power = {false, 20};
    g.guard.RunCycle();
    EXPECT_TRUE(g.view.shown.bGuarding && !g.view.shown.bPaused) << "plugged in";

    // Locked, nobody looks: the display goes, the computer stays awake; the
    // unlock puts it back. With EndOnLock the lock ends the hold.
    g.guard.OnSessionChange(WTS_SESSION_LOCK);
    EXPECT_FALSE(g.system.held[CPowerRequests::kDisplay] || g.system.hooksRequested);
    EXPECT_TRUE(g.system.held[CPowerRequests::kSystem]);
    g.guard.OnSessionChange(WTS_SESSION_UNLOCK);
    EXPECT_TRUE(g.system.held[CPowerRequests::kDisplay] && g.system.hooksInstalled);
    g.system.options.bEndOnLock = true;
    g.guard.ReloadOptions();
    g.guard.OnSessionChange(WTS_SESSION_LOCK);
    EXPECT_EQ(0, g.view.holdMinutes);
    EXPECT_FALSE(g.system.held[CPowerRequests::kSystem]);
}

// What the user hears of: holds started and stopped at the menus or the
// hotkey (a script's are not told), holds that end by themselves or with
// their process, and the battery's pause and its end.
TEST(WatchGuard, NoticesAndTheHotkeysToggle) {
    using N = CWatchGuard::Notice;
    Guarded g(Item(0, 3));
    const auto kinds = [&] {
        std::string told;
        for (const N& n : g.view.notices)
            told += "SsTPpR"[n.kind];
        g.view.notices.clear();
        return told;
    };
    g.guard.StartHold(Hold(30));
    g.guard.StartHold(Hold(0));
    EXPECT_EQ("", kinds()) << "the command line's holds go without a word";

    // The hotkey before any choice: until stopped; again: stopped.
    g.guard.ToggleHold();
    EXPECT_EQ(kKeepAwakeUntilStopped, g.view.holdMinutes);
    ASSERT_EQ("S", kinds());
    g.guard.ToggleHold();
    EXPECT_EQ(0, g.view.holdMinutes);
    EXPECT_EQ("s", kinds());

    // The last choice of the menus comes back, as holds are chosen now; it
    // ends by itself, is told so, and the hotkey stops a hold of any kind.
    g.guard.StartHold(Hold(60), HoldSource::Menu);
    ASSERT_EQ(1u, g.view.notices.size());
    EXPECT_TRUE(g.view.notices[0].hold.bTimed);
    EXPECT_EQ(60, g.view.notices[0].nHoldMinutes);
    kinds();
    g.system.now += 60 * 60000;
    g.guard.RunCycle();
    EXPECT_EQ("T", kinds());
    g.guard.ChooseComputerOnly(true);
    g.guard.ToggleHold();
    EXPECT_EQ(60, g.view.holdMinutes);
    ASSERT_EQ(1u, g.view.notices.size());
    EXPECT_TRUE(g.view.notices[0].hold.bComputerOnly);
    kinds();
    for (const KeepAwakeRequest& running : {Hold(kKeepAwakeUntilStopped), Hold(0, false, 42)}) {
        g.guard.StartHold(running);
        g.guard.ToggleHold();
        EXPECT_EQ(0, g.view.holdMinutes);
        EXPECT_EQ("s", kinds());
    }
    g.guard.StartHold(Hold(0, false, 42));
    g.guard.OnHoldProcessEnded(42);
    ASSERT_EQ("P", kinds().substr(0, 1));

    // The battery: paused while a hold asks, told once; plugged in, told again.
    g.system.options.nBatteryFloor = 20;
    g.guard.ReloadOptions();
    g.guard.StartHold(Hold(kKeepAwakeUntilStopped));
    g.system.power = {true, 15};
    g.guard.RunCycle();
    g.guard.RunCycle();
    ASSERT_EQ(1u, g.view.notices.size());
    EXPECT_EQ(N::Paused, g.view.notices[0].kind);
    EXPECT_EQ(15, g.view.notices[0].nBatteryPercent);
    kinds();
    g.system.power = {false, 15};
    g.guard.RunCycle();
    EXPECT_EQ("R", kinds());
}

TEST(GlobalHotkey, StoredValuesAndACombinationHeldElsewhere) {
    const struct {
        int stored;
        WORD taken;
        UINT modifiers;
    } cases[] = {{0x064B, 0x064B, MOD_CONTROL | MOD_ALT},
                 {0x0170, 0x0170, MOD_SHIFT},
                 {0x0D21, 0x0D21, MOD_SHIFT | MOD_ALT}, // with HOTKEYF_EXT
                 {0, 0, 0},
                 {-5, 0, 0},
                 {0x10041, 0, 0},
                 {0x0600, 0, 0},
                 {0x1041, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.taken, HotkeyFromStored(c.stored)) << c.stored;
        EXPECT_EQ(c.modifiers, CGlobalHotkey::ModifiersOf(c.taken)) << c.stored;
    }

    HWND hWnd =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hWnd);
    const WORD kMine = MAKEWORD(VK_F9, HOTKEYF_CONTROL | HOTKEYF_ALT);
    const WORD kTheirs = MAKEWORD(VK_F10, HOTKEYF_CONTROL | HOTKEYF_ALT);
    ASSERT_TRUE(RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_ALT, VK_F10));
    {
        CGlobalHotkey hotkey;
        hotkey.Attach(hWnd);
        EXPECT_TRUE(hotkey.Change(kMine));
        EXPECT_FALSE(hotkey.Change(kTheirs));
        EXPECT_EQ(kMine, hotkey.Get()) << "the old one stays";
        EXPECT_FALSE(RegisterHotKey(nullptr, 78, MOD_CONTROL | MOD_ALT, VK_F9)) << "still ours";
        EXPECT_TRUE(hotkey.Change(0));
    }
    EXPECT_TRUE(RegisterHotKey(nullptr, 78, MOD_CONTROL | MOD_ALT, VK_F9)) << "given back";
    UnregisterHotKey(nullptr, 78);
    UnregisterHotKey(nullptr, 77);
    DestroyWindow(hWnd);
}

TEST(WatchGuard, TheAdministratorsPolicyForbidsShortensAndWatches) {
    Guarded g(Item(2, 3, 2, 3));
    g.system.evaluator.running.pop_back(); // the user's item is not in effect
    ASSERT_TRUE(g.guard.StartHold(Hold(kKeepAwakeUntilStopped), HoldSource::Menu));
    const auto policyOf = [](bool noKeepAwake, int maxMinutes, bool noComputer, bool noBlackout) {
        AdminPolicy policy;
        policy.bDisableKeepAwake = noKeepAwake;
        policy.nMaxHoldMinutes = maxMinutes;
        policy.bDisableComputerAwake = noComputer;
        policy.bDisableAreaBlackout = noBlackout;
        return policy;
    };

    // A longest hold turns "until stopped" into that many minutes, shown.
    g.guard.ApplyPolicy(policyOf(false, 20, false, false));
    EXPECT_EQ(20, g.view.holdMinutes);
    EXPECT_EQ(TipDetail::MinutesLeft, g.view.shown.detail);
    EXPECT_EQ(20, g.view.shown.nMinutesLeft);
    EXPECT_TRUE(g.guard.StartHold(Hold(120)));
    EXPECT_EQ(20, g.guard.GetHoldMinutes());
    EXPECT_EQ(20, g.system.saved.nMinutes) << "saved as it will end";

    // Keeping awake switched off ends the hold and says why; no hold, the
    // hotkey's neither, starts again; a stop is still taken.
    g.view.notices.clear();
    g.guard.ApplyPolicy(policyOf(true, 0, false, false));
    EXPECT_EQ(0, g.view.holdMinutes);
    EXPECT_FALSE(g.view.shown.bGuarding);
    ASSERT_EQ(1u, g.view.notices.size());
    EXPECT_EQ(CWatchGuard::Notice::Forbidden, g.view.notices[0].kind);
    EXPECT_EQ(SavedHold::None, g.system.saved.kind);
    EXPECT_FALSE(g.guard.StartHold(Hold(30)));
    g.guard.ToggleHold();
    EXPECT_EQ(0, g.guard.GetHoldMinutes());
    EXPECT_TRUE(g.guard.StartHold(Hold(0)));
    // A saved hold is not taken up either.
    g.system.saved.kind = SavedHold::UntilStopped;
    g.guard.TakeUpHold(KeepAwakeRequest());
    EXPECT_EQ(0, g.guard.GetHoldMinutes());
    EXPECT_EQ(SavedHold::None, g.system.saved.kind);

    // The computer alone: no such hold, and an item that asks for it holds
    // the display alone, with the system request the display needs.
    g.guard.ApplyPolicy(policyOf(false, 0, true, false));
    EXPECT_FALSE(g.guard.StartHold(Hold(30, true)));
    g.guard.ChooseComputerOnly(true);
    EXPECT_FALSE(g.guard.IsComputerOnlyChosen());
    EXPECT_TRUE(g.guard.StartHold(Hold(30)));
    EXPECT_TRUE(g.system.held[CPowerRequests::kSystem] && g.system.held[CPowerRequests::kDisplay]);
    g.guard.StartHold(Hold(0));

    // A watched program in the foreground arms no blackout, and one counting
    // down stops.
    g.system.evaluator.running.push_back(kEditor);
    g.guard.ApplyPolicy(AdminPolicy());
    EXPECT_TRUE(g.system.countdown);
    g.guard.ApplyPolicy(policyOf(false, 0, false, true));
    EXPECT_FALSE(g.system.countdown);
    EXPECT_TRUE(g.view.shown.bGuarding) << "the item still keeps the screen on";
    g.guard.RunCycle();
    EXPECT_FALSE(g.system.countdown);
}

// A burst of foreground changes is decided once, on the processes the last
// cycle found; the changes are watched while an item valid there is listed.
TEST(WatchGuard, AForegroundChangeIsDecidedOncePerBurstWithoutANewListing) {
    Guarded g(Item(2, 1));
    g.system.evaluator.dwForeground = 100; // explorer
    g.guard.RunCycle();
    EXPECT_TRUE(g.system.foregroundWatched);
    const int snapshots = g.system.evaluator.snapshots;
    for (DWORD pid : {101u, 100u, 101u}) {
        g.system.evaluator.dwForeground = pid;
        g.guard.OnForegroundChanged();
    }
    EXPECT_TRUE(g.system.foregroundTimer);
    EXPECT_FALSE(g.view.shown.bGuarding) << "not before the burst has settled";
    g.guard.OnTimer(CWatchGuard::kForegroundTimer);
    EXPECT_TRUE(g.view.shown.bGuarding && !g.system.foregroundTimer);
    EXPECT_EQ(snapshots, g.system.evaluator.snapshots) << "no new listing";
    g.list.GetAt(0)->m_nValidCondition = 1;
    g.guard.RunCycle();
    EXPECT_FALSE(g.system.foregroundWatched);
}
