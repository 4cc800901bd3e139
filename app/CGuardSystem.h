#pragma once

#include "CAreaBlackWnd.h"
#include "CForegroundWatch.h"
#include "CPowerRequests.h"
#include "CHookThread.h"
#include "CWatchEvaluator.h"
#include "CWatchGuard.h"

#include <memory>

class CProfileFile;

// The guard's system: the process snapshot, the hook library on its own
// thread, the power manager, the black window and the main window's
// countdown timer.
class CGuardSystem : public CWatchGuard::System {
public:
    CGuardSystem(const CWatchList& watchList, CProfileFile& settings);
    CGuardSystem(const CGuardSystem&) = delete;
    CGuardSystem& operator=(const CGuardSystem&) = delete;
    ~CGuardSystem() override;

    static UINT HoldSaveFailedMessage();

    void Attach(HWND hWnd) override;
    ULONGLONG Now() override;
    SYSTEMTIME LocalTime() override;
    ULONGLONG UtcNow() override;
    PowerSource ReadPowerSource() override;
    KeepAwakeOptions ReadKeepAwakeOptions() override;
    int FindFirstInEffect(BYTE* pForeground) override;
    int FindNextInEffect() override;
    int FindFirstInEffectInForeground(BYTE* pForeground) override;
    // Changes are posted to the window as CForegroundWatch::Message().
    void WatchForeground(bool bWatch) override;
    void SetForegroundTimer(bool bRunning) override;
    void ReadBlackoutDefaults(int& nWaitTime, int& nIdentify) override;
    SavedHold ReadSavedHold() override;
    // A failed save is posted to the window as HoldSaveFailedMessage, with
    // the system's error as wParam: the window tells the user, outside the
    // guard's work.
    bool SaveHold(const SavedHold& hold) override;
    void InstallHooks() override;
    void RemoveHooks() override;
    bool AreHooksInstalled() override;
    bool AreHooksRequested() override;
    void SetMonitorEffect(bool bPreventSaver, bool bPreventPowerOff) override;
    void SetAreaBlackStatus(int bBlackShown, int bCounting) override;
    bool HoldPower(CPowerRequests::Kind kind, bool bHold, const CString& strReason) override;
    bool WatchHoldProcess(DWORD dwProcessId) override;
    void SetCountdownTimer(bool bRunning) override;
    bool ShowBlackWindow(int nActiveAreaMode) override;
    void HideBlackWindow() override;
    void DropQueuedWakes() override;

private:
    // What one wait for a hold's process reports, and to whom; written before
    // the wait is registered and never after.
    struct HoldWait {
        HWND hWnd;
        DWORD dwProcessId;
    };
    static void CALLBACK OnHoldProcessEnded(void* pContext, BOOLEAN bTimedOut);
    void EndHoldProcessWait();

    HWND m_hWnd = nullptr;
    // The window hears of the session's lock and unlock.
    bool m_bSessionNotified = false;
    CProfileFile& m_settings;
    CWatchEvaluator m_evaluator;
    CPowerRequests m_powerRequests;
    // The wait for the process a hold is bound to.
    HANDLE m_hHoldProcess = nullptr;
    HANDLE m_hHoldWait = nullptr;
    std::unique_ptr<HoldWait> m_pHoldWait;
    CAreaBlackWnd m_blackWnd;
    CForegroundWatch m_foregroundWatch;
    // Last: its thread removes the hooks when it goes, before anything they
    // report to.
    CHookThread m_hookThread;
};
