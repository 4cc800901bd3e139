#pragma once

#include "CDateTimeCtrl.h"
#include "CDialog.h"
#include "CHotKeyCtrl.h"
#include "CIconButton.h"
#include "CProfileFile.h"

// When to keep awake besides the watched programs: the working hours, the
// battery floor and the end of a hold at the lock. Read from the settings
// file on opening, saved in one step on OK; the program reads them again
// after IDOK.
class CKeepAwakeOptionsDlg : public CDialog {
public:
    // Whoever holds the hotkey with the system: asked to take a new
    // combination before it is saved.
    class HotkeyTaker {
    public:
        // false when the system refuses it; the old one then stays.
        virtual bool TakeHotkey(WORD wHotkey) = 0;

    protected:
        ~HotkeyTaker() = default;
    };

    explicit CKeepAwakeOptionsDlg(CWnd* pParent = nullptr);

    // Null: the hotkey is saved without asking.
    HotkeyTaker* m_pHotkeyTaker = nullptr;

    // Shows the note on what Modern Standby does on battery with the
    // computer-only hours: the system's answer unless the caller sets it.
    bool m_bModernStandby;

protected:
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    // Takes the hidden note's rows out of the dialog, so that no gap shows.
    void RemoveStandbyNote();

    CProfileFile m_settings;
    CIconButton m_btnOK, m_btnCancel;
    CDateTimeCtrl m_pickStart, m_pickEnd;
    CHotKeyCtrl m_hotkey;
    WORD m_wHotkey = 0;
    // The combination as the dialog found it: kept when a new one is refused.
    WORD m_wHotkeyBefore = 0;
    int m_nNotify = BST_CHECKED;
    int m_nDays[7] = {}; // Monday first
    int m_nStart = 0;
    int m_nEnd = 0;
    int m_nComputerOnly = BST_UNCHECKED;
    UINT m_nBatteryFloor = 0;
    int m_nEndOnLock = BST_UNCHECKED;
};
