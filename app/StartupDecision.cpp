#include "StartupDecision.h"

#include "CString.h"

StartAction DecideStart(bool bAlreadyRunning, bool bMainWndPublished, bool bUninstall) {
    if (!bAlreadyRunning) {
        return bUninstall ? StartAction::UninstallOnly : StartAction::RunMainWindow;
    }
    if (!bMainWndPublished) {
        return StartAction::EndSilently;
    }
    return bUninstall ? StartAction::CloseAndUninstall : StartAction::HandOver;
}

bool IsUninstallCommandLine(const char* pszCmdLine) {
    CString args(pszCmdLine);
    args.MakeUpper();
    return args.Find("/UNINSTALL") >= 0;
}
