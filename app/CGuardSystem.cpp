#include "CGuardSystem.h"

#include "AreaBlackDecision.h"
#include "CProfileFile.h"
#include "ProfileSave.h"
#include "SavedHold.h"
#include "TessikDLL.h"
#include "WakeQueue.h"

namespace {

using WTSRegisterSessionNotificationFn = BOOL(WINAPI*)(HWND, DWORD);
using WTSUnRegisterSessionNotificationFn = BOOL(WINAPI*)(HWND);
const DWORD kNotifyForThisSession = 0;

// Bound by name when first needed, as the process calls are: the program
// imports nothing beyond the system's core libraries.
template <typename Fn> Fn BindSessionCall(const char* pszName) {
    static const HMODULE s_hModule = LoadLibraryA("wtsapi32.dll");
    return s_hModule ? reinterpret_cast<Fn>(
                           reinterpret_cast<void (*)()>(GetProcAddress(s_hModule, pszName)))
                     : nullptr;
}

// The rectangle of the foreground window that stays visible.
RECT ActiveArea(int nActiveAreaMode) {
    RECT rc = {};
    HWND hForeground = ::GetForegroundWindow();
    switch (ActiveAreaKindFor(nActiveAreaMode, hForeground != nullptr)) {
    case ActiveAreaKind::WindowRect:
        ::GetWindowRect(hForeground, &rc);
        break;
    case ActiveAreaKind::ClientRect: {
        ::GetClientRect(hForeground, &rc);
        POINT origin = {0, 0};
        ::ClientToScreen(hForeground, &origin);
        OffsetRect(&rc, origin.x, origin.y);
        break;
    }
    case ActiveAreaKind::None:
        break;
    }
    return rc;
}

} // namespace

CGuardSystem::CGuardSystem(const CWatchList& watchList, CProfileFile& settings)
    : m_settings(settings), m_evaluator(watchList) {}

CGuardSystem::~CGuardSystem() {
    EndHoldProcessWait();
    if (m_bSessionNotified) {
        if (auto pUnregister = BindSessionCall<WTSUnRegisterSessionNotificationFn>(
                "WTSUnRegisterSessionNotification")) {
            pUnregister(m_hWnd);
        }
    }
}

void CGuardSystem::Attach(HWND hWnd) {
    m_hWnd = hWnd;
    if (auto pRegister =
            BindSessionCall<WTSRegisterSessionNotificationFn>("WTSRegisterSessionNotification")) {
        m_bSessionNotified = pRegister(hWnd, kNotifyForThisSession) != FALSE;
    }
}

ULONGLONG CGuardSystem::Now() {
    return GetTickCount64();
}

SYSTEMTIME CGuardSystem::LocalTime() {
    SYSTEMTIME local;
    GetLocalTime(&local);
    return local;
}

