#include "CUntilTimeDlg.h"

#include "CString.h"
#include "UntilTime.h"

#include "resource.h"

namespace {

const UINT_PTR kClockTimer = 1;
const UINT kClockMilliseconds = 1000;

} // namespace

CUntilTimeDlg::CUntilTimeDlg(CWnd* pParent)
    : CDialog(IDD_UNTIL_TIME, pParent), m_nMinute(NextFullHour(CurrentMinuteOfDay())) {
    CDateTimeCtrl::RegisterClass();
}

void CUntilTimeDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_UNTIL_TIME, m_pickTime);
}

BOOL CUntilTimeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_btnOK.ApplyStandardStyle(TRUE);
    m_btnOK.SetIconFromBitmap(IDB_OK);
    m_btnCancel.ApplyStandardStyle(TRUE);
    m_btnCancel.SetIconFromBitmap(IDB_CANCEL);
    m_pickTime.SetFormat("HH:mm");
    m_pickTime.SetMinuteOfDay(m_nMinute);
    ShowDay();
    ::SetTimer(m_hWnd, kClockTimer, kClockMilliseconds, nullptr);
    return TRUE;
}

INT_PTR CUntilTimeDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        const NMHDR* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        if (pHeader->idFrom == IDC_UNTIL_TIME && pHeader->code == DTN_DATETIMECHANGE) {
            ShowDay();
            return SetMsgResult(0);
        }
        break;
    }
    case WM_TIMER:
        if (wParam == kClockTimer) {
            ShowDay();
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CDialog::DialogProc(message, wParam, lParam);
}

void CUntilTimeDlg::ShowDay() {
    const UINT nDay = IsLaterToday(CurrentMinuteOfDay(), m_pickTime.GetMinuteOfDay())
                          ? IDS_UNTIL_TODAY
                          : IDS_UNTIL_TOMORROW;
    // Set only on a change: the timer would redraw it every second.
    if (nDay == m_nShownDay) {
        return;
    }
    m_nShownDay = nDay;
    CString text;
    text.LoadString(nDay);
    ::SetDlgItemTextA(m_hWnd, IDC_UNTIL_DAY, text);
}

void CUntilTimeDlg::OnOK() {
    m_nMinute = m_pickTime.GetMinuteOfDay();
    EndDialog(IDOK);
}
