#pragma once

#include "CProfileText.h"

#include <windows.h>

#include <functional>

// Tells the user that a file could not be saved: its path as the system
// spells it, whatever the code page holds, and the system's reason.
void ShowSaveFailure(HWND hOwner, const wchar_t* pszPath, DWORD dwError);

// A settings dialog's OK: the file saved in one step (SaveProfileInOneStep),
// or the user told over hOwner why not. The program reads such settings from
// the file, so an unsaved change would not even hold for this run: on false
// the dialog stays, to try again or cancel.
bool SaveSettingsOrTell(HWND hOwner, const wchar_t* pszPath,
                        const std::function<bool(CProfileText&)>& write);
