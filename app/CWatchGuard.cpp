#include "CWatchGuard.h"

#include "AreaBlackDecision.h"
#include "AfxText.h"
#include "CPathName.h"
#include "CWatchList.h"
#include "KeepAwakeOptions.h"
#include "ProcessPath.h"
#include "WatchEvaluation.h"
#include "resource.h"

namespace {

const char kReasonPrefix[] = "Qorvane: ";

CString AliasOf(const CWatchItem& item) {
    // The file name alone: CPathName holds MAX_PATH characters, a path may be longer.
    return item.m_strTitle.IsEmpty()
               ? CString(CPathName(FileNamePart(item.m_strFileName)).GetTitle())
               : item.m_strTitle;
}

// "Qorvane: first, second...": the program and everyone that asks.
void AddHolder(CString& strReason, const CString& strName) {
    strReason += strReason.IsEmpty() ? kReasonPrefix : ", ";
    strReason += strName;
}

CString LoadText(UINT nID) {
    CString strText;
    strText.LoadString(nID);
    return strText;
}

CString FormatNumber(UINT nFormatID, unsigned long nValue) {
    CString strNumber, strText;
    strNumber.Format("%lu", nValue);
    AfxFormatString1(strText, nFormatID, strNumber);
    return strText;
}

} // namespace

CWatchGuard::CWatchGuard(const CWatchList& watchList, View& view, std::unique_ptr<System> system)
    : m_watchList(watchList), m_view(view), m_system(std::move(system)) {}

CWatchGuard::~CWatchGuard() = default;

void CWatchGuard::Start(HWND hWnd) {
    m_system->Attach(hWnd);
}

void CWatchGuard::ReloadOptions() {
    m_options = m_system->ReadKeepAwakeOptions();
}

void CWatchGuard::ApplyPolicy(const AdminPolicy& policy) {
    m_policy = policy;
    if (m_policy.bDisableComputerAwake) {
        m_bComputerOnly = false;
    }
    if (m_hold.bOn && !PolicyAllowsHold(m_hold.bComputerOnly)) {
        const KeepAwakeHold ended = m_hold;
        const int nEndedMinutes = m_nHoldMinutes;
        StartHold(KeepAwakeRequest{KeepAwakeRequest::Stop});
        NotifyHold(Notice::Forbidden, ended, nEndedMinutes);
    } else if (m_hold.bOn) {
        CapHold();
        HoldChanged();
    } else {
        m_view.ShowHold(0, m_bComputerOnly);
    }
    // Nothing else ends a blackout that is up; the input that would is
    // still to come.
    if (m_bBlackShown && m_policy.bDisableAreaBlackout) {
        OnWake();
        return;
    }
    RunCycle();
}

bool CWatchGuard::PolicyAllowsHold(bool bComputerOnly) const {
    return !m_policy.bDisableKeepAwake && !(bComputerOnly && m_policy.bDisableComputerAwake);
}

void CWatchGuard::CapHold() {
    m_hold = CapKeepAwake(m_hold, m_policy.nMaxHoldMinutes, m_system->Now(), m_system->LocalTime(),
                          &m_nHoldMinutes);
}

void CWatchGuard::OnSessionChange(WPARAM nEvent) {
    if (nEvent != WTS_SESSION_LOCK && nEvent != WTS_SESSION_UNLOCK) {
        return;
    }
    m_bLocked = nEvent == WTS_SESSION_LOCK;
    // "Keep awake until I lock it": watch items and the working hours are no
    // holds and go on.
    if (m_bLocked && m_options.bEndOnLock && m_hold.bOn) {
        StartHold(KeepAwakeRequest{KeepAwakeRequest::Stop});
        return;
    }
    RunCycle();
}

UINT CWatchGuard::HoldProcessEndedMessage() {
    static const UINT s_uMessage = RegisterWindowMessageA("Qorvane.HoldProcessEnded");
    return s_uMessage;
}

UINT CWatchGuard::KeepAwakeMessage() {
    static const UINT s_uMessage = RegisterWindowMessageA("Qorvane.KeepAwake");
    return s_uMessage;
}

void CWatchGuard::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kCountdownTimer) {
        OnCountdownTick();
    } else if (nIDEvent == kForegroundTimer) {
        m_system->SetForegroundTimer(false);
        if (m_foregroundBurst.OnTimer()) {
            RunCycle(Listing::Kept);
        }
    } else {
        RunCycle();
    }
}

void CWatchGuard::OnForegroundChanged() {
    if (m_foregroundBurst.OnChange()) {
        m_system->SetForegroundTimer(true);
    }
}

