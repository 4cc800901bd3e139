#include "CWatchApp.h"

#include "AfxLanguage.h"
#include "CProfileFile.h"
#include "CSingleInstance.h"
#include "CString.h"
#include "CWatchListDlg.h"
#include "AfxText.h"
#include "DataFolder.h"
#include "OtherCopy.h"
#include "SetAsideFiles.h"
#include "StartupDecision.h"
#include "WideText.h"
#include "resource.h"

#include <commctrl.h>

namespace {

// The running instance saves both files on its way out: deleting them before
// it has ended would let them come back.
const DWORD kOwnerExitWaitMs = 10000;
// An instance started a moment before this one (at logon, or by the same
// script) publishes its window within this time.
const DWORD kHandOverWaitMs = 5000;

// The system decides the interface language unless the settings file, the
// one the program uses, names one; the program never writes that key.
void ChooseInterfaceLanguage() {
    CProfileFile settings(GetDataFilePath(L"Tessik.ini").c_str());
    AfxSetResourceLanguage(AfxChooseLanguage(GetUserDefaultUILanguage(), GetACP(),
                                             settings.GetString("Config", "Language", "")));
}

bool IsProcessRunning(DWORD dwProcessId) {
    HANDLE hProcess = OpenProcess(SYNCHRONIZE, FALSE, dwProcessId);
    if (!hProcess) {
        return false;
    }
    const bool bRunning = WaitForSingleObject(hProcess, 0) == WAIT_TIMEOUT;
    CloseHandle(hProcess);
    return bRunning;
}

// A warning about the command line, which it names.
void WarnAboutCommandLine(UINT nID, const char* pszCmdLine) {
    CString strText, strCaption;
    AfxFormatString1(strText, nID, pszCmdLine);
    strCaption.LoadString(IDS_APP_TITLE);
    MessageBoxA(nullptr, strText, strCaption, MB_OK | MB_ICONWARNING);
}

// A warning whose text names something the code page may not hold: a folder.
void WarnWide(UINT nID, const std::wstring& strArgument) {
    const wchar_t* args[] = {strArgument.c_str()};
    MessageBoxW(nullptr, FormatWideString(nID, args, 1).c_str(),
                FormatWideString(IDS_APP_TITLE, nullptr, 0).c_str(), MB_OK | MB_ICONWARNING);
}

} // namespace

BOOL CWatchApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    m_instance.IsAlreadyRunning();
    StartFacts facts;
    facts.instance = m_instance.GetState();
    facts.bUninstall = IsUninstallCommandLine(m_lpCmdLine);
    const KeepAwakeRequest keepAwake = ParseKeepAwakeCommandLine(m_lpCmdLine);
    facts.keepAwake = keepAwake.kind;
    // A hold for as long as a process runs needs one that runs.
    facts.bNoSuchProcess = keepAwake.kind == KeepAwakeRequest::Start &&
                           keepAwake.dwProcessId != 0 && !IsProcessRunning(keepAwake.dwProcessId);
    HWND hMainWnd = nullptr;
    std::wstring strOtherFolder;
    if (facts.instance == InstanceState::Running) {
        // An uninstall closes this copy's instance only: another copy's
        // files are its own.
        std::wstring* pOther = facts.bUninstall ? nullptr : &strOtherFolder;
        hMainWnd = WaitsForMainWnd(facts) ? m_instance.WaitForMainWnd(kHandOverWaitMs, pOther)
                                          : CSingleInstance::GetMainWnd();
        if (!hMainWnd) {
            strOtherFolder = FindOtherCopyFolder();
        }
    }
    facts.bMainWnd = hMainWnd != nullptr;
    facts.bOtherCopy = !strOtherFolder.empty();
    const StartAction action = DecideStart(facts);
    if (action != StartAction::HandOver && action != StartAction::HandOverKeepAwake &&
        action != StartAction::EndSilently) {
        ChooseInterfaceLanguage();
    }
    switch (action) {
    case StartAction::EndSilently:
        break;
    case StartAction::HandOver: {
        // The user started this process, so it may take the foreground; it
        // passes that right on, or Windows would only flash the window (or
        // the dialog open over it) on the taskbar.
        DWORD dwOwner = 0;
        GetWindowThreadProcessId(hMainWnd, &dwOwner);
        AllowSetForegroundWindow(dwOwner);
        PostMessageA(hMainWnd, WM_COMMAND, ID_SHOW_MAIN_WND, 0);
        break;
    }
    case StartAction::HandOverKeepAwake: {
        // Nothing is shown: the running instance starts or stops the hold.
        WPARAM wParam = 0;
        LPARAM lParam = 0;
        EncodeKeepAwake(keepAwake, wParam, lParam);
        PostMessageA(hMainWnd, CWatchGuard::KeepAwakeMessage(), wParam, lParam);
        break;
    }
    case StartAction::RefuseKeepAwake:
        WarnAboutCommandLine(IDS_KEEPAWAKE_BAD_NUMBER, m_lpCmdLine);
        break;
    case StartAction::RefuseNoSuchProcess:
        WarnWide(IDS_KEEPAWAKE_NO_PROCESS, std::to_wstring(keepAwake.dwProcessId));
        break;
    case StartAction::KeepAwakeLost:
        WarnAboutCommandLine(IDS_KEEPAWAKE_NOT_DELIVERED, m_lpCmdLine);
        break;
    case StartAction::RunsAsAdministrator:
        AfxMessageBox(IDS_RUNS_AS_ADMINISTRATOR, MB_OK | MB_ICONWARNING);
        break;
    case StartAction::OtherCopyNotReached:
        WarnWide(IDS_OTHER_COPY_RUNS, strOtherFolder);
        break;
    case StartAction::CloseAndUninstall:
        SendMessageA(hMainWnd, WM_CLOSE, 0, 0);
        Uninstall(true);
        break;
    case StartAction::UninstallOnly:
        Uninstall(false);
        break;
    case StartAction::RunMainWindow: {
        DeleteSetAsideFiles();
        CWatchListDlg dlg;
        dlg.SetStartupKeepAwake(keepAwake);
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
        // The window object's hook thread removes the hooks as the object goes.
        break;
    }
    }
    return FALSE;
}

void CWatchApp::Uninstall(bool bOwnerClosing) {
    CString strText, strCaption;
    strText.LoadString(IDS_UNINSTALL_QUESTION);
    strCaption.LoadString(IDS_UNINSTALL_CAPTION);
    if (MessageBoxA(nullptr, strText, strCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) !=
        IDYES) {
        return;
    }
    if (bOwnerClosing) {
        m_instance.WaitForOwnerToEnd(kOwnerExitWaitMs);
    }
    // Where the files are: beside the program, or in the user's folder when
    // the program's own cannot be written.
    const std::wstring strFolder = GetDataFolder();
    DeleteFileW((strFolder + L"Tessik.ini").c_str());
    DeleteFileW((strFolder + L"Tessik.dat").c_str());
}
