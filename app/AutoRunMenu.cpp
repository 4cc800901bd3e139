#include "AutoRunMenu.h"

#include "CAutoRun.h"
#include "CMenu.h"
#include "CWinApp.h"
#include "DataFolder.h"
#include "resource.h"

namespace {

const char kAutoRunValue[] = "Velatrix";

void CheckItem(HMENU hMenu, bool bEnabled) {
    CMenu(hMenu).CheckMenuItem(ID_TOGGLE_AUTORUN, bEnabled ? MF_CHECKED : MF_UNCHECKED);
}

} // namespace

void ShowAutoRunItem(HMENU hMenu) {
    CheckItem(hMenu, CAutoRun(kAutoRunValue).IsEnabled());
}

void ToggleAutoRunItem(HMENU hMenu) {
    CAutoRun autoRun(kAutoRunValue);
    const bool bWasEnabled = autoRun.IsEnabled();
    const bool bEnabled = autoRun.Toggle(IsInstalledForAllUsers() ? CAutoRun::MachineValue::Keep
                                                                  : CAutoRun::MachineValue::Delete);
    CheckItem(hMenu, bEnabled);
    // Only an administrator deletes a registration under the machine-wide key,
    // and none that setup for all users wrote.
    if (bWasEnabled && bEnabled) {
        AfxMessageBox(IDS_AUTORUN_BY_ADMIN, MB_OK | MB_ICONINFORMATION);
    }
}
