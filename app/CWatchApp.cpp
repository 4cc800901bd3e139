#include "CWatchApp.h"

#include "AdminPolicy.h"
#include "AfxLanguage.h"
#include "CConsoleReport.h"
#include "CProfileFile.h"
#include "CSingleInstance.h"
#include "CStatusQuery.h"
#include "CString.h"
#include "CWatchListDlg.h"
#include "DataFolder.h"
#include "OtherCopy.h"
#include "SetAsideFiles.h"
#include "StartupDecision.h"
#include "WideText.h"
#include "resource.h"

#include <commctrl.h>

#include <string>

namespace {

// The running instance saves both files on its way out: deleting them before
// it has ended would let them come back.
const DWORD kOwnerExitWaitMs = 10000;
// An instance started a moment before this one (at logon, or by the same
// script) publishes its window within this time.
const DWORD kHandOverWaitMs = 5000;
// The instance takes a hold at once; a busy one (a watch cycle over many
// processes) within this.
const UINT kHandOverAnswerMs = 5000;

bool IsProcessRunning(DWORD dwProcessId) {
    HANDLE hProcess = OpenProcess(SYNCHRONIZE, FALSE, dwProcessId);
    if (!hProcess) {
        return false;
    }
    const bool bRunning = WaitForSingleObject(hProcess, 0) == WAIT_TIMEOUT;
    CloseHandle(hProcess);
    return bRunning;
}

// Sent, not posted: the start waits for the instance to say whether it took
// the request, which a script learns from the exit code.
InstanceAnswer HandOverKeepAwake(HWND hMainWnd, const KeepAwakeRequest& request) {
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    EncodeKeepAwake(request, wParam, lParam);
    DWORD_PTR result = 0;
    const bool bSent =
        SendMessageTimeoutA(hMainWnd, CWatchGuard::KeepAwakeMessage(), wParam, lParam,
                            SMTO_NORMAL | SMTO_ABORTIFHUNG, kHandOverAnswerMs, &result) != 0;
    return ReadAnswer(StartAction::HandOverKeepAwake, bSent, result);
}

// The text that says why the policy forbids the hold asked for; 0 when it does not.
UINT PolicyRefusalOf(const KeepAwakeRequest& request, const AdminPolicy& policy) {
    if (policy.bDisableKeepAwake) {
        return IDS_POLICY_KEEPAWAKE_REFUSED;
    }
    return request.bComputerOnly && policy.bDisableComputerAwake ? IDS_POLICY_COMPUTER_REFUSED : 0;
}

std::wstring Text(UINT nID) {
    return FormatWideString(nID, nullptr, 0);
}

} // namespace

// The system decides the interface language unless the settings file, the
// one the program uses, names one; the program never writes that key.
void CWatchApp::ChooseInterfaceLanguage() {
    if (m_bLanguageChosen) {
        return;
    }
    m_bLanguageChosen = true;
    CProfileFile settings(GetDataFilePath(L"Tessik.ini").c_str());
    AfxSetResourceLanguage(AfxChooseLanguage(GetUserDefaultUILanguage(), GetACP(),
                                             settings.GetString("Config", "Language", "")));
}

void CWatchApp::Report(CConsoleReport& console, DWORD nStdHandle, const std::wstring& text,
                       UINT nIcon) {
    if (!console.Write(nStdHandle, text)) {
        MessageBoxW(nullptr, text.c_str(), Text(IDS_APP_TITLE).c_str(), MB_OK | nIcon);
    }
}

void CWatchApp::Warn(CConsoleReport& console, UINT nID, const std::wstring& strArgument) {
    ChooseInterfaceLanguage();
    const wchar_t* args[] = {strArgument.c_str()};
    Report(console, STD_ERROR_HANDLE, FormatWideString(nID, args, 1), MB_ICONWARNING);
}

