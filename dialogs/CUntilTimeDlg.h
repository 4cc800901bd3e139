#pragma once

#include "CDateTimeCtrl.h"
#include "CDialog.h"
#include "CIconButton.h"

// Asks for the time of day until which to keep awake, and tells whether
// that is today or tomorrow.
class CUntilTimeDlg : public CDialog {
public:
    explicit CUntilTimeDlg(CWnd* pParent = nullptr);

    // Minutes after midnight: the time shown first (the next full hour
    // unless the caller sets another) and, after IDOK, the chosen one.
    int m_nMinute;

protected:
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    // void ShowDay(): the picker's DTN_DATETIMECHANGE, and the clock timer,
    // since a time that was ahead passes while the dialog stays open
    void ShowDay();

    CIconButton m_btnOK, m_btnCancel;
    CDateTimeCtrl m_pickTime;
    UINT m_nShownDay = 0;
};
