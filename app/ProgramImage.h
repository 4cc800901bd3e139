#pragma once

#include <windows.h>

// Whether the process runs the same executable file as this process: the
// same file by volume and file index, or, where either file cannot be opened
// to tell, the same full path in any letter case. False when the process
// cannot be queried. Paths go through the wide calls, so folders that the
// code page cannot spell compare as they are.
bool IsRunningThisProgram(DWORD dwProcessId);
