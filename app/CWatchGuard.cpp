#include "CWatchGuard.h"

#include "AreaBlackDecision.h"
#include "CGuardSystem.h"
#include "CPathName.h"
#include "CWatchList.h"

CWatchGuard::CWatchGuard(const CWatchList& watchList, CProfileFile& settings, View& view)
    : m_watchList(watchList), m_view(view), m_ownSystem(new CGuardSystem(watchList, settings)),
      m_system(*m_ownSystem) {}

CWatchGuard::CWatchGuard(const CWatchList& watchList, View& view, System& system)
    : m_watchList(watchList), m_view(view), m_system(system) {}

CWatchGuard::~CWatchGuard() = default;

void CWatchGuard::Start(HWND hWnd) {
    if (m_ownSystem) {
        m_ownSystem->SetWindow(hWnd);
    }
}

void CWatchGuard::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kCountdownTimer) {
        OnCountdownTick();
    } else {
        RunCycle();
    }
}

void CWatchGuard::RunCycle() {
    // While the black window is up nothing changes until the next input.
    if (m_bBlackShown) {
        return;
    }
    const ULONGLONG ullNow = m_system.Now();
    const bool bWasHolding = m_hold.bOn;
    m_hold = AgeKeepAwake(m_hold, ullNow);
    if (bWasHolding && !m_hold.bOn) {
        m_view.ShowHold(0);
    }
    WatchCycleFacts facts;
    facts.bKeepAwake = m_hold.bOn;
    BYTE bForeground = 0;
    facts.nFirstInEffect = m_system.FindFirstInEffect(&bForeground);
    facts.bFirstInForeground = bForeground != 0;
    facts.bCounting = m_bCounting;
    if (facts.nFirstInEffect >= 0) {
        const CWatchItem& first = *m_watchList.GetAt(facts.nFirstInEffect);
        facts.nAreaBlack = first.m_nAreaBlack;
        int nDefaultWait = 60, nDefaultIdentify = 0;
        if (NeedsBlackoutDefaults(facts.nFirstInEffect, facts.bFirstInForeground,
                                  facts.nAreaBlack)) {
            m_system.ReadBlackoutDefaults(nDefaultWait, nDefaultIdentify);
        }
        facts.blackout = ResolveBlackout(first.m_nAreaBlack, first.m_nWaitTime, first.m_nIdentify,
                                         nDefaultWait, nDefaultIdentify);
        for (int k = facts.nFirstInEffect; k != -1; k = m_system.FindNextInEffect()) {
            facts.effects.push_back(m_watchList.GetAt(k)->m_nMonitorEffec);
        }
    }
    const WatchCycleActions actions = DecideWatchCycle(facts);
    // The window, the taskbar and the shell hear of it only when it changes.
    const Display display = DisplayFor(facts.nFirstInEffect, actions.bGuarding, ullNow);
    if (!m_bShown || !(display == m_shown)) {
        m_shown = display;
        m_bShown = true;
        m_view.ShowGuard(display);
    }
    Apply(actions);
}

CWatchGuard::Display CWatchGuard::DisplayFor(int nFirstInEffect, bool bGuarding,
                                             ULONGLONG ullNow) const {
    Display display;
    display.bGuarding = bGuarding;
    display.detail = DecideTipDetail(m_hold, nFirstInEffect >= 0);
    switch (display.detail) {
    case TipDetail::MinutesLeft:
        display.nMinutesLeft = KeepAwakeMinutesLeft(m_hold, ullNow);
        break;
    case TipDetail::WatchedAlias: {
        const CWatchItem& item = *m_watchList.GetAt(nFirstInEffect);
        display.strAlias = item.m_strTitle.IsEmpty()
                               ? CString(CPathName(item.m_strFileName).GetTitle())
                               : item.m_strTitle;
        break;
    }
    case TipDetail::UntilStopped:
    case TipDetail::None:
        break;
    }
    return display;
}

