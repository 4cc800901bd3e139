#include "CWatchEvaluator.h"

#include "CWatchList.h"
#include "WatchEvaluation.h"

CWatchEvaluator::CWatchEvaluator(const CWatchList& watchList)
    : m_watchList(watchList), m_dwForegroundPid(0), m_nEvalCursor(-1) {}

CWatchEvaluator::~CWatchEvaluator() = default;

int CWatchEvaluator::FindFirstInEffect(BYTE* pForeground) {
    m_nEvalCursor = -1;
    if (pForeground)
        *pForeground = 0;
    TakeSnapshot(m_processes, m_dwForegroundPid);
    m_nEvalCursor =
        FindWatchItemInEffect(m_watchList, 0, m_processes, m_dwForegroundPid, pForeground);
    return m_nEvalCursor;
}

int CWatchEvaluator::FindFirstInEffectInForeground(BYTE* pForeground) {
    if (pForeground)
        *pForeground = 0;
    m_dwForegroundPid = m_processes.GetCount() > 0 ? ReadForegroundPid() : 0;
    m_nEvalCursor =
        FindWatchItemInEffect(m_watchList, 0, m_processes, m_dwForegroundPid, pForeground);
    return m_nEvalCursor;
}

int CWatchEvaluator::FindNextInEffect() {
    if (m_nEvalCursor < 0)
        return -1;
    m_nEvalCursor = FindWatchItemInEffect(m_watchList, m_nEvalCursor + 1, m_processes,
                                          m_dwForegroundPid, nullptr);
    return m_nEvalCursor;
}

bool CWatchEvaluator::IsInEffect(const CWatchItem& item, BYTE* pForeground) const {
    return IsWatchItemInEffect(item, m_processes, m_dwForegroundPid, pForeground);
}

void CWatchEvaluator::TakeSnapshot(CProcessList& processes, DWORD& dwForegroundPid) {
    CollectWatchedFileNames(m_watchList, m_fileNames);
    dwForegroundPid = 0;
    // With nothing that could be in effect a listing of every process would
    // only be thrown away: an idle program guarding nothing costs nothing.
    if (m_fileNames.empty()) {
        processes.Clear();
        return;
    }
    processes.RefreshNamed(m_fileNames);
    // Two calls to the window manager per cycle that most lists need not pay.
    if (processes.GetCount() > 0 && DependsOnForeground(m_watchList))
        dwForegroundPid = ReadForegroundPid();
}

DWORD CWatchEvaluator::ReadForegroundPid() {
    DWORD dwProcessId = 0;
    if (HWND hForeground = GetForegroundWindow())
        GetWindowThreadProcessId(hForeground, &dwProcessId);
    return dwProcessId;
}
