#include "WatchEvaluation.h"

#include "CProcessList.h"
#include "CWatchList.h"

#include <mbstring.h>

namespace {

// Paths are in the ANSI code page: a byte-wise comparison would fold the trail
// bytes of double-byte characters as if they were ASCII letters.
bool SamePath(const CString& a, const CString& b) {
    return _mbsicoll(reinterpret_cast<const unsigned char*>(a.GetString()),
                     reinterpret_cast<const unsigned char*>(b.GetString())) == 0;
}

} // namespace

bool IsWatchItemInEffect(const CWatchItem& item, const CProcessList& processes,
                         DWORD dwForegroundPid, BYTE* pForeground) {
    if (item.m_nValidCondition == 0)
        return false;
    // Browsers and many other programs run several processes of one
    // executable, and the window the user sees often belongs to a later one:
    // any of them in the foreground counts.
    bool bRunning = false;
    bool bForeground = false;
    for (int i = 0; i < processes.GetCount() && !bForeground; ++i) {
        const CProcessEntry& process = processes.GetAt(i);
        if (!SamePath(item.m_strFileName, process.m_strPath))
            continue;
        bRunning = true;
        bForeground = dwForegroundPid != 0 && process.m_dwProcessId == dwForegroundPid;
    }
    if (!bRunning)
        return false;
    if (pForeground)
        *pForeground = bForeground ? 1 : 0;
    return item.m_nValidCondition == 1 || bForeground;
}

int FindWatchItemInEffect(const CWatchList& watchList, int nFirst, const CProcessList& processes,
                          DWORD dwForegroundPid, BYTE* pForeground) {
    for (int i = nFirst; i < watchList.GetCount(); ++i) {
        if (IsWatchItemInEffect(*watchList.GetAt(i), processes, dwForegroundPid, pForeground))
            return i;
    }
    return -1;
}
