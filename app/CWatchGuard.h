#pragma once

#include "AdminPolicy.h"
#include "CForegroundBurst.h"
#include "CPowerRequests.h"
#include "CString.h"
#include "KeepAwake.h"
#include "KeepAwakeOptions.h"
#include "KeepAwakeReasons.h"
#include "SavedHold.h"
#include "WatchCycleDecision.h"

#include <windows.h>

#include <memory>

class CWatchList;

// What the program does while it guards: the watch cycle (evaluation,
// decision, and applying it), the hooks and their flags, the display request,
// the keep-awake hold, and the area blackout from its countdown to the wake
// that ends it. It holds no window of the user's: the main window hands it the
// timer ticks, the hooks' wakes and the user's choices, and it tells the
// window what to show through View. Everything it does to the system goes
// through System, so that tests can run it with a made-up clock, process
// list and hook library.
class CWatchGuard {
public:
    // The main window's timers: the cycle, and the blackout's countdown clock.
    static constexpr UINT_PTR kCycleTimer = 0;
    static constexpr UINT_PTR kCountdownTimer = 1;
    static constexpr UINT kCycleMs = 5000;
    static constexpr UINT kCountdownMs = 1000;
    // The one-shot timer that ends a burst of foreground changes: short
    // enough that nobody waits for it, long enough for alt-tab's steps.
    static constexpr UINT_PTR kForegroundTimer = 2;
    static constexpr UINT kForegroundSettleMs = 150;

    // What the window shows of the guard: icons, title and tray tip.
    struct Display {
        bool bGuarding = false;
        // The screen saver or the display is held off; guarding without it
        // keeps the computer alone awake.
        bool bScreen = false;
        TipDetail detail = TipDetail::None;
        // The hold's: the computer alone, minutes left, or its process.
        bool bComputerOnly = false;
        int nMinutesLeft = 0;
        DWORD dwProcessId = 0;
        int nUntilMinute = 0;
        // The aliases of the items in effect, in list order.
        CString strAlias;
        // The working hours hold, until nHoursEnd (minutes after midnight).
        bool bHours = false;
        int nHoursEnd = 0;
        bool bHoursComputerOnly = false;
        // Nothing is kept awake on a battery this low (-1: charge unknown).
        bool bPaused = false;
        int nBatteryPercent = 0;
        int nBatteryFloor = 0;

        bool operator==(const Display& other) const {
            return bGuarding == other.bGuarding && bScreen == other.bScreen &&
                   detail == other.detail && bComputerOnly == other.bComputerOnly &&
                   nMinutesLeft == other.nMinutesLeft && dwProcessId == other.dwProcessId &&
                   nUntilMinute == other.nUntilMinute && strAlias == other.strAlias &&
                   bHours == other.bHours && nHoursEnd == other.nHoursEnd &&
                   bHoursComputerOnly == other.bHoursComputerOnly && bPaused == other.bPaused &&
                   nBatteryPercent == other.nBatteryPercent && nBatteryFloor == other.nBatteryFloor;
        }
    };

    // What the user hears of in a balloon: a hold started or stopped at the
    // menus or the hotkey, a hold that ended by itself, with its process or
    // by the administrator's policy, and the battery rule pausing or letting go.
    struct Notice {
        enum Kind { Started, Stopped, TimeUp, ProcessEnded, Paused, Resumed, Forbidden } kind = Started;
        // The hold started, or the one that ended; with its minutes for a timed one.
        KeepAwakeHold hold;
        int nHoldMinutes = 0;
        int nBatteryPercent = 0;
        int nBatteryFloor = 0;
    };

    class View {
    public:
        virtual void ShowGuard(const Display& display) = 0;
        // The hold the keep-awake menus check: its minutes (0 for none,
        // kKeepAwakeWhileProcess), and whether holds keep the computer alone.
        virtual void ShowHold(int nHoldMinutes, bool bComputerOnly) = 0;
        virtual void Notify(const Notice& notice) = 0;

    protected:
        ~View() = default;
    };

