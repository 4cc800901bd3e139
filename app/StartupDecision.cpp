#include "StartupDecision.h"

#include "CString.h"

InstanceState InstanceStateOf(bool bHandle, DWORD dwLastError) {
    if (bHandle) {
        return dwLastError == ERROR_ALREADY_EXISTS ? InstanceState::Running : InstanceState::First;
    }
    // Any other failure leaves the program without a guard, as before: it
    // runs rather than not at all.
    return dwLastError == ERROR_ACCESS_DENIED ? InstanceState::Elevated : InstanceState::First;
}

StartAction DecideStart(const StartFacts& facts) {
    const bool bUninstall = facts.bUninstall;
    if (!bUninstall && facts.keepAwake == KeepAwakeRequest::Invalid) {
        return StartAction::RefuseKeepAwake;
    }
    if (!bUninstall && facts.bNoSuchProcess) {
        return StartAction::RefuseNoSuchProcess;
    }
    switch (facts.instance) {
    case InstanceState::First:
        return bUninstall ? StartAction::UninstallOnly : StartAction::RunMainWindow;
    case InstanceState::Elevated:
        return StartAction::RunsAsAdministrator;
    case InstanceState::Running:
        break;
    }
    // The files of this copy are not another copy's to close over.
    if (bUninstall && facts.bOtherCopy) {
        return StartAction::UninstallOnly;
    }
    if (!facts.bMainWnd) {
        if (facts.bOtherCopy) {
            return StartAction::OtherCopyNotReached;
        }
        const bool bKeepAwake = !bUninstall && (facts.keepAwake == KeepAwakeRequest::Start ||
                                                facts.keepAwake == KeepAwakeRequest::Stop);
        return bKeepAwake ? StartAction::KeepAwakeLost : StartAction::EndSilently;
    }
    if (bUninstall) {
        return StartAction::CloseAndUninstall;
    }
    return facts.keepAwake == KeepAwakeRequest::None ? StartAction::HandOver
                                                     : StartAction::HandOverKeepAwake;
}

bool WaitsForMainWnd(const StartFacts& facts) {
    return !facts.bUninstall && facts.keepAwake != KeepAwakeRequest::Invalid &&
           !facts.bNoSuchProcess;
}

bool IsUninstallCommandLine(const char* pszCmdLine) {
    CString args(pszCmdLine);
    args.MakeUpper();
    return args.Find("/UNINSTALL") >= 0;
}
