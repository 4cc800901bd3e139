#pragma once

#include <windows.h>

// The keep-awake submenu, the same in the menu bar and in the tray popup: its
// choices, and a stop item that is there only while a hold is on.

// The submenu that holds the choices, wherever a menu puts it; null when none.
HMENU FindKeepAwakeMenu(HMENU hMenu);
// The minutes a choice asks for: kKeepAwakeUntilStopped for a hold without
// an end, 0 for the stop item (and for any other command).
int KeepAwakeMinutesOf(UINT nID);
// Checks the choice of the hold that runs (its minutes, 0 for none) and
// whether holds keep the computer alone, and adds or removes the stop item
// with its separator to match.
void PrepareKeepAwakeMenu(HMENU hMenu, int nHoldMinutes, bool bComputerOnly);
