#pragma once

#include "CDialog.h"
#include "CIconButton.h"
#include "CListBox.h"
#include "CProcessList.h"
#include "CString.h"
#include "resource.h"

// First step of adding a watch item: the user types a path, browses for an
// executable or picks a running program. After IDOK m_strFileName holds the
// path as ReadPathFromEdit gives it (full, normalized, with long names,
// exactly as the ANSI code page holds it), never empty, with '*' in place of
// a folder's version when the user chose so, never with '*' in the file
// name; a file that does not exist only when the user said to keep it.
class CAddWatchDlg : public CDialog {
public:
    explicit CAddWatchDlg(CWnd* pParent = nullptr);

    CIconButton m_btnBrowse, m_btnOK, m_btnCancel;
    CListBox m_listRunning;
    CString m_strFileName;
    CProcessList m_processList;
    // The check box "match any version of this folder": BST_CHECKED stores
    // the path with '*' for the version in its folder name.
    int m_nAnyVersion = BST_UNCHECKED;

protected:
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Takes the path (ReadPathFromEdit); refuses an empty one or one with a
    // '*' in its file name; asks about a file that does not exist.
    void OnOK() override;

private:
    // void OnSelChangeRunningList(): LBN_SELCHANGE of the running list
    void OnSelChangeRunningList();
    // void OnDblClkRunningList(): LBN_DBLCLK of the running list
    void OnDblClkRunningList();
    // void OnBrowse(): BN_CLICKED of the browse button
    void OnBrowse();
    void ShowFileName(const char* pszPath);
    // The path's edit, left with its own procedure: one of ours, reached
    // through the ANSI functions, would turn what the code page lacks into
    // '?' before the edit saw it, whether typed, pasted or browsed.
    HWND FileNameEdit() const { return GetDlgItem(IDC_FILE_NAME); }
    // void OnChangeFileName(): EN_CHANGE of the file name; offers the version
    // pattern while the path has a folder named after a version.
    void OnChangeFileName();
    // The chosen path with the version pattern applied when it was asked
    // for; false, with the user told why, when its file name holds a '*'.
    bool TakeVersionChoice();
};