void CWatchGuard::RunCycle(Listing listing) {
    // While the black window is up nothing changes until the next input.
    if (m_bBlackShown) {
        return;
    }
    const ULONGLONG ullNow = m_system->Now();
    // Read at every cycle: a change of the clock, the time zone or daylight
    // saving time, and a wake from sleep, count at the next one.
    const SYSTEMTIME local = m_system->LocalTime();
    const KeepAwakeHold before = m_hold;
    const int nMinutesBefore = m_nHoldMinutes;
    m_hold = AgeKeepAwake(m_hold, ullNow, local);
    if (before.bOn && !m_hold.bOn) {
        // A process's hold that the policy's longest ended waits no more.
        if (before.dwProcessId != 0) {
            m_system->WatchHoldProcess(0);
        }
        HoldChanged();
        NotifyHold(Notice::TimeUp, before, nMinutesBefore);
    }
    // The reasons: the items in effect, the hold, the working hours.
    std::vector<Reason> reasons;
    BYTE bForeground = 0;
    const int nFirstInEffect = listing == Listing::Fresh
                                   ? m_system->FindFirstInEffect(&bForeground)
                                   : m_system->FindFirstInEffectInForeground(&bForeground);
    if (listing == Listing::Fresh) {
        m_system->WatchForeground(HasForegroundItem(m_watchList));
    }
    for (int k = nFirstInEffect; k != -1; k = m_system->FindNextInEffect()) {
        const CWatchItem& item = *m_watchList.GetAt(k);
        reasons.push_back({ReasonKind::WatchItem,
                           KeepsOfItem(item.m_nMonitorEffec, item.m_nKeepSystemAwake),
                           AliasOf(item)});
    }
    if (m_hold.bOn) {
        reasons.push_back({ReasonKind::Hold, KeepsOfHold(m_hold.bComputerOnly), HoldReason()});
    }
    const HoursNow hours = WorkingHoursAt(m_options.hours, local);
    if (hours.bIn) {
        reasons.push_back({ReasonKind::WorkingHours, KeepsOfHold(m_options.hours.bComputerOnly),
                           LoadText(IDS_REASON_WORKING_HOURS)});
    }
    // The rules: the battery, the lock.
    RuleFacts rules;
    rules.power = m_system->ReadPowerSource();
    rules.nBatteryFloor = m_options.nBatteryFloor;
    rules.bLocked = m_bLocked;
    rules.policy.bNoKeepAwake = m_policy.bDisableKeepAwake;
    rules.policy.bNoComputerAwake = m_policy.bDisableComputerAwake;
    rules.policy.bNoBlackout = m_policy.bDisableAreaBlackout;
    const RuleOutcome outcome = ApplyRules(reasons, rules);
    // A pause that ends because nothing asks any more is no news.
    if (m_bPauseKnown && outcome.pause != m_pause &&
        (outcome.pause == Pause::Battery || !outcome.counted.empty())) {
        Notice notice;
        notice.kind = outcome.pause == Pause::Battery ? Notice::Paused : Notice::Resumed;
        notice.nBatteryPercent = rules.power.nPercent;
        notice.nBatteryFloor = rules.nBatteryFloor;
        m_view.Notify(notice);
    }
    m_bPauseKnown = true;
    m_pause = outcome.pause;

    WatchCycleFacts facts;
    facts.keeps = outcome.keeps;
    facts.bCounting = m_bCounting;
    // Only a watched program that still counts for the screen arms a
    // blackout: not while the battery pauses everything, nor behind the lock.
    if (nFirstInEffect >= 0 && outcome.Counts(ReasonKind::WatchItem, true) &&
        outcome.bBlackoutAllowed) {
        const CWatchItem& first = *m_watchList.GetAt(nFirstInEffect);
        facts.nFirstInEffect = nFirstInEffect;
        facts.bFirstInForeground = bForeground != 0;
        facts.nAreaBlack = first.m_nAreaBlack;
        int nDefaultWait = 60, nDefaultIdentify = 0;
        if (NeedsBlackoutDefaults(facts.nFirstInEffect, facts.bFirstInForeground,
                                  facts.nAreaBlack)) {
            m_system->ReadBlackoutDefaults(nDefaultWait, nDefaultIdentify);
        }
        facts.blackout = ResolveBlackout(first.m_nAreaBlack, first.m_nWaitTime, first.m_nIdentify,
                                         nDefaultWait, nDefaultIdentify);
    }
    const WatchCycleActions actions = DecideWatchCycle(facts);
    // The window, the taskbar and the shell hear of it only when it changes.
    const Display display = DisplayFor(actions, outcome, hours, rules, ullNow);
    if (!m_bShown || !(display == m_shown)) {
        m_shown = display;
        m_bShown = true;
        m_view.ShowGuard(display);
    }
    // Who asks for the display and for the computer: the power manager names them.
    CString strDisplayReason, strSystemReason;
    for (const Reason& reason : outcome.counted) {
        if (reason.keeps.bDisplay) {
            AddHolder(strDisplayReason, reason.strName);
        }
        if (reason.keeps.bDisplay || reason.keeps.bSystem) {
            AddHolder(strSystemReason, reason.strName);
        }
    }
    Apply(actions, strDisplayReason, strSystemReason);
}

