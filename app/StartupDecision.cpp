#include "StartupDecision.h"

#include "CString.h"

StartAction DecideStart(bool bAlreadyRunning, bool bMainWndPublished, bool bUninstall,
                        KeepAwakeRequest::Kind keepAwake) {
    if (!bUninstall && keepAwake == KeepAwakeRequest::Invalid) {
        return StartAction::RefuseKeepAwake;
    }
    if (!bAlreadyRunning) {
        return bUninstall ? StartAction::UninstallOnly : StartAction::RunMainWindow;
    }
    if (!bMainWndPublished) {
        const bool bKeepAwake = !bUninstall && (keepAwake == KeepAwakeRequest::Start ||
                                                keepAwake == KeepAwakeRequest::Stop);
        return bKeepAwake ? StartAction::KeepAwakeLost : StartAction::EndSilently;
    }
    if (bUninstall) {
        return StartAction::CloseAndUninstall;
    }
    return keepAwake == KeepAwakeRequest::None ? StartAction::HandOver
                                               : StartAction::HandOverKeepAwake;
}

bool WaitsForMainWnd(bool bUninstall, KeepAwakeRequest::Kind keepAwake) {
    return !bUninstall && keepAwake != KeepAwakeRequest::Invalid;
}

bool IsUninstallCommandLine(const char* pszCmdLine) {
    CString args(pszCmdLine);
    args.MakeUpper();
    return args.Find("/UNINSTALL") >= 0;
}
