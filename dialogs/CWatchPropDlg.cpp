#include "CWatchPropDlg.h"

#include "AddWatchRules.h"
#include "PathEntry.h"
#include "PathPattern.h"
#include "WideText.h"
#include "resource.h"

CWatchPropDlg::CWatchPropDlg(CWnd* pParent) : CDialog(IDD_WATCH_PROP, pParent) {}

void CWatchPropDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_ALIAS, m_editAlias);
    DDX_Text(pDX, IDC_ALIAS, m_strAlias);
    DDX_Radio(pDX, IDC_EFFECT_SAVER, m_nEffectChoice);
    DDX_Check(pDX, IDC_KEEP_SYSTEM_AWAKE, m_nKeepSystemAwake);
    DDX_Radio(pDX, IDC_VALID_NEVER, m_nConditionChoice);
    // A disabled field holds the item's own value, which the user cannot
    // change there; only a value the user can edit is held to the range.
    if (::IsWindowEnabled(GetDlgItem(IDC_WAIT_TIME))) {
        DDX_TextInRange(pDX, IDC_WAIT_TIME, m_nWaitTime, 0, kMaxWaitTime);
    } else {
        DDX_Text(pDX, IDC_WAIT_TIME, m_nWaitTime);
    }
    DDX_Radio(pDX, IDC_AREA_WINDOW, m_nAreaChoice);
    DDX_Radio(pDX, IDC_BLACK_OFF, m_nBlackoutChoice);
}

BOOL CWatchPropDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_strFileName = m_item.m_strFileName;
    m_strAlias = AliasOrTitle(m_item.m_strTitle, m_strFileName);
    m_nEffectChoice = m_item.m_nMonitorEffec - 1;
    m_nConditionChoice = m_item.m_nValidCondition;
    m_nBlackoutChoice = m_item.m_nAreaBlack;
    m_nWaitTime = static_cast<UINT>(m_item.m_nWaitTime);
    m_nAreaChoice = m_item.m_nIdentify;
    m_nKeepSystemAwake = m_item.m_nKeepSystemAwake == 1 ? BST_CHECKED : BST_UNCHECKED;
    EnableWaitControls();
    UpdateData(FALSE);
    if (m_bComputerAwakeLocked) {
        ::EnableWindow(GetDlgItem(IDC_KEEP_SYSTEM_AWAKE), FALSE);
    }
    // An edit takes 30,000 characters unless told otherwise; a path may be longer.
    ::SendMessageW(GetDlgItem(IDC_FILE_NAME), EM_SETLIMITTEXT, 0, 0);
    ::SetWindowTextA(GetDlgItem(IDC_FILE_NAME), m_strFileName);

    m_editAlias.SetFocus();
    m_editAlias.SetSel(0, -1);
    // The edit stops at its text's end, which a byte count never falls short of.
    ::SendMessageW(GetDlgItem(IDC_FILE_NAME), EM_SETSEL, m_strFileName.GetLength(),
                   m_strFileName.GetLength());

    m_btnOK.ApplyStandardStyle(TRUE);
    m_btnOK.SetIconFromBitmap(IDB_OK);
    m_btnCancel.ApplyStandardStyle(TRUE);
    m_btnCancel.SetIconFromBitmap(IDB_CANCEL);
    return FALSE;
}

INT_PTR CWatchPropDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED &&
            (LOWORD(wParam) == IDC_BLACK_OFF || LOWORD(wParam) == IDC_BLACK_DEFAULTS ||
             LOWORD(wParam) == IDC_BLACK_OWN)) {
            OnBlackoutClicked();
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CDialog::DialogProc(message, wParam, lParam);
}

void CWatchPropDlg::OnBlackoutClicked() {
    // A failed exchange stops before the blackout group, so the enabling then
    // follows the choice read last.
    UpdateData(TRUE);
    EnableWaitControls();
}

void CWatchPropDlg::EnableWaitControls() {
    const BOOL bEnable = m_nBlackoutChoice == 2;
    ::EnableWindow(GetDlgItem(IDC_WAIT_TIME), bEnable);
    ::EnableWindow(GetDlgItem(IDC_AREA_WINDOW), bEnable);
    ::EnableWindow(GetDlgItem(IDC_AREA_CLIENT), bEnable);
}

void CWatchPropDlg::OnOK() {
    if (!UpdateData(TRUE) || !TakeFileName()) {
        return;
    }
    // A cleared alias would leave the row without a name.
    m_item.m_strTitle = AliasOrTitle(m_strAlias, m_item.m_strFileName);
    m_item.m_nValidCondition = m_nConditionChoice;
    m_item.m_nMonitorEffec = m_nEffectChoice + 1;
    m_item.m_nWaitTime = static_cast<int>(m_nWaitTime);
    m_item.m_nAreaBlack = m_nBlackoutChoice;
    m_item.m_nIdentify = m_nAreaChoice;
    m_item.m_nKeepSystemAwake = m_nKeepSystemAwake == BST_CHECKED ? 1 : 0;
    EndDialog(IDOK);
}

bool CWatchPropDlg::TakeFileName() {
    // A path left as it was stays as it was, also one that an older list
    // holds in a form that typing would no longer give.
    const bool bChanged = CleanTypedPath(WideWindowText(GetDlgItem(IDC_FILE_NAME))) !=
                          WideFromAnsi(m_item.m_strFileName);
    CString path = m_item.m_strFileName;
    if (bChanged && !ReadPathFromEdit(m_hWnd, IDC_FILE_NAME, path)) {
        return false;
    }
    const UINT nRefusal = path.IsEmpty()                ? IDS_FILE_NAME_EMPTY
                          : HasWildcardInFileName(path) ? IDS_WILDCARD_IN_FILE_NAME
                                                        : 0;
    if (nRefusal != 0) {
        CString strText, strCaption;
        strText.LoadString(nRefusal);
        GetWindowText(strCaption);
        MessageBoxA(m_hWnd, strText, strCaption, MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(GetDlgItem(IDC_FILE_NAME));
        ::SendMessageW(GetDlgItem(IDC_FILE_NAME), EM_SETSEL, 0, -1);
        return false;
    }
    if (bChanged && !ConfirmMissingProgram(m_hWnd, IDC_FILE_NAME, path)) {
        return false;
    }
    m_item.m_strFileName = path;
    return true;
}