CString CWatchGuard::HoldReason() const {
    const bool bComputer = m_hold.bComputerOnly;
    if (m_hold.dwProcessId != 0) {
        return FormatNumber(bComputer ? IDS_TIP_COMPUTER_WHILE_PROCESS : IDS_TIP_WHILE_PROCESS,
                            m_hold.dwProcessId);
    }
    if (m_hold.bUntil) {
        CString strText;
        AfxFormatString1(strText, bComputer ? IDS_TIP_COMPUTER_UNTIL_TIME : IDS_TIP_UNTIL_TIME,
                         FormatTimeOfDay(m_hold.nUntilMinute));
        return strText;
    }
    if (m_hold.bTimed) {
        return FormatNumber(bComputer ? IDS_REASON_COMPUTER_TIMED : IDS_REASON_HOLD_TIMED,
                            static_cast<unsigned long>(m_nHoldMinutes));
    }
    CString strText;
    strText.LoadString(bComputer ? IDS_TIP_COMPUTER_UNTIL_STOPPED : IDS_TIP_UNTIL_STOPPED);
    return strText;
}

CWatchGuard::Display CWatchGuard::DisplayFor(const WatchCycleActions& actions,
                                             const RuleOutcome& outcome, const HoursNow& hours,
                                             const RuleFacts& rules, ULONGLONG ullNow) const {
    Display display;
    display.bGuarding = actions.bGuarding;
    display.bScreen = actions.bNeedHooks;
    display.bPaused = outcome.pause == Pause::Battery;
    if (display.bPaused) {
        display.nBatteryPercent = rules.power.nPercent;
        display.nBatteryFloor = rules.nBatteryFloor;
    }
    const bool bHold = outcome.Counts(ReasonKind::Hold);
    // A hold does not hide what the watched programs keep awake as well.
    for (const Reason& reason : outcome.counted) {
        if (reason.kind == ReasonKind::WatchItem) {
            display.strAlias += display.strAlias.IsEmpty() ? "" : ", ";
            display.strAlias += reason.strName;
        }
    }
    display.detail = DecideTipDetail(bHold ? m_hold : KeepAwakeHold(), !display.strAlias.IsEmpty());
    display.bComputerOnly = bHold && m_hold.bComputerOnly;
    if (outcome.Counts(ReasonKind::WorkingHours)) {
        display.bHours = true;
        display.nHoursEnd = hours.nEnd;
        display.bHoursComputerOnly = m_options.hours.bComputerOnly;
    }
    switch (display.detail) {
    case TipDetail::MinutesLeft:
        display.nMinutesLeft = KeepAwakeMinutesLeft(m_hold, ullNow);
        break;
    case TipDetail::WhileProcess:
        display.dwProcessId = m_hold.dwProcessId;
        break;
    case TipDetail::UntilTime:
        display.nUntilMinute = m_hold.nUntilMinute;
        break;
    case TipDetail::WatchedAlias:
    case TipDetail::UntilStopped:
    case TipDetail::None:
        break;
    }
    return display;
}

void CWatchGuard::Apply(const WatchCycleActions& actions, const CString& strDisplayReason,
                        const CString& strSystemReason) {
    if (actions.bSetActiveAreaMode) {
        m_nActiveAreaMode = actions.nActiveAreaMode;
    }
    if (actions.bArmCountdown) {
        m_nSecondsLeft = actions.nSecondsLeft;
        m_bCounting = true;
        m_system->SetCountdownTimer(true);
        const AreaBlackHookStatus counting = HookStatusIn(AreaBlackState::Counting);
        m_system->SetAreaBlackStatus(counting.bBlackShown, counting.bCounting);
    }
    // Every way a countdown ends tells the hooks so: with none running there
    // is nothing to stop.
    if (actions.bStopCountdown && m_bCounting) {
        m_bCounting = false;
        const AreaBlackHookStatus idle = HookStatusIn(AreaBlackState::Idle);
        m_system->SetAreaBlackStatus(idle.bBlackShown, idle.bCounting);
        m_system->SetCountdownTimer(false);
    }
    if (actions.bNeedHooks) {
        if (!m_system->AreHooksInstalled()) {
            // One that did not take (a full session table) is asked for
            // again by the next cycle.
            m_system->InstallHooks();
        }
        const int nFlags = (actions.bPreventSaver ? 1 : 0) | (actions.bPreventPowerOff ? 2 : 0);
        if (nFlags != m_nFlagsInPlace) {
            m_system->SetMonitorEffect(actions.bPreventSaver, actions.bPreventPowerOff);
            m_nFlagsInPlace = nFlags;
        }
    } else if (m_system->AreHooksRequested()) {
        RemoveHooks();
    }
    HoldPower(CPowerRequests::kDisplay, actions.bHoldDisplayOn, strDisplayReason);
    HoldPower(CPowerRequests::kSystem, actions.bHoldSystemAwake, strSystemReason);
}

