#pragma once

#include <windows.h>

// Whether a WM_COMMAND asks for its command: menus and accelerators always,
// a button only with its click (an owner-drawn button also reports the second
// click of a double-click, which must not run the command again).
bool IsCommandRequest(UINT nNotifyCode, HWND hControl);

// What the main window does with a command while one of its dialogs or
// message boxes is open.
enum class ModalCommand {
    Run,               // nothing of it meets the open dialog
    ShowOpenDialog,    // it would open another dialog or change the list
    CancelDialogsThen, // the program ends: the dialogs go as if cancelled
};
ModalCommand DecideCommandWhileModal(UINT nID);
