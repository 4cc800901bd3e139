#include "KeepAwakeMenu.h"

#include "AfxText.h"
#include "CKeepAwakeOptionsDlg.h"
#include "CMenu.h"
#include "CUntilTimeDlg.h"
#include "CWatchGuard.h"
#include "CString.h"
#include "KeepAwake.h"
#include "resource.h"

#include <vector>

namespace {

struct HoldChoice {
    UINT nID;
    int nMinutes;
};
const HoldChoice kHoldChoices[] = {
    {ID_KEEPAWAKE_30, 30},
    {ID_KEEPAWAKE_60, 60},
    {ID_KEEPAWAKE_120, 120},
    {ID_KEEPAWAKE_ON, kKeepAwakeUntilStopped},
};

// What the greyed notes at the top of the submenu say of the policy.
std::vector<CString> PolicyNotes(const AdminPolicy& policy) {
    std::vector<CString> notes;
    CString strNote;
    if (policy.bDisableKeepAwake) {
        strNote.LoadString(IDS_POLICY_MENU_NO_KEEPAWAKE);
        notes.push_back(strNote);
        return notes;
    }
    if (policy.nMaxHoldMinutes > 0) {
        CString strMinutes;
        strMinutes.Format("%d", policy.nMaxHoldMinutes);
        AfxFormatString1(strNote, IDS_POLICY_MENU_MAX, strMinutes);
        notes.push_back(strNote);
    }
    if (policy.bDisableComputerAwake) {
        strNote.LoadString(IDS_POLICY_MENU_NO_COMPUTER);
        notes.push_back(strNote);
    }
    return notes;
}

void ShowPolicy(CMenu& menu, const AdminPolicy& policy) {
    // The notes of the last policy go first, with the separator below them.
    bool bHadNotes = false;
    while (menu.GetMenuState(ID_KEEPAWAKE_POLICY_NOTE, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
        menu.DeleteMenu(ID_KEEPAWAKE_POLICY_NOTE, MF_BYCOMMAND);
        bHadNotes = true;
    }
    if (bHadNotes && (menu.GetMenuState(0, MF_BYPOSITION) & MF_SEPARATOR)) {
        menu.DeleteMenu(0, MF_BYPOSITION);
    }
    const std::vector<CString> notes = PolicyNotes(policy);
    if (!notes.empty()) {
        menu.InsertMenu(0, MF_BYPOSITION | MF_SEPARATOR);
    }
    for (size_t n = notes.size(); n-- > 0;) {
        menu.InsertMenu(0, MF_BYPOSITION | MF_STRING | MF_GRAYED, ID_KEEPAWAKE_POLICY_NOTE,
                        notes[n]);
    }
    const UINT nHolds = policy.bDisableKeepAwake ? MF_GRAYED : MF_ENABLED;
    for (const HoldChoice& choice : kHoldChoices) {
        menu.EnableMenuItem(choice.nID, MF_BYCOMMAND | nHolds);
    }
    menu.EnableMenuItem(ID_KEEPAWAKE_UNTIL, MF_BYCOMMAND | nHolds);
    menu.EnableMenuItem(
        ID_KEEPAWAKE_COMPUTER_ONLY,
        MF_BYCOMMAND |
            (policy.bDisableKeepAwake || policy.bDisableComputerAwake ? MF_GRAYED : MF_ENABLED));
}

} // namespace

HMENU FindKeepAwakeMenu(HMENU hMenu) {
    return CMenu(hMenu).FindSubMenuHolding(ID_KEEPAWAKE_ON);
}

KeepAwakeRequest KeepAwakeRequestOf(UINT nID, bool bComputerOnly) {
    KeepAwakeRequest request;
    request.kind = KeepAwakeRequest::Stop;
    for (const HoldChoice& choice : kHoldChoices) {
        if (choice.nID == nID) {
            request.kind = KeepAwakeRequest::Start;
            request.nMinutes = choice.nMinutes;
            request.bComputerOnly = bComputerOnly;
        }
    }
    return request;
}

void PrepareKeepAwakeMenu(HMENU hMenu, int nHoldMinutes, bool bComputerOnly,
                          const AdminPolicy& policy) {
    if (!hMenu) {
        return;
    }
    CMenu menu(hMenu);
    ShowPolicy(menu, policy);
    menu.CheckMenuItem(ID_KEEPAWAKE_COMPUTER_ONLY,
                       MF_BYCOMMAND | (bComputerOnly ? MF_CHECKED : MF_UNCHECKED));
    for (const HoldChoice& choice : kHoldChoices) {
        const bool bRunning = nHoldMinutes != 0 && choice.nMinutes == nHoldMinutes;
        menu.CheckMenuItem(choice.nID, MF_BYCOMMAND | (bRunning ? MF_CHECKED : MF_UNCHECKED));
    }
    menu.CheckMenuItem(ID_KEEPAWAKE_UNTIL,
                       MF_BYCOMMAND |
                           (nHoldMinutes == kKeepAwakeUntilTime ? MF_CHECKED : MF_UNCHECKED));
    const bool bHasStop =
        menu.GetMenuState(ID_KEEPAWAKE_STOP, MF_BYCOMMAND) != static_cast<UINT>(-1);
    if (nHoldMinutes != 0 && !bHasStop) {
        CString strStop;
        strStop.LoadString(IDS_KEEPAWAKE_STOP);
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING, ID_KEEPAWAKE_STOP, strStop);
    } else if (nHoldMinutes == 0 && bHasStop) {
        menu.DeleteMenu(ID_KEEPAWAKE_STOP, MF_BYCOMMAND);
        const int nLast = menu.GetMenuItemCount() - 1;
        if (nLast >= 0 && (menu.GetMenuState(nLast, MF_BYPOSITION) & MF_SEPARATOR)) {
            menu.DeleteMenu(nLast, MF_BYPOSITION);
        }
    }
}