void CWatchGuard::HoldPower(CPowerRequests::Kind kind, bool bHold, const CString& strReason) {
    PowerInPlace& inPlace = m_powerInPlace[kind];
    const CString strAsked = bHold ? strReason : CString();
    if (inPlace.bKnown && inPlace.bHeld == bHold && inPlace.strReason == strAsked) {
        return;
    }
    // One the power manager refused is asked for again by the next cycle.
    inPlace.bKnown = m_system->HoldPower(kind, bHold, strAsked);
    inPlace.bHeld = bHold;
    inPlace.strReason = strAsked;
}

void CWatchGuard::RemoveHooks() {
    m_system->RemoveHooks();
    m_nFlagsInPlace = -1;
}

void CWatchGuard::OnCountdownTick() {
    const AreaBlackTickActions tick =
        DecideAreaBlackTick(m_bCounting, m_bBlackShown, m_nSecondsLeft);
    m_nSecondsLeft = tick.nSecondsLeft;
    if (tick.bKillTimer) {
        m_system->SetCountdownTimer(false);
    }
    if (tick.bClearCounting) {
        m_bCounting = false;
    }
    if (tick.bTellHooks) {
        m_system->SetAreaBlackStatus(tick.hooks.bBlackShown, tick.hooks.bCounting);
    }
    if (!tick.bShowBlackout) {
        return;
    }
    // Only the hooks see the input that ends a blackout: without them (a full
    // session table, a failed install, hooks removed at a session's end that
    // did not come) the screen would stay black. The countdown ends instead;
    // the next cycle installs the hooks and arms it again.
    if (!m_system->AreHooksInstalled()) {
        m_bCounting = false;
        const AreaBlackHookStatus idle = HookStatusIn(AreaBlackState::Idle);
        m_system->SetAreaBlackStatus(idle.bBlackShown, idle.bCounting);
        m_system->SetCountdownTimer(false);
        return;
    }
    // Input is not reported while the window comes up, nor during the retries
    // while it cannot be created: the countdown stays armed with no seconds left.
    const AreaBlackHookStatus quiet = HookStatusIn(AreaBlackState::Appearing);
    m_system->SetAreaBlackStatus(quiet.bBlackShown, quiet.bCounting);
    if (m_system->ShowBlackWindow(m_nActiveAreaMode)) {
        m_bBlackShown = true;
    }
}

void CWatchGuard::OnWake() {
    const AreaBlackHookStatus idle = HookStatusIn(AreaBlackState::Idle);
    m_system->SetAreaBlackStatus(idle.bBlackShown, idle.bCounting);
    m_bBlackShown = false;
    m_bCounting = false;
    m_system->SetCountdownTimer(false);
    m_system->HideBlackWindow();
    // A moving mouse queues a wake per move; they would each run the cycle
    // again with a fresh process snapshot. Taken only now, in the idle state
    // with the hooks quiet, so nothing that runs during the removal can meet
    // a half-reset blackout.
    m_system->DropQueuedWakes();
    RunCycle();
}

