#pragma once

#include <windows.h>

// Watched paths that outlive a program's updates. A program that installs
// into a folder named after its version moves with every update; a '*' in a
// folder name of the watched path stands for any text within that one folder
// name (C:\Users\me\AppData\Local\Chat\app-*\Chat.exe). No Windows path can
// hold a '*', so a path without one keeps its exact meaning.

// Whether the path holds a '*' anywhere.
bool IsPathPattern(const char* pszPath);

// Whether the file-name part (after the last backslash) holds a '*'. The
// watch cycle opens only processes whose executable is named as a watched
// file name, so such a pattern never matches and the dialogs refuse it.
bool HasWildcardInFileName(const char* pszPath);

// Whether the process path matches the watched path: as SamePath does for a
// path without '*'; otherwise folder by folder, each '*' matching any text
// (also none) that holds no backslash, letter case ignored as SamePath
// ignores it, and the file name exact but for its case. Both texts are read
// as characters of nCodePage: a double-byte character whose second byte is
// 0x5C is no separator. Text that is not valid in the code page never matches
// a pattern.
bool MatchesWatchedPath(const char* pszPattern, const char* pszPath, UINT nCodePage = CP_ACP);

// Whether some program's path is watched by both watched paths (each a path
// or a pattern): the same path; a pattern that matches the other path; or two
// patterns with the same number of folders and the same file name whose
// folder names, pair by pair, some one name matches.
bool WatchedPathsOverlap(const char* pszA, const char* pszB, UINT nCodePage = CP_ACP);
