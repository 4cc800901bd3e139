#include "KeepAwakeMenu.h"

#include "CKeepAwakeOptionsDlg.h"
#include "CMenu.h"
#include "CUntilTimeDlg.h"
#include "CWatchGuard.h"
#include "CString.h"
#include "KeepAwake.h"
#include "resource.h"

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

void PrepareKeepAwakeMenu(HMENU hMenu, int nHoldMinutes, bool bComputerOnly) {
    if (!hMenu) {
        return;
    }
    CMenu menu(hMenu);
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

void TrackTrayMenu(HWND hOwner, bool bWindowVisible, int nHoldMinutes, bool bComputerOnly) {
    CMenu menu;
    menu.LoadMenu(IDR_TRAY_MENU);
    CMenu popup(menu.GetSubMenu(0));
    if (!popup) {
        return;
    }
    PrepareKeepAwakeMenu(FindKeepAwakeMenu(popup), nHoldMinutes, bComputerOnly);
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
