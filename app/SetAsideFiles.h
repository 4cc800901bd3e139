#pragma once

#include <windows.h>

// What setup leaves beside the program when it replaces a file in use: the old
// file renamed to "<name>.<number>.old", still mapped by programs that ran
// the hooks, deleted once nothing maps it any more.

// Whether a file name is one of those, for the program's own two files, in any
// letter case.
bool IsSetAsideName(const wchar_t* pszName);
// Deletes such files beside this program's executable; one still in use
// stays for a later start. One listing of the folder.
void DeleteSetAsideFiles();
