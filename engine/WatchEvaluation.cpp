#include "WatchEvaluation.h"

#include "CProcessList.h"
#include "CWatchList.h"
#include "PathPattern.h"
#include "ProcessPath.h"

bool IsWatchItemInEffect(const CWatchItem& item, const CProcessList& processes,
                         DWORD dwForegroundPid, BYTE* pForeground) {
    if (item.m_nValidCondition == 0)
        return false;
    // Browsers and many other programs run several processes of one
    // executable, and the window the user sees often belongs to a later one:
    // any of them in the foreground counts.
    bool bRunning = false;
    bool bForeground = false;
    const bool bPattern = IsPathPattern(item.m_strFileName);
    for (int i = 0; i < processes.GetCount() && !bForeground; ++i) {
        const CProcessEntry& process = processes.GetAt(i);
        if (bPattern ? !MatchesWatchedPath(item.m_strFileName, process.m_strPath)
                     : !SamePath(item.m_strFileName, process.m_strPath))
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

void CollectWatchedFileNames(const CWatchList& watchList, std::vector<CString>& fileNames) {
    fileNames.clear();
    for (int i = 0; i < watchList.GetCount(); ++i) {
        const CWatchItem& item = *watchList.GetAt(i);
        // A disabled item needs no process, no process path is empty or
        // ends in a backslash, and a star in the file name matches nothing.
        const char* pszName = FileNamePart(item.m_strFileName);
        if (item.m_nValidCondition == 0 || *pszName == '\0' || IsPathPattern(pszName))
            continue;
        bool bKnown = false;
        for (const CString& name : fileNames)
            bKnown = bKnown || SamePath(name, pszName);
        if (!bKnown)
            fileNames.emplace_back(pszName);
    }
}

bool HasForegroundItem(const CWatchList& watchList) {
    for (int i = 0; i < watchList.GetCount(); ++i) {
        if (watchList.GetAt(i)->m_nValidCondition == 2)
            return true;
    }
    return false;
}

bool DependsOnForeground(const CWatchList& watchList) {
    for (int i = 0; i < watchList.GetCount(); ++i) {
        const CWatchItem& item = *watchList.GetAt(i);
        if (item.m_nValidCondition == 2 || (item.m_nValidCondition != 0 && item.m_nAreaBlack != 0))
            return true;
    }
    return false;
}
