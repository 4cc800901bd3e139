#pragma once

#include <windows.h>

// Tells the user that a file could not be saved: its path as the system
// spells it, whatever the code page holds, and the system's reason.
void ShowSaveFailure(HWND hOwner, const wchar_t* pszPath, DWORD dwError);
