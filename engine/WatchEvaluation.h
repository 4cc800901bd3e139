#pragma once

#include "CString.h"

#include <windows.h>

#include <vector>

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

// The file names of the executables whose processes can put an item of the
// list in effect, each once: a snapshot of only the processes running these
// (CProcessList::RefreshNamed) decides the list as a full snapshot does.
void CollectWatchedFileNames(const CWatchList& watchList, std::vector<CString>& fileNames);

// Whether the list has an enabled item valid only while its program owns the
// foreground window: only then do changes of the foreground need watching.
bool HasForegroundItem(const CWatchList& watchList);

// Whether the foreground window can change what the list decides: an item
// valid in the foreground, or an enabled item with a blackout, which arms only
// in the foreground. Otherwise a snapshot need not look the window up.
bool DependsOnForeground(const CWatchList& watchList);
