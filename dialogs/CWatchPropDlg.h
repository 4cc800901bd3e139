#pragma once

#include "CDialog.h"
#include "CEdit.h"
#include "CIconButton.h"
#include "CString.h"
#include "CWatchItem.h"

// Edits a copy of one watch item: its path or path pattern, alias, validity
// condition, effect, whether it keeps the computer awake and area blackout. The caller fills m_item
// before DoModal and takes it back after IDOK; after IDCANCEL m_item is as the caller left it.
class CWatchPropDlg : public CDialog {
public:
    explicit CWatchPropDlg(CWnd* pParent = nullptr);

    // The longest wait the item can hold: it is stored as a signed number.
    static constexpr UINT kMaxWaitTime = 2147483647u;

    CWatchItem m_item;
    // An administrator lets nothing keep the computer awake: the choice is
    // greyed, and the item keeps its own value for when that ends.
    bool m_bComputerAwakeLocked = false;
    CIconButton m_btnOK, m_btnCancel;
    // The path's edit keeps its own procedure (ReadPathFromEdit).
    CEdit m_editAlias;
    CString m_strFileName;
    CString m_strAlias;
    int m_nEffectChoice = -1;    // radio index: MonitorEffec minus 1
    int m_nConditionChoice = -1; // ValidCondition
    UINT m_nWaitTime = 0;
    int m_nAreaChoice = -1;     // Identify
    int m_nBlackoutChoice = -1; // AreaBlack
    int m_nKeepSystemAwake = BST_UNCHECKED;

protected:
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    // void OnBlackoutClicked(): BN_CLICKED of any of the three blackout radios
    void OnBlackoutClicked();
    // The item's own wait time and active area count only with blackout choice 2.
    void EnableWaitControls();
    // Takes a changed path as ReadPathFromEdit gives it into the item, an
    // unchanged one as it was; false, with the user told why, for an empty
    // one or one with a '*' in its file name, or when the user would rather
    // correct a changed path to a file that does not exist.
    bool TakeFileName();
};
