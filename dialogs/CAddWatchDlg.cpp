#include "CAddWatchDlg.h"

#include "AddWatchRules.h"
#include "CFileDialog.h"
#include "WideText.h"
#include "resource.h"

namespace {

// The edit's text as the system holds it, before any code page touches it.
std::wstring WideWindowText(HWND hWnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hWnd)) + 1, L'\0');
    const int n = GetWindowTextW(hWnd, &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

} // namespace

CAddWatchDlg::CAddWatchDlg(CWnd* pParent) : CDialog(IDD_ADD_WATCH, pParent) {}

void CAddWatchDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_BROWSE, m_btnBrowse);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_RUNNING_LIST, m_listRunning);
    DDX_Text(pDX, IDC_FILE_NAME, m_strFileName);
}

BOOL CAddWatchDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_btnOK.ApplyStandardStyle(TRUE);
    m_btnOK.SetIconFromBitmap(IDB_OK);
    m_btnCancel.ApplyStandardStyle(TRUE);
    m_btnCancel.SetIconFromBitmap(IDB_CANCEL);
    m_btnBrowse.ApplyStandardStyle(TRUE);
    m_btnBrowse.SetIconFromResource(IDI_BROWSE);
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
    // Read again as the system holds it: the ANSI text would have turned what
    // the code page lacks into '?', a path that names no file.
    const std::wstring typed = WideWindowText(FileNameEdit());
    if (!AnsiFromWide(typed.c_str(), &m_strFileName)) {
        RefusePath(typed.c_str());
        return;
    }
    m_strFileName = CleanTypedPath(m_strFileName);
    if (m_strFileName.IsEmpty()) {
        // A watch item without a program would never be in effect.
        CString strText, strCaption;
        strText.LoadString(IDS_NO_FILE_NAME);
        GetWindowText(strCaption);
        MessageBoxA(m_hWnd, strText, strCaption, MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(FileNameEdit());
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

void CAddWatchDlg::RefusePath(const wchar_t* pszPath) {
    const std::wstring codePage = std::to_wstring(GetACP());
    const wchar_t* args[] = {pszPath, codePage.c_str()};
    const std::wstring text = FormatWideString(IDS_PATH_NOT_IN_CODE_PAGE, args, 2);
    std::wstring caption(static_cast<size_t>(GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
    caption.resize(
        static_cast<size_t>(GetWindowTextW(m_hWnd, &caption[0], static_cast<int>(caption.size()))));
    ::MessageBoxW(m_hWnd, text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
    ::SetFocus(FileNameEdit());
    ::SendMessageW(FileNameEdit(), EM_SETSEL, 0, -1);
}
