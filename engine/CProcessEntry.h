#pragma once

#include "CString.h"

#include <windows.h>

// One running process: the full path of its executable and its id.
class CProcessEntry {
public:
    CProcessEntry() = default;
    CProcessEntry(const char* pszPath, DWORD dwProcessId)
        : m_strPath(pszPath), m_dwProcessId(dwProcessId) {}

    CString m_strPath;
    DWORD m_dwProcessId = 0;
};
