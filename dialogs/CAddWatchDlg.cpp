#include "CAddWatchDlg.h"

#include "AddWatchRules.h"
#include "CFileDialog.h"
#include "PathEntry.h"
#include "PathPattern.h"
#include "WideText.h"
#include "resource.h"

CAddWatchDlg::CAddWatchDlg(CWnd* pParent) : CDialog(IDD_ADD_WATCH, pParent) {}

void CAddWatchDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_BROWSE, m_btnBrowse);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_RUNNING_LIST, m_listRunning);
    DDX_Text(pDX, IDC_FILE_NAME, m_strFileName);
    DDX_Check(pDX, IDC_ANY_VERSION, m_nAnyVersion);
}

BOOL CAddWatchDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_btnOK.ApplyStandardStyle(TRUE);
    m_btnOK.SetIconFromBitmap(IDB_OK);
    m_btnCancel.ApplyStandardStyle(TRUE);
    m_btnCancel.SetIconFromBitmap(IDB_CANCEL);
    m_btnBrowse.ApplyStandardStyle(TRUE);
    m_btnBrowse.SetIconFromResource(IDI_BROWSE);
    // An edit takes 30,000 characters unless told otherwise; a path may be longer.
    ::SendMessageW(FileNameEdit(), EM_SETLIMITTEXT, 0, 0);
    // A program whose path the code page cannot hold could never be watched:
    // it is left out rather than offered with '?' in its path.
    std::vector<CString> paths;
    const int count = m_processList.Refresh();
    for (int i = 0; i < count; ++i) {
        if (m_processList.GetAt(i).m_bPathFits) {
            paths.push_back(m_processList.GetAt(i).m_strPath);
        }
    }
    CString strOwnPath;
    AnsiFromWide(ModulePath().c_str(), &strOwnPath);
    for (const CString& line : RunningProgramLines(paths, strOwnPath)) {
        m_listRunning.AddString(line);
    }
    return TRUE;
}

INT_PTR CAddWatchDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_RUNNING_LIST && HIWORD(wParam) == LBN_SELCHANGE) {
            OnSelChangeRunningList();
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_RUNNING_LIST && HIWORD(wParam) == LBN_DBLCLK) {
            OnDblClkRunningList();
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_BROWSE && HIWORD(wParam) == BN_CLICKED) {
            OnBrowse();
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_FILE_NAME && HIWORD(wParam) == EN_CHANGE) {
            OnChangeFileName();
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CDialog::DialogProc(message, wParam, lParam);
}

void CAddWatchDlg::OnSelChangeRunningList() {
    int index = m_listRunning.GetCurSel();
    if (index < 0 || index >= m_listRunning.GetCount()) {
        return;
    }
    CString line;
    m_listRunning.GetText(index, line);
    ShowFileName(line);
}

void CAddWatchDlg::OnDblClkRunningList() {
    // The first click of the double-click has put the line into the edit.
    OnOK();
}

void CAddWatchDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    if (!ReadPathFromEdit(m_hWnd, IDC_FILE_NAME, m_strFileName)) {
        return;
    }
    if (m_strFileName.IsEmpty()) {
        // A watch item without a program would never be in effect.
        CString strText, strCaption;
        strText.LoadString(IDS_NO_FILE_NAME);
        GetWindowText(strCaption);
        MessageBoxA(m_hWnd, strText, strCaption, MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(FileNameEdit());
        return;
    }
    if (!TakeVersionChoice() || !ConfirmMissingProgram(m_hWnd, IDC_FILE_NAME, m_strFileName)) {
        return;
    }
    EndDialog(IDOK);
}

void CAddWatchDlg::OnBrowse() {
    CString filter;
    filter.LoadString(IDS_EXE_FILTER);
    CFileDialog dlg("EXE", WideWindowText(FileNameEdit()).c_str(),
                    OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter, this);
    if (dlg.DoModal() != IDOK) {
        return;
    }
    // Shown as chosen; OK refuses it there if the code page cannot hold it.
    ::SetWindowTextW(FileNameEdit(), dlg.GetPathName().c_str());
    ::SendMessageW(FileNameEdit(), EM_SETSEL, 0, -1);
    ::SendMessageW(FileNameEdit(), EM_SCROLLCARET, 0, 0);
}

void CAddWatchDlg::ShowFileName(const char* pszPath) {
    ::SetWindowTextA(FileNameEdit(), pszPath);
    ::SendMessageW(FileNameEdit(), EM_SETSEL, 0, -1);
    ::SendMessageW(FileNameEdit(), EM_SCROLLCARET, 0, 0);
}

void CAddWatchDlg::OnChangeFileName() {
    // The path as OK will store it, but for long names, which would ask the
    // file system at every key.
    const std::wstring typed = CleanTypedPath(WideWindowText(FileNameEdit()));
    std::wstring path;
    if (NormalizePathText(typed, path) != PathTextProblem::kNone) {
        path = typed;
    }
    CString ansi;
    const CString pattern =
        AnsiFromWide(path.c_str(), &ansi) ? VersionFolderPattern(ansi) : CString();
    HWND hCheck = GetDlgItem(IDC_ANY_VERSION);
    // Checked only while there is a version to replace, so a checked box
    // always means the pattern shown below it.
    if (pattern.IsEmpty()) {
        ::SendMessageA(hCheck, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    ::EnableWindow(hCheck, !pattern.IsEmpty());
    ::SetWindowTextA(GetDlgItem(IDC_VERSION_PATTERN), pattern);
}

bool CAddWatchDlg::TakeVersionChoice() {
    if (HasWildcardInFileName(m_strFileName)) {
        CString strText, strCaption;
        strText.LoadString(IDS_WILDCARD_IN_FILE_NAME);
        GetWindowText(strCaption);
        MessageBoxA(m_hWnd, strText, strCaption, MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(GetDlgItem(IDC_FILE_NAME));
        return false;
    }
    if (m_nAnyVersion == BST_CHECKED) {
        const CString pattern = VersionFolderPattern(m_strFileName);
        if (!pattern.IsEmpty()) {
            m_strFileName = pattern;
        }
    }
    return true;
}
