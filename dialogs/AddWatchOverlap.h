#pragma once

#include "CWatchList.h"

#include <windows.h>

// A program added twice, or a path beside a pattern that matches it, would
// make rows that look alike and keep the screen awake for one reason twice.

// What the user chose when the program to add is watched already.
enum class OverlapChoice { kAddNew, kOpenExisting, kCancel };

// The first item of the list that watches a program the path (or pattern)
// would watch too (WatchedPathsOverlap); -1 when none does.
int FindOverlappingItem(const CWatchList& list, const char* pszPath, UINT nCodePage = CP_ACP);

// Before an item for pszPath joins the list: when an item watches the same
// program, asks whether to open that item's properties instead (its index
// then in *pnExisting), to add the new one anyway, or to add nothing.
// kAddNew, without a question, when no item does.
OverlapChoice AskAboutOverlap(HWND hOwner, const CWatchList& list, const char* pszPath,
                              int* pnExisting);