ULONGLONG CGuardSystem::UtcNow() {
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    return (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

PowerSource CGuardSystem::ReadPowerSource() {
    PowerSource power;
    SYSTEM_POWER_STATUS status;
    if (!GetSystemPowerStatus(&status)) {
        return power;
    }
    // 0 is off the line; 1 on it, 255 unknown: either way no battery to spare.
    power.bOnBattery = status.ACLineStatus == 0;
    power.nPercent = status.BatteryLifePercent <= 100 ? status.BatteryLifePercent : -1;
    return power;
}

KeepAwakeOptions CGuardSystem::ReadKeepAwakeOptions() {
    return ::ReadKeepAwakeOptions(m_settings);
}

int CGuardSystem::FindFirstInEffect(BYTE* pForeground) {
    return m_evaluator.FindFirstInEffect(pForeground);
}

int CGuardSystem::FindNextInEffect() {
    return m_evaluator.FindNextInEffect();
}

int CGuardSystem::FindFirstInEffectInForeground(BYTE* pForeground) {
    return m_evaluator.FindFirstInEffectInForeground(pForeground);
}

void CGuardSystem::WatchForeground(bool bWatch) {
    // One the system refused is asked for again by the next cycle.
    if (bWatch && !m_foregroundWatch.IsWatching()) {
        m_foregroundWatch.Start(m_hWnd);
    } else if (!bWatch && m_foregroundWatch.IsWatching()) {
        m_foregroundWatch.Stop();
    }
}

void CGuardSystem::SetForegroundTimer(bool bRunning) {
    if (bRunning) {
        ::SetTimer(m_hWnd, CWatchGuard::kForegroundTimer, CWatchGuard::kForegroundSettleMs,
                   nullptr);
    } else {
        ::KillTimer(m_hWnd, CWatchGuard::kForegroundTimer);
    }
}

void CGuardSystem::ReadBlackoutDefaults(int& nWaitTime, int& nIdentify) {
    nWaitTime = m_settings.GetInt("AreaBlack", "WaitTime", 60);
    nIdentify = m_settings.GetInt("AreaBlack", "Identify", 0);
}

SavedHold CGuardSystem::ReadSavedHold() {
    return ::ReadSavedHold(m_settings);
}

bool CGuardSystem::SaveHold(const SavedHold& hold) {
    if (SaveProfileInOneStep(m_settings.GetPath(), 0, [&hold](CProfileText& text) {
            WriteSavedHold(text, hold);
            return true;
        })) {
        return true;
    }
    PostMessageA(m_hWnd, HoldSaveFailedMessage(), GetLastError(), 0);
    return false;
}

UINT CGuardSystem::HoldSaveFailedMessage() {
    static const UINT s_uMessage = RegisterWindowMessageA("Qorvane.HoldSaveFailed");
    return s_uMessage;
}

void CGuardSystem::InstallHooks() {
    m_hookThread.Install(m_hWnd);
}

void CGuardSystem::RemoveHooks() {
    m_hookThread.Uninstall();
}

bool CGuardSystem::AreHooksInstalled() {
    return m_hookThread.IsInstalled();
}

bool CGuardSystem::AreHooksRequested() {
    return m_hookThread.IsRequested();
}

void CGuardSystem::SetMonitorEffect(bool bPreventSaver, bool bPreventPowerOff) {
    ::SetMonitorEffect(bPreventSaver, bPreventPowerOff);
}

void CGuardSystem::SetAreaBlackStatus(int bBlackShown, int bCounting) {
    ::SetAreaBlackStatus(bBlackShown, bCounting);
}

bool CGuardSystem::HoldPower(CPowerRequests::Kind kind, bool bHold, const CString& strReason) {
    // The power manager takes the reason in UTF-16.
    std::wstring reason(static_cast<size_t>(strReason.GetLength()) + 1, L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, strReason, strReason.GetLength(), &reason[0],
                                      static_cast<int>(reason.size()));
    reason.resize(static_cast<size_t>(n > 0 ? n : 0));
    m_powerRequests.Hold(kind, bHold, reason);
    return m_powerRequests.IsHeld(kind) == bHold;
}

bool CGuardSystem::WatchHoldProcess(DWORD dwProcessId) {
    if (dwProcessId == 0) {
        EndHoldProcessWait();
        return true;
    }
    HANDLE hProcess = OpenProcess(SYNCHRONIZE, FALSE, dwProcessId);
    if (!hProcess) {
        return false;
    }
    // The wait carries what it reports: a process that has ended already, or
    // ends while the wait is registered, is reported at once, by its own id.
    auto pContext = std::make_unique<HoldWait>(HoldWait{m_hWnd, dwProcessId});
    HANDLE hWait = nullptr;
    // A thread of the system's pool waits, so the end is seen at once and not
    // at the next cycle; it only posts to the window, which ends the hold.
    if (!RegisterWaitForSingleObject(&hWait, hProcess, OnHoldProcessEnded, pContext.get(), INFINITE,
                                     WT_EXECUTEONLYONCE)) {
        CloseHandle(hProcess);
        return false;
    }
    EndHoldProcessWait();
    m_hHoldProcess = hProcess;
    m_hHoldWait = hWait;
    m_pHoldWait = std::move(pContext);
    return true;
}

void CALLBACK CGuardSystem::OnHoldProcessEnded(void* pContext, BOOLEAN) {
    const HoldWait* pWait = static_cast<const HoldWait*>(pContext);
    PostMessageA(pWait->hWnd, CWatchGuard::HoldProcessEndedMessage(), pWait->dwProcessId, 0);
}

void CGuardSystem::EndHoldProcessWait() {
    if (m_hHoldWait) {
        // Waits for a callback that is running: it reads the context.
        UnregisterWaitEx(m_hHoldWait, INVALID_HANDLE_VALUE);
        m_hHoldWait = nullptr;
    }
    if (m_hHoldProcess) {
        CloseHandle(m_hHoldProcess);
        m_hHoldProcess = nullptr;
    }
    m_pHoldWait.reset();
}

void CGuardSystem::SetCountdownTimer(bool bRunning) {
    if (bRunning) {
        ::SetTimer(m_hWnd, CWatchGuard::kCountdownTimer, CWatchGuard::kCountdownMs, nullptr);
    } else {
        ::KillTimer(m_hWnd, CWatchGuard::kCountdownTimer);
    }
}

bool CGuardSystem::ShowBlackWindow(int nActiveAreaMode) {
    if (!m_blackWnd.Show(ActiveArea(nActiveAreaMode))) {
        return false;
    }
    // The class has no cursor, so the pointer stays hidden over the black area.
    ::SetCursor(nullptr);
    return true;
}

void CGuardSystem::HideBlackWindow() {
    m_blackWnd.DestroyWindow();
}

void CGuardSystem::DropQueuedWakes() {
    DrainQueuedWakes(m_hWnd);
}
