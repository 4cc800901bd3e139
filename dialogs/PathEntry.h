#pragma once

#include "CString.h"

#include <windows.h>

#include <string>

// The text of a window as the system holds it, before any code page touches it.
std::wstring WideWindowText(HWND hWnd);

// The path typed (or pasted, or browsed) into a dialog's edit, in the ANSI
// code page in which watch items are kept. A path that code page cannot hold
// would be stored with '?' and name no file: it is refused with a message
// that shows it as the system spells it and says why, the edit gets the
// focus back, and the answer is false. The edit keeps its own procedure: one
// reached through the ANSI functions would lose those characters first.
bool ReadPathFromEdit(HWND hDlg, int nEditID, CString& strPath);
