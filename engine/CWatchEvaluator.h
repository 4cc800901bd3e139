#pragma once

#include "CProcessList.h"

#include <windows.h>

#include <vector>

class CWatchItem;
class CWatchList;

// Walks the items of a watch list that are in effect now: one process
// snapshot per walk, FindFirstInEffect then FindNextInEffect until -1.
class CWatchEvaluator {
public:
    // The list must outlive the evaluator.
    explicit CWatchEvaluator(const CWatchList& watchList);
    CWatchEvaluator(const CWatchEvaluator&) = delete;
    CWatchEvaluator& operator=(const CWatchEvaluator&) = delete;
    virtual ~CWatchEvaluator();

    // Takes a new snapshot; returns the index of the first item in effect, or
    // -1. *pForeground (if not null) receives 1 when that item's program owns
    // the foreground window, else 0.
    int FindFirstInEffect(BYTE* pForeground);
    // Like FindFirstInEffect, but on the processes of the last snapshot, with
    // only the foreground window looked up anew: for a change of the
    // foreground, which starts and ends no process.
    int FindFirstInEffectInForeground(BYTE* pForeground);
    // The next item in effect after the last one found, on the same snapshot;
    // -1 at the end of a walk and before any.
    int FindNextInEffect();
    // The test of one item against the current snapshot, which holds only the
    // processes of the programs that the list's enabled items name.
    bool IsInEffect(const CWatchItem& item, BYTE* pForeground) const;

protected:
    // Fills what one walk decides on: the running processes of the watched
    // programs and the process that owns the foreground window, 0 when there
    // is no foreground window.
    virtual void TakeSnapshot(CProcessList& processes, DWORD& dwForegroundPid);
    // The process that owns the foreground window, 0 when there is none.
    virtual DWORD ReadForegroundPid();

private:
    const CWatchList& m_watchList;
    CProcessList m_processes;
    std::vector<CString> m_fileNames;
    DWORD m_dwForegroundPid;
    int m_nEvalCursor;
};
