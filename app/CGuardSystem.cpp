#include "CGuardSystem.h"

#include "AreaBlackDecision.h"
#include "CProfileFile.h"
#include "TessikDLL.h"
#include "WakeQueue.h"

namespace {

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

CGuardSystem::~CGuardSystem() = default;

ULONGLONG CGuardSystem::Now() {
    return GetTickCount64();
}

int CGuardSystem::FindFirstInEffect(BYTE* pForeground) {
    return m_evaluator.FindFirstInEffect(pForeground);
}

int CGuardSystem::FindNextInEffect() {
    return m_evaluator.FindNextInEffect();
}

void CGuardSystem::ReadBlackoutDefaults(int& nWaitTime, int& nIdentify) {
    nWaitTime = m_settings.GetInt("AreaBlack", "WaitTime", 60);
    nIdentify = m_settings.GetInt("AreaBlack", "Identify", 0);
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

void CGuardSystem::HoldDisplayOn(bool bHold) {
    m_displayRequest.Hold(bHold);
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