    class System {
    public:
        virtual ~System() = default;
        // The window that takes the timers and the hooks' wakes.
        virtual void Attach(HWND hWnd) = 0;
        virtual ULONGLONG Now() = 0;
        // The local wall-clock time.
        virtual SYSTEMTIME LocalTime() = 0;
        // The wall clock in UTC, in 100 ns since 1601.
        virtual ULONGLONG UtcNow() = 0;
        // The power source now.
        virtual PowerSource ReadPowerSource() = 0;
        // When to keep awake, from the settings file.
        virtual KeepAwakeOptions ReadKeepAwakeOptions() = 0;
        // The items in effect on a fresh snapshot, first to last: see
        // CWatchEvaluator.
        virtual int FindFirstInEffect(BYTE* pForeground) = 0;
        virtual int FindNextInEffect() = 0;
        // Like FindFirstInEffect, on the processes of the last snapshot with
        // only the foreground window looked up anew.
        virtual int FindFirstInEffectInForeground(BYTE* pForeground) = 0;
        // Changes of the foreground window reported at once
        // (OnForegroundChanged), or no longer; repeating a call does nothing.
        virtual void WatchForeground(bool bWatch) = 0;
        virtual void SetForegroundTimer(bool bRunning) = 0;
        // The settings file's blackout wait and active-area mode.
        virtual void ReadBlackoutDefaults(int& nWaitTime, int& nIdentify) = 0;
        // The hold the settings file keeps from the last run, and a new one
        // for it in one step; false when the save failed, which the system
        // reports to the user itself.
        virtual SavedHold ReadSavedHold() = 0;
        virtual bool SaveHold(const SavedHold& hold) = 0;

        // The hook library, through the thread that owns the hooks.
        virtual void InstallHooks() = 0;
        virtual void RemoveHooks() = 0;
        // The last install took and nothing has undone it since.
        virtual bool AreHooksInstalled() = 0;
        // The last request was an install, whether or not it has taken yet.
        virtual bool AreHooksRequested() = 0;
        virtual void SetMonitorEffect(bool bPreventSaver, bool bPreventPowerOff) = 0;
        virtual void SetAreaBlackStatus(int bBlackShown, int bCounting) = 0;

        // Holds or releases a power request, for a reason that names who
        // asks; true when the request is as asked.
        virtual bool HoldPower(CPowerRequests::Kind kind, bool bHold, const CString& strReason) = 0;
        // Starts waiting for the process, which ends the hold bound to it at
        // once (OnHoldProcessEnded), also when it has ended already; false
        // when no such process can be found. One process at a time: a new
        // one, or 0, ends the wait for the last.
        virtual bool WatchHoldProcess(DWORD dwProcessId) = 0;
        virtual void SetCountdownTimer(bool bRunning) = 0;
        // Puts the black window up around the active area (nActiveAreaMode of
        // the foreground window); false when it could not be created.
        virtual bool ShowBlackWindow(int nActiveAreaMode) = 0;
        virtual void HideBlackWindow() = 0;
        // The wakes that queued up behind the one being handled.
        virtual void DropQueuedWakes() = 0;
    };

    // The guard owns its system; Start names the window.
    CWatchGuard(const CWatchList& watchList, View& view, std::unique_ptr<System> system);
    CWatchGuard(const CWatchGuard&) = delete;
    CWatchGuard& operator=(const CWatchGuard&) = delete;
    ~CWatchGuard();

