#pragma once

#include <windows.h>

// Removes the wake commands (WM_COMMAND 3728) waiting at the front of the
// window's posted commands, and returns how many. Each one would only repeat
// the wake that is being handled, with a full watch cycle of its own.
int DrainQueuedWakes(HWND hWnd);