BOOL CWatchApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    StartFacts facts;
    facts.bUninstall = IsUninstallCommandLine(m_lpCmdLine);
    facts.bStatus = IsStatusCommandLine(m_lpCmdLine);
    // A start that only asks must not pass for the instance to a start of
    // the program at the same moment.
    if (facts.bStatus && !facts.bUninstall) {
        m_instance.FindRunning();
    } else {
        m_instance.IsAlreadyRunning();
    }
    facts.instance = m_instance.GetState();
    const KeepAwakeRequest keepAwake = ParseKeepAwakeCommandLine(m_lpCmdLine);
    facts.keepAwake = keepAwake.kind;
    // A hold for as long as a process runs needs one that runs.
    facts.bNoSuchProcess = keepAwake.kind == KeepAwakeRequest::Start &&
                           keepAwake.dwProcessId != 0 && !IsProcessRunning(keepAwake.dwProcessId);
    const UINT nPolicyRefusal = keepAwake.kind == KeepAwakeRequest::Start
                                    ? PolicyRefusalOf(keepAwake, ReadAdminPolicy())
                                    : 0;
    facts.bForbiddenByPolicy = nPolicyRefusal != 0;
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
    if (!KeepsInstanceGuard(action)) {
        m_instance.Release();
    }
    // A hand-over needs a text only when it fails; the rest show one, or the
    // window, in any case.
    if (action != StartAction::HandOver && action != StartAction::HandOverKeepAwake &&
        action != StartAction::AskStatus && action != StartAction::EndSilently) {
        ChooseInterfaceLanguage();
    }
    const std::wstring strCmdLine = WideFromAnsi(m_lpCmdLine);
    CConsoleReport console;
    InstanceAnswer answer = InstanceAnswer::NotAsked;
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
    case StartAction::HandOverKeepAwake:
        // Nothing is shown unless the running instance did not take the hold.
        answer = HandOverKeepAwake(hMainWnd, keepAwake);
        if (answer == InstanceAnswer::HoldRefused && keepAwake.dwProcessId == 0) {
            // A policy that came between this start's look and the instance's.
            Warn(console, IDS_POLICY_KEEPAWAKE_REFUSED, strCmdLine);
        } else if (answer == InstanceAnswer::HoldRefused) {
            // It found the process gone that it was to wait for.
            Warn(console, IDS_KEEPAWAKE_NO_PROCESS, std::to_wstring(keepAwake.dwProcessId));
        } else if (answer != InstanceAnswer::HoldTaken) {
            Warn(console, IDS_KEEPAWAKE_NOT_DELIVERED, strCmdLine);
        }
        break;
    case StartAction::AskStatus: {
        std::wstring strLine;
        answer = CStatusQuery().Ask(hMainWnd, &strLine);
        if (answer == InstanceAnswer::Lost) {
            ChooseInterfaceLanguage();
            Report(console, STD_ERROR_HANDLE, Text(IDS_STATUS_NO_ANSWER), MB_ICONWARNING);
        } else {
            Report(console, STD_OUTPUT_HANDLE, strLine, MB_ICONINFORMATION);
        }
        break;
    }
    case StartAction::StatusNoInstance:
        Report(console, STD_OUTPUT_HANDLE, Text(IDS_STATUS_NOT_RUNNING), MB_ICONINFORMATION);
        break;
    case StartAction::StatusLost:
        Report(console, STD_ERROR_HANDLE, Text(IDS_STATUS_NO_ANSWER), MB_ICONWARNING);
        break;
    case StartAction::RefuseKeepAwake:
        Warn(console, IDS_KEEPAWAKE_BAD_NUMBER, strCmdLine);
        break;
    case StartAction::RefuseNoSuchProcess:
        Warn(console, IDS_KEEPAWAKE_NO_PROCESS, std::to_wstring(keepAwake.dwProcessId));
        break;
    case StartAction::RefuseByPolicy:
        Warn(console, nPolicyRefusal, strCmdLine);
        break;
    case StartAction::KeepAwakeLost:
        Warn(console, IDS_KEEPAWAKE_NOT_DELIVERED, strCmdLine);
        break;
    case StartAction::RunsAsAdministrator:
        Report(console, STD_ERROR_HANDLE, Text(IDS_RUNS_AS_ADMINISTRATOR), MB_ICONWARNING);
        break;
    case StartAction::OtherCopyNotReached:
        Warn(console, IDS_OTHER_COPY_RUNS, strOtherFolder);
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
    m_nExitCode = ExitCodeOf(action, answer);
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
