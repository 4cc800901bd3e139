#pragma once

#include "CDialog.h"
#include "CIconButton.h"
#include "CProfileFile.h"

// The area blackout defaults (wait time and active-area mode) that items with
// AreaBlack 1 use: read from the settings file on opening, written on OK.
class CBlackoutDefaultsDlg : public CDialog {
public:
    explicit CBlackoutDefaultsDlg(CWnd* pParent = nullptr);

    // The longest wait the settings file can hold: it is stored as a signed number.
    static constexpr UINT kMaxWaitTime = 2147483647u;

    CProfileFile m_settings;
    CIconButton m_btnCancel, m_btnOK;
    int m_nIdentify = -1;
    UINT m_nWaitTime = 0;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};
