#pragma once

#include <windows.h>

// The menu item that starts the program with Windows, in the menu given.

// Checked as the registry holds the program's start now.
void ShowAutoRunItem(HMENU hMenu);
// The user's click: the start with Windows goes or comes, and the item shows
// what the registry holds afterwards; a start for all users that stays is
// explained, or the click would seem to do nothing.
void ToggleAutoRunItem(HMENU hMenu);
