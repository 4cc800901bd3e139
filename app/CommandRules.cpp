#include "CommandRules.h"

#include "resource.h"

bool IsCommandRequest(UINT nNotifyCode, HWND hControl) {
    return hControl == nullptr || nNotifyCode == BN_CLICKED;
}

ModalCommand DecideCommandWhileModal(UINT nID) {
    switch (nID) {
    case ID_APP_EXIT:
        return ModalCommand::CancelDialogsThen;
    case ID_AREA_BLACK_WAKE:
        return ModalCommand::Run;
    default:
        // Every other command either opens a dialog, changes the list or
        // the window the dialog stands for, or comes from a menu the dialog
        // has disabled: the user is sent back to the dialog.
        return ModalCommand::ShowOpenDialog;
    }
}