void CWatchGuard::Apply(const WatchCycleActions& actions) {
    if (actions.bSetActiveAreaMode) {
        m_nActiveAreaMode = actions.nActiveAreaMode;
    }
    if (actions.bArmCountdown) {
        m_nSecondsLeft = actions.nSecondsLeft;
        m_bCounting = true;
        m_system.SetCountdownTimer(true);
        const AreaBlackHookStatus counting = HookStatusIn(AreaBlackState::Counting);
        m_system.SetAreaBlackStatus(counting.bBlackShown, counting.bCounting);
    }
    // Every way a countdown ends tells the hooks so: with none running there
    // is nothing to stop.
    if (actions.bStopCountdown && m_bCounting) {
        m_bCounting = false;
        const AreaBlackHookStatus idle = HookStatusIn(AreaBlackState::Idle);
        m_system.SetAreaBlackStatus(idle.bBlackShown, idle.bCounting);
        m_system.SetCountdownTimer(false);
    }
    if (actions.bGuarding) {
        if (!m_system.AreHooksInstalled()) {
            // One that did not take (a full session table) is asked for
            // again by the next cycle.
            m_system.InstallHooks();
        }
        const int nFlags = (actions.bPreventSaver ? 1 : 0) | (actions.bPreventPowerOff ? 2 : 0);
        if (nFlags != m_nFlagsInPlace) {
            m_system.SetMonitorEffect(actions.bPreventSaver, actions.bPreventPowerOff);
            m_nFlagsInPlace = nFlags;
        }
    } else if (m_system.AreHooksRequested()) {
        RemoveHooks();
    }
    m_system.HoldDisplayOn(actions.bHoldDisplayOn);
}

void CWatchGuard::RemoveHooks() {
    m_system.RemoveHooks();
    m_nFlagsInPlace = -1;
}

void CWatchGuard::OnCountdownTick() {
    const AreaBlackTickActions tick =
        DecideAreaBlackTick(m_bCounting, m_bBlackShown, m_nSecondsLeft);
    m_nSecondsLeft = tick.nSecondsLeft;
    if (tick.bKillTimer) {
        m_system.SetCountdownTimer(false);
    }
    if (tick.bClearCounting) {
        m_bCounting = false;
    }
    if (tick.bTellHooks) {
        m_system.SetAreaBlackStatus(tick.hooks.bBlackShown, tick.hooks.bCounting);
    }
    if (!tick.bShowBlackout) {
        return;
    }
    // Only the hooks see the input that ends a blackout: without them (a full
    // session table, a failed install, hooks removed at a session's end that
    // did not come) the screen would stay black. The countdown ends instead;
    // the next cycle installs the hooks and arms it again.
    if (!m_system.AreHooksInstalled()) {
        m_bCounting = false;
        const AreaBlackHookStatus idle = HookStatusIn(AreaBlackState::Idle);
        m_system.SetAreaBlackStatus(idle.bBlackShown, idle.bCounting);
        m_system.SetCountdownTimer(false);
        return;
    }
    // Input is not reported while the window comes up, nor during the retries
    // while it cannot be created: the countdown stays armed with no seconds left.
    const AreaBlackHookStatus quiet = HookStatusIn(AreaBlackState::Appearing);
    m_system.SetAreaBlackStatus(quiet.bBlackShown, quiet.bCounting);
    if (m_system.ShowBlackWindow(m_nActiveAreaMode)) {
        m_bBlackShown = true;
    }
}

void CWatchGuard::OnWake() {
    const AreaBlackHookStatus idle = HookStatusIn(AreaBlackState::Idle);
    m_system.SetAreaBlackStatus(idle.bBlackShown, idle.bCounting);
    m_bBlackShown = false;
    m_bCounting = false;
    m_system.SetCountdownTimer(false);
    m_system.HideBlackWindow();
    // A moving mouse queues a wake per move; they would each run the cycle
    // again with a fresh process snapshot. Taken only now, in the idle state
    // with the hooks quiet, so nothing that runs during the removal can meet
    // a half-reset blackout.
    m_system.DropQueuedWakes();
    RunCycle();
}

void CWatchGuard::StartHold(int nMinutes) {
    m_hold = StartKeepAwake(nMinutes, m_system.Now());
    m_nHoldMinutes = m_hold.bOn ? nMinutes : 0;
    m_view.ShowHold(GetHoldMinutes());
    RunCycle();
}

void CWatchGuard::Stop() {
    m_system.HoldDisplayOn(false);
}