void TrackTrayMenu(HWND hOwner, bool bWindowVisible, int nHoldMinutes, bool bComputerOnly,
                   const AdminPolicy& policy) {
    CMenu menu;
    menu.LoadMenu(IDR_TRAY_MENU);
    CMenu popup(menu.GetSubMenu(0));
    if (!popup) {
        return;
    }
    PrepareKeepAwakeMenu(FindKeepAwakeMenu(popup), nHoldMinutes, bComputerOnly, policy);
    if (bWindowVisible) {
        CString strHide;
        strHide.LoadString(IDS_HIDE_WINDOW);
        popup.ModifyMenu(0, MF_BYPOSITION | MF_STRING, ID_TOGGLE_MAIN_WND, strHide);
    }
    popup.SetDefaultItem(0, TRUE);
    POINT cursor;
    GetCursorPos(&cursor);
    popup.TrackPopupMenu(TPM_RIGHTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, hOwner);
}

void OnKeepAwakeCommand(UINT nID, CWatchGuard& guard, CKeepAwakeOptionsDlg::HotkeyTaker& hotkey) {
    switch (nID) {
    case ID_KEEPAWAKE_COMPUTER_ONLY:
        guard.ChooseComputerOnly(!guard.IsComputerOnlyChosen());
        break;
    case ID_KEEPAWAKE_UNTIL: {
        CUntilTimeDlg untilDlg;
        // The running hold's time, to change it; else the dialog's own choice.
        if (guard.GetHoldMinutes() == kKeepAwakeUntilTime) {
            untilDlg.m_nMinute = guard.GetUntilMinute();
        }
        if (untilDlg.DoModal() != IDOK) {
            break;
        }
        KeepAwakeRequest request;
        request.kind = KeepAwakeRequest::Start;
        request.nUntilMinute = untilDlg.m_nMinute;
        request.bComputerOnly = guard.IsComputerOnlyChosen();
        guard.StartHold(request, HoldSource::Menu);
        break;
    }
    case ID_KEEPAWAKE_OPTIONS: {
        CKeepAwakeOptionsDlg optionsDlg;
        optionsDlg.m_pHotkeyTaker = &hotkey;
        if (optionsDlg.DoModal() == IDOK) {
            guard.ReloadOptions();
            guard.RunCycle();
        }
        break;
    }
    default:
        guard.StartHold(KeepAwakeRequestOf(nID, guard.IsComputerOnlyChosen()), HoldSource::Menu);
        break;
    }
}
