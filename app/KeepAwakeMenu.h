#pragma once

#include "AdminPolicy.h"
#include "CKeepAwakeOptionsDlg.h"
#include "KeepAwake.h"

class CWatchGuard;

#include <windows.h>

// The keep-awake submenu, the same in the menu bar and in the tray popup: its
// choices, and a stop item that is there only while a hold is on; and the
// tray popup that holds it.

// The submenu that holds the choices, wherever a menu puts it; null when none.
HMENU FindKeepAwakeMenu(HMENU hMenu);
// What a choice asks for: a hold of its minutes (kKeepAwakeUntilStopped for
// one without an end) of the computer alone or of the screen; the stop item
// (and any other command) stops the hold.
KeepAwakeRequest KeepAwakeRequestOf(UINT nID, bool bComputerOnly);
// Checks the choice of the hold that runs (its minutes, 0 for none) and
// whether holds keep the computer alone, and adds or removes the stop item
// with its separator to match. What the administrator's policy forbids is
// greyed, and greyed notes at the top say what it decides.
void PrepareKeepAwakeMenu(HMENU hMenu, int nHoldMinutes, bool bComputerOnly,
                          const AdminPolicy& policy);

// Shows the tray icon's popup menu at the cursor for the owner window: its
// first item shows the window or, while it is visible, hides it.
void TrackTrayMenu(HWND hOwner, bool bWindowVisible, int nHoldMinutes, bool bComputerOnly,
                   const AdminPolicy& policy);

// A choice of either keep-awake menu, carried out: a hold or its end, the
// computer-only switch, a hold until the time of day the user picks, or the
// options, which apply at once (the hotkey taken by its holder).
void OnKeepAwakeCommand(UINT nID, CWatchGuard& guard, CKeepAwakeOptionsDlg::HotkeyTaker& hotkey);
