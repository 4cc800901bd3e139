#pragma once

#include <windows.h>

class CProcessList;
class CWatchItem;
class CWatchList;

// The decision which watch items are in effect, over a given process snapshot
// and the id of the process that owns the foreground window (0 when there is
// no foreground window).

// Whether the item is in effect. When its program runs, *pForeground (if not
// null) receives 1 when any of its processes owns the foreground window, else
// 0; otherwise *pForeground is left as it is.
bool IsWatchItemInEffect(const CWatchItem& item, const CProcessList& processes,
                         DWORD dwForegroundPid, BYTE* pForeground);

// Index of the first item at or after nFirst that is in effect, or -1. Every
// item tested gets pForeground, so after a hit it holds the flag of that item.
int FindWatchItemInEffect(const CWatchList& watchList, int nFirst, const CProcessList& processes,
                          DWORD dwForegroundPid, BYTE* pForeground);
