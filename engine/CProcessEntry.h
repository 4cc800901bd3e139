#pragma once

#include "CString.h"

#include <windows.h>

// One running process: the full path of its executable and its id.
class CProcessEntry {
public:
    CProcessEntry() = default;
    CProcessEntry(const char* pszPath, DWORD dwProcessId, bool bPathFits = true)
        : m_strPath(pszPath), m_dwProcessId(dwProcessId), m_bPathFits(bPathFits) {}

    // In the ANSI code page; where that cannot hold a character, as the ANSI
    // functions have always given it ('?').
    CString m_strPath;
    DWORD m_dwProcessId = 0;
    // The code page holds the path exactly: only such a path can be watched.
    bool m_bPathFits = true;
};
