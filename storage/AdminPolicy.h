#pragma once

#include "CString.h"

#include <windows.h>

#include <vector>

// What an administrator decides for every user through Group Policy: values
// under SOFTWARE\Policies\Qorvane of the machine and of the user, read with
// the registry's own calls and treated as input from outside. An absent value
// leaves the user's own choice; a value of the wrong type or out of range is
// as if absent; where both hives set a value, the machine's wins.

// The key, under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
extern const char kPolicyKey[];
// Its subkey of always-watched programs: values "1", "2", … each a path
// (REG_SZ or REG_EXPAND_SZ), which may hold "*" for folders.
extern const char kPolicyWatchedKey[];

// The DWORD values and the range each may take.
struct PolicyValueName {
    const char* pszName;
    DWORD dwMin;
    DWORD dwMax;
};
extern const char kPolicyDisableKeepAwake[];
extern const char kPolicyMaxHoldMinutes[];
extern const char kPolicyDisableComputerAwake[];
extern const char kPolicyDisableAreaBlackout[];
extern const PolicyValueName kPolicyValues[4];

// The most programs a policy may watch, and the longest path it may name
// (the list's own items are held to the same).
const int kPolicyMaxWatched = 256;
const int kPolicyMaxPathChars = 1024;
