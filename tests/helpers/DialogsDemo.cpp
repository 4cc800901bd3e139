// Shows one of the program's dialogs for a look, until it is closed.
// Usage: DialogsDemo add|offer|props|awake|range|defaults|options|standby|until|about
// "offer" opens the add dialog on a path with a version folder, the offer to
// match any version taken; "awake" the properties of an item that matches any
// version and keeps the computer awake while the display may turn off. "range" opens the properties
// with a wait time beyond the range and presses OK, so that the framework's message shows over the
// dialog. "options" shows the keep-awake options of the settings file beside the program,
// "standby" the same with the note that Modern Standby computers get; "until" asks for a time
// that has passed today.
#include "CAboutDlg.h"
#include "CAddWatchDlg.h"
#include "CBlackoutDefaultsDlg.h"
#include "CKeepAwakeOptionsDlg.h"
#include "CUntilTimeDlg.h"
#include "CWatchPropDlg.h"
#include "UntilTime.h"

#include <windows.h>

#include <cstring>

namespace {

// "C:\Program Files\编辑器\编辑器.exe" in code page 936.
const char kEditorPath[] =
    "C:\\Program Files\\\xb1\xe0\xbc\xad\xc6\xf7\\\xb1\xe0\xbc\xad\xc6\xf7.exe";
// A program that installs into a folder named after its version.
const char kChatPath[] = "C:\\Users\\me\\AppData\\Local\\Chat\\app-1.0.9015\\Chat.exe";
const char kChatPattern[] = "C:\\Users\\me\\AppData\\Local\\Chat\\app-*\\Chat.exe";

void CALLBACK PressOk(HWND, UINT, UINT_PTR idEvent, DWORD) {
    KillTimer(nullptr, idEvent);
    HWND hDlg = GetActiveWindow();
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDOK)));
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int) {
    if (std::strcmp(lpCmdLine, "add") == 0) {
        CAddWatchDlg dlg;
        dlg.DoModal();
    } else if (std::strcmp(lpCmdLine, "offer") == 0) {
        CAddWatchDlg dlg;
        dlg.m_strFileName = kChatPath;
        dlg.m_nAnyVersion = BST_CHECKED;
        dlg.DoModal();
    } else if (std::strcmp(lpCmdLine, "props") == 0 || std::strcmp(lpCmdLine, "range") == 0) {
        CWatchPropDlg dlg;
        dlg.m_item.m_strFileName = kEditorPath;
        dlg.m_item.m_nAreaBlack = 2;
        if (std::strcmp(lpCmdLine, "range") == 0) {
            dlg.m_item.m_nWaitTime = static_cast<int>(3000000000u);
            SetTimer(nullptr, 0, 1500, PressOk);
        }
        dlg.DoModal();
    } else if (std::strcmp(lpCmdLine, "awake") == 0) {
        CWatchPropDlg dlg;
        dlg.m_item.m_strFileName = kChatPattern;
        dlg.m_item.m_nValidCondition = 1;
        dlg.m_item.m_nMonitorEffec = 1;
        dlg.m_item.m_nKeepSystemAwake = 1;
        dlg.DoModal();
    } else if (std::strcmp(lpCmdLine, "defaults") == 0) {
        CBlackoutDefaultsDlg dlg;
        dlg.DoModal();
    } else if (std::strcmp(lpCmdLine, "options") == 0 || std::strcmp(lpCmdLine, "standby") == 0) {
        CKeepAwakeOptionsDlg dlg;
        dlg.m_bModernStandby = std::strcmp(lpCmdLine, "standby") == 0;
        dlg.DoModal();
    } else if (std::strcmp(lpCmdLine, "until") == 0) {
        CUntilTimeDlg dlg;
        dlg.m_nMinute = (CurrentMinuteOfDay() + 23 * 60) % (24 * 60);
        dlg.DoModal();
    } else {
        CAboutDlg dlg;
        dlg.DoModal();
    }
    return 0;
}
