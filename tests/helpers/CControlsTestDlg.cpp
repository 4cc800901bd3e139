#include "CControlsTestDlg.h"

#include "ControlsTestIds.h"

namespace {

const UINT WM_RUN_BODY = WM_APP + 1;

} // namespace

CControlsTestDlg::CControlsTestDlg() : CDialog(IDD_CONTROLS_TEST) {}

INT_PTR CControlsTestDlg::Run(std::function<void(CControlsTestDlg&)> body, bool bKeepOpen) {
    m_body = std::move(body);
    m_bKeepOpen = bKeepOpen;
    return DoModal();
}

void CControlsTestDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_BROWSE, m_btnBrowse);
    DDX_Control(pDX, IDC_UNDERSTOOD, m_btnUnderstood);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_HIDE, m_btnHide);
    DDX_Control(pDX, IDC_PROPERTIES, m_btnProperties);
    DDX_Control(pDX, IDC_ADD, m_btnAdd);
    DDX_Control(pDX, IDC_DELETE, m_btnDelete);
    DDX_Control(pDX, IDC_TITLE, m_title);
    DDX_Control(pDX, IDC_EMAIL, m_emailLink);
    DDX_Control(pDX, IDC_PLAIN_LABEL, m_plainLabel);
}

BOOL CControlsTestDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    struct Prepared {
        CIconButton& button;
        UINT picture;
        bool bBitmap;
    };
    Prepared buttons[] = {
        {m_btnBrowse, IDI_BROWSE, false}, {m_btnUnderstood, IDI_UNDERSTOOD, false},
        {m_btnOK, IDB_OK, true},          {m_btnCancel, IDB_CANCEL, true},
        {m_btnHide, IDI_HIDE, false},     {m_btnProperties, IDI_PROPERTIES, false},
        {m_btnAdd, IDI_ADD, false},       {m_btnDelete, IDI_DELETE, false},
    };
    for (Prepared& p : buttons) {
        p.button.ApplyStandardStyle(TRUE);
        if (p.bBitmap) {
            p.button.SetIconFromBitmap(p.picture);
        } else {
            p.button.SetIconFromResource(p.picture);
        }
    }
    m_btnUnderstood.SetHoverCursor(
        LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDCUR_HAND)));
    PostMessageA(m_hWnd, WM_RUN_BODY, 0, 0);
    return TRUE;
}

void CControlsTestDlg::OnOK() {
    // Enter in a test must not end the dialog under the running body.
}

INT_PTR CControlsTestDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) {
            m_layout.ApplyLayout(LOWORD(lParam), HIWORD(lParam));
        }
        return TRUE;
    case WM_RUN_BODY:
        if (m_body) {
            m_body(*this);
        }
        if (!m_bKeepOpen) {
            EndDialog(IDOK);
        }
        return TRUE;
    default:
        break;
    }
    return CDialog::DialogProc(message, wParam, lParam);
}
