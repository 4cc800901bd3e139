#pragma once

#include "CString.h"

#include <windows.h>

#include <string>

// The text of a window as the system holds it, before any code page touches it.
std::wstring WideWindowText(HWND hWnd);

// A normalized path (NormalizePathText) with the long names of what exists
// of it: of the file, or else of its longest folder that exists; of a
// pattern, of the folders before the first name with a '*'. An 8.3 name
// typed by hand would never match the path a process reports.
std::wstring WithLongNames(const std::wstring& path, size_t nRootLength);

// The path typed (or pasted, or browsed) into a dialog's edit, in the form
// and the ANSI code page in which watch items are kept: without blanks or
// quotes around it, normalized (NormalizePathText) and with long names
// (WithLongNames). Empty when the edit holds nothing else. A path that is no
// full path or no valid one, or that the code page cannot hold (it would be
// stored with '?' and name no file), is refused with a message that shows it
// as the system spells it and says why, the edit gets the focus back with
// its text selected, and the answer is false. The edit keeps its own
// procedure: one reached through the ANSI functions would lose those
// characters first.
bool ReadPathFromEdit(HWND hDlg, int nEditID, CString& strPath);

// True when pszPath names a file that exists, or is a pattern (which names
// no one file), or when the user, asked, wants to keep it all the same (a
// program on a drive that is not plugged in now). Otherwise the edit gets
// the focus back with its text selected.
bool ConfirmMissingProgram(HWND hDlg, int nEditID, const char* pszPath);
