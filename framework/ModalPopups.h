#pragma once

#include <windows.h>

// The dialogs and message boxes that a window owns, directly or through one
// another, while they run their modal loops on the window's thread.

// The innermost of them: the one that takes the user's input now, or null
// when none is open.
HWND AfxGetModalPopup(HWND hOwner);

// Brings the innermost one to the front; false when none is open.
bool AfxActivateModalPopup(HWND hOwner);

// Ends every one of them as a click on Cancel would, innermost first: their
// modal loops return IDCANCEL (a message box's loop too), and the code that
// ran them goes on as after a cancel.
void AfxCancelModalPopups(HWND hOwner);
