#pragma once

#include "CProfileFile.h"
#include "CWatchList.h"
#include "TestPaths.h"

#include <windows.h>

#include <cstdio>
#include <string>

// The list's save as it was before it wrote in one pass: a copy of the file
// takes every key through the platform's writer, then replaces the file.
// Kept to compare the one-pass save with, and to time it.
inline int KeyByKeySave(const CWatchList& list, const char* pszPath) {
    std::string copy = std::string(pszPath) + ".new";
    DeleteFileA(copy.c_str());
    if (!CopyFileA(pszPath, copy.c_str(), FALSE) && GetLastError() != ERROR_FILE_NOT_FOUND)
        return 0;
    CProfileFile profile(Wide(copy).c_str());
    bool ok = profile.WriteInt("Main", "Count", list.GetCount()) != FALSE;
    for (int i = 0; ok && i < list.GetCount(); ++i) {
        char section[32];
        std::snprintf(section, sizeof section, "Record_%d", i);
        ok = list.GetAt(i)->WriteTo(profile, section) != 0;
    }
    return ok && MoveFileExA(copy.c_str(), pszPath, MOVEFILE_REPLACE_EXISTING) ? 1 : 0;
}