    // The window that takes the timers and the hooks' wakes.
    void Start(HWND hWnd);
    // Reads when to keep awake (the working hours, the battery floor, the
    // lock) anew; the next cycle applies it.
    void ReloadOptions();
    // What an administrator's policy allows from now on: a hold it forbids
    // ends, one longer than it allows is cut, a blackout it forbids goes.
    void ApplyPolicy(const AdminPolicy& policy);
    const AdminPolicy& GetPolicy() const { return m_policy; }
    // A change of the session (WM_WTSSESSION_CHANGE's code): lock and unlock.
    void OnSessionChange(WPARAM nEvent);
    // Posted to that window when the process a hold is bound to ends, with
    // its id as wParam: hand it to OnHoldProcessEnded.
    static UINT HoldProcessEndedMessage();
    // Posted to it by a later start with a hold to start or stop
    // (EncodeKeepAwake): hand it to StartHold.
    static UINT KeepAwakeMessage();
    // void OnTimer(UINT_PTR nIDEvent): the countdown clock, the end of a burst
    // of foreground changes, or a watch cycle
    void OnTimer(UINT_PTR nIDEvent);
    // A cycle takes a fresh process listing; one for a change of the
    // foreground keeps what the last one learnt of the running processes.
    enum class Listing { Fresh, Kept };
    void RunCycle(Listing listing = Listing::Fresh);
    // The foreground window changed: what depends on it is decided anew
    // once the burst of changes has settled.
    void OnForegroundChanged();
    // Input seen by the hooks during a countdown or a blackout.
    void OnWake();
    // Starts or stops a hold as asked, and applies it at once. A hold bound to
    // a process that does not run, and one the policy forbids, is refused:
    // false.
    bool StartHold(const KeepAwakeRequest& request,
                   HoldSource source = HoldSource::CommandLine);
    // The hotkey: stops the hold that runs, or starts the one last chosen
    // in the menus (until stopped before any was).
    void ToggleHold();
    // The window's start: the hold asked for on its command line, which
    // replaces the saved one, or else the hold saved at the last run, unless
    // its end has passed.
    void TakeUpHold(const KeepAwakeRequest& startup);
    // The process a hold is bound to has ended.
    void OnHoldProcessEnded(DWORD dwProcessId);
    // Whether holds keep the computer alone; a running hold changes at once.
    void ChooseComputerOnly(bool bComputerOnly);
    bool IsComputerOnlyChosen() const { return m_bComputerOnly; }
    // The running hold's minutes: 0 for none, kKeepAwakeUntilStopped,
    // kKeepAwakeWhileProcess, kKeepAwakeUntilTime.
    int GetHoldMinutes() const { return m_hold.bOn ? m_nHoldMinutes : 0; }
    // The minute of the day a hold until a time ends at.
    int GetUntilMinute() const { return m_hold.nUntilMinute; }
    const KeepAwakeOptions& GetOptions() const { return m_options; }
    // The hooks go until the next cycle puts them back: an item was deleted,
    // or the user's session ends.
    void RemoveHooks();
    // The window is going: nothing is held any more.
    void Stop();

private:
    void Apply(const WatchCycleActions& actions, const CString& strDisplayReason,
               const CString& strSystemReason);
    // Asks the power manager only for what differs from what it holds.
    void HoldPower(CPowerRequests::Kind kind, bool bHold, const CString& strReason);
    // What a hold is called where the power manager names who asks.
    CString HoldReason() const;
    void HoldChanged();
    // Whether the policy lets a hold of the computer alone, or any, start.
    bool PolicyAllowsHold(bool bComputerOnly) const;
    // The hold held to the policy's longest, from now.
    void CapHold();
    void NotifyHold(Notice::Kind kind, const KeepAwakeHold& hold, int nHoldMinutes);
    // Every change of the hold is saved at once: a program ended at the
    // shutdown without its window's exit keeps it too.
    void SaveHoldNow();
    void OnCountdownTick();
    Display DisplayFor(const WatchCycleActions& actions, const RuleOutcome& outcome,
                       const HoursNow& hours, const RuleFacts& rules, ULONGLONG ullNow) const;

    const CWatchList& m_watchList;
    View& m_view;
    std::unique_ptr<System> m_system;

    bool m_bCounting = false;
    bool m_bBlackShown = false;
    int m_nSecondsLeft = 0;
    int m_nActiveAreaMode = 0;
    KeepAwakeHold m_hold;
    int m_nHoldMinutes = 0;
    KeepAwakeRequest m_lastChoice;
    // The battery's pause as the last cycle found it (none before the first),
    // so that only a change is told.
    bool m_bPauseKnown = false;
    Pause m_pause = Pause::None;
    bool m_bComputerOnly = false;
    // What the settings file holds, as far as known, so that a change that
    // leaves the saved hold as it is writes nothing.
    bool m_bSavedKnown = false;
    SavedHold m_saved;
    KeepAwakeOptions m_options;
    AdminPolicy m_policy;
    bool m_bLocked = false;
    // What the cycles have put in place, so that a cycle that changes
    // nothing touches nothing: the suppression flags (-1: unknown) and what
    // the window shows.
    int m_nFlagsInPlace = -1;
    struct PowerInPlace {
        bool bKnown = false;
        bool bHeld = false;
        CString strReason;
    } m_powerInPlace[CPowerRequests::kKinds];
    bool m_bShown = false;
    Display m_shown;
    CForegroundBurst m_foregroundBurst;
};