bool CWatchGuard::StartHold(const KeepAwakeRequest& request, HoldSource source) {
    KeepAwakeHold hold;
    int nMinutes = 0;
    switch (request.kind) {
    case KeepAwakeRequest::Start:
        if (!PolicyAllowsHold(request.bComputerOnly)) {
            return false;
        }
        if (request.dwProcessId != 0) {
            if (!m_system->WatchHoldProcess(request.dwProcessId)) {
                return false;
            }
            hold = StartKeepAwakeWhile(request.dwProcessId, request.bComputerOnly);
            nMinutes = kKeepAwakeWhileProcess;
        } else if (request.nUntilMinute >= 0) {
            hold = StartKeepAwakeUntil(request.nUntilMinute, m_system->LocalTime(),
                                       request.bComputerOnly);
            nMinutes = kKeepAwakeUntilTime;
        } else {
            hold = StartKeepAwake(request.nMinutes, m_system->Now(), request.bComputerOnly);
            nMinutes = request.nMinutes;
        }
        m_bComputerOnly = request.bComputerOnly;
        break;
    case KeepAwakeRequest::Stop:
        break;
    case KeepAwakeRequest::None:
    case KeepAwakeRequest::Invalid:
        return false;
    }
    if (m_hold.dwProcessId != 0 && hold.dwProcessId == 0) {
        m_system->WatchHoldProcess(0);
    }
    const bool bWasHolding = m_hold.bOn;
    m_hold = hold;
    m_nHoldMinutes = hold.bOn ? nMinutes : 0;
    CapHold();
    if (source == HoldSource::Menu && hold.bOn && hold.dwProcessId == 0) {
        m_lastChoice = request;
    }
    HoldChanged();
    RunCycle();
    if (source != HoldSource::CommandLine && (hold.bOn || bWasHolding)) {
        NotifyHold(hold.bOn ? Notice::Started : Notice::Stopped, m_hold, m_nHoldMinutes);
    }
    return true;
}

void CWatchGuard::ToggleHold() {
    StartHold(ToggleKeepAwake(m_hold.bOn, m_lastChoice, m_bComputerOnly), HoldSource::Hotkey);
}

void CWatchGuard::NotifyHold(Notice::Kind kind, const KeepAwakeHold& hold, int nHoldMinutes) {
    Notice notice;
    notice.kind = kind;
    notice.hold = hold;
    notice.nHoldMinutes = nHoldMinutes;
    m_view.Notify(notice);
}

void CWatchGuard::TakeUpHold(const KeepAwakeRequest& startup) {
    m_saved = m_system->ReadSavedHold();
    m_bSavedKnown = true;
    if (startup.kind != KeepAwakeRequest::None) {
        // Refused, it still replaces the saved hold: the user asked for another.
        if (!StartHold(startup)) {
            SaveHoldNow();
        }
        return;
    }
    int nMinutes = 0;
    m_hold = ResumeKeepAwake(m_saved, m_system->Now(), m_system->UtcNow(), m_system->LocalTime(),
                             &nMinutes);
    m_nHoldMinutes = nMinutes;
    if (m_hold.bOn && !PolicyAllowsHold(m_hold.bComputerOnly)) {
        m_hold = KeepAwakeHold();
        m_nHoldMinutes = 0;
    }
    CapHold();
    // Without a hold the first cycle comes with the timer, as it always has.
    if (!m_hold.bOn) {
        // One whose end has passed meanwhile leaves the file.
        SaveHoldNow();
        return;
    }
    m_bComputerOnly = m_hold.bComputerOnly;
    HoldChanged();
    RunCycle();
}

void CWatchGuard::OnHoldProcessEnded(DWORD dwProcessId) {
    // A wait that ended as another hold took over is no news.
    if (!m_hold.bOn || m_hold.dwProcessId != dwProcessId) {
        return;
    }
    m_system->WatchHoldProcess(0);
    const KeepAwakeHold ended = m_hold;
    m_hold = KeepAwakeHold();
    m_nHoldMinutes = 0;
    HoldChanged();
    RunCycle();
    NotifyHold(Notice::ProcessEnded, ended, kKeepAwakeWhileProcess);
}

void CWatchGuard::ChooseComputerOnly(bool bComputerOnly) {
    // Greyed in the menus; a command that comes by other ways changes nothing.
    if (bComputerOnly && m_policy.bDisableComputerAwake) {
        return;
    }
    m_bComputerOnly = bComputerOnly;
    if (m_hold.bOn) {
        m_hold.bComputerOnly = bComputerOnly;
    }
    HoldChanged();
    RunCycle();
}

void CWatchGuard::HoldChanged() {
    m_view.ShowHold(GetHoldMinutes(), m_bComputerOnly);
    SaveHoldNow();
}

void CWatchGuard::SaveHoldNow() {
    const SavedHold saved =
        SaveKeepAwake(m_hold, m_nHoldMinutes, m_system->Now(), m_system->UtcNow());
    if (m_bSavedKnown && saved == m_saved) {
        return;
    }
    // One that failed is tried again at the next change.
    if (m_system->SaveHold(saved)) {
        m_saved = saved;
        m_bSavedKnown = true;
    }
}

void CWatchGuard::Stop() {
    HoldPower(CPowerRequests::kDisplay, false, CString());
    HoldPower(CPowerRequests::kSystem, false, CString());
    m_system->WatchHoldProcess(0);
}
