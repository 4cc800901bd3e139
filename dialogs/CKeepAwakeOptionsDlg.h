#pragma once

#include "CDateTimeCtrl.h"
#include "CDialog.h"
#include "CIconButton.h"
#include "CProfileFile.h"

// When to keep awake besides the watched programs: the working hours, the
// battery floor and the end of a hold at the lock. Read from the settings
// file on opening, saved in one step on OK; the program reads them again
// after IDOK.
class CKeepAwakeOptionsDlg : public CDialog {
public:
    explicit CKeepAwakeOptionsDlg(CWnd* pParent = nullptr);

    // Shows the note on what Modern Standby does on battery with the
    // computer-only hours: the system's answer unless the caller sets it.
    bool m_bModernStandby;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    // Takes the hidden note's rows out of the dialog, so that no gap shows.
    void RemoveStandbyNote();

    CProfileFile m_settings;
    CIconButton m_btnOK, m_btnCancel;
    CDateTimeCtrl m_pickStart, m_pickEnd;
    int m_nDays[7] = {}; // Monday first
    int m_nStart = 0;
    int m_nEnd = 0;
    int m_nComputerOnly = BST_UNCHECKED;
    UINT m_nBatteryFloor = 0;
    int m_nEndOnLock = BST_UNCHECKED;
};
