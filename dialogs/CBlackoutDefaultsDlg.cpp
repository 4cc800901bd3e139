#include "CBlackoutDefaultsDlg.h"

#include "DataFolder.h"
#include "SaveFailureMessage.h"

#include "resource.h"

namespace {

const char kSection[] = "AreaBlack";
const char kWaitTimeKey[] = "WaitTime";
const char kIdentifyKey[] = "Identify";

} // namespace

CBlackoutDefaultsDlg::CBlackoutDefaultsDlg(CWnd* pParent)
    : CDialog(IDD_BLACKOUT_DEFAULTS, pParent) {}

void CBlackoutDefaultsDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Radio(pDX, IDC_AREA_WINDOW, m_nIdentify);
    DDX_TextInRange(pDX, IDC_WAIT_TIME, m_nWaitTime, 0, kMaxWaitTime);
}

BOOL CBlackoutDefaultsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_btnOK.ApplyStandardStyle(TRUE);
    m_btnOK.SetIconFromBitmap(IDB_OK);
    m_btnCancel.ApplyStandardStyle(TRUE);
    m_btnCancel.SetIconFromBitmap(IDB_CANCEL);

    m_settings.SetPath(GetDataFilePath(L"Tessik.ini").c_str());
    m_nWaitTime = static_cast<UINT>(m_settings.GetInt(kSection, kWaitTimeKey, 60));
    m_nIdentify = m_settings.GetInt(kSection, kIdentifyKey, 1);
    if (m_nIdentify < 0 || m_nIdentify > 1) {
        m_nIdentify = 0;
    }
    UpdateData(FALSE);
    return TRUE;
}

void CBlackoutDefaultsDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    if (!SaveSettingsOrTell(m_hWnd, m_settings.GetPath(), [this](CProfileText& text) {
            text.WriteInt(kSection, kWaitTimeKey, static_cast<int>(m_nWaitTime));
            text.WriteInt(kSection, kIdentifyKey, m_nIdentify);
            return true;
        })) {
        return;
    }
    EndDialog(IDOK);
}
