#pragma once

#include <windows.h>

// Paths of executables as the system reports them, in the ANSI code page.

// Whether two paths or file names name the same file: letter case is ignored
// for every letter, as the file system ignores it, in the same upper case as
// MatchesWatchedPath uses. Texts read as characters of nCodePage; a text that
// is not valid there is compared byte for byte.
bool SamePath(const char* pszA, const char* pszB, UINT nCodePage = CP_ACP);
// Their order as the system sorts names: below, at or above 0.
int ComparePaths(const char* pszA, const char* pszB);

// What follows the last backslash, or the whole path when there is none. In
// double-byte code pages 0x5C can be a trail byte, which is no separator.
const char* FileNamePart(const char* pszPath);
