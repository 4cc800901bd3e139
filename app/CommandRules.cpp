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
    case ID_KEEPAWAKE_30:
    case ID_KEEPAWAKE_60:
    case ID_KEEPAWAKE_120:
    case ID_KEEPAWAKE_ON:
    case ID_KEEPAWAKE_STOP:
    case ID_KEEPAWAKE_COMPUTER_ONLY:
        // Keeping awake opens nothing and changes no item.
        return ModalCommand::Run;
    default:
        // Every other command either opens a dialog, changes the list or
        // the window the dialog stands for, or comes from a menu the dialog
        // has disabled: the user is sent back to the dialog.
        return ModalCommand::ShowOpenDialog;
    }
}
