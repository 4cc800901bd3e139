#pragma once

#include "CProfileText.h"

#include <functional>

// Saves a private-profile file in one step. The file's current sections, as
// the platform reads them, are changed in memory by write; the result is
// written beside the file ("<name>.new"), flushed to the disk and renamed over
// it, so that a reader, and a save cut short by a crash or a power loss,
// finds the old file or the new one, never a part of either.
// nRewrittenRecords: write gives the sections Record_0 to Record_<n-1> all
// their keys anew, so those that hold nothing else need not be read.
// Returns 0, with the old file untouched and the cause in GetLastError, when
// anything fails (write returning false too), and refuses a read-only file
// as Windows would.
int SaveProfileInOneStep(const wchar_t* pszPath, int nRewrittenRecords,
                         const std::function<bool(CProfileText&)>& write);
