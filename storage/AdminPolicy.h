#pragma once

#include "CString.h"
#include "CWatchItem.h"

#include <windows.h>

#include <string>
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

// What the policy decides, both hives together.
struct AdminPolicy {
    // No hold can be started and the working hours keep nothing awake.
    bool bDisableKeepAwake = false;
    // Holds last this long at most; 0 for no limit.
    int nMaxHoldMinutes = 0;
    // The computer is never kept awake for its own sake.
    bool bDisableComputerAwake = false;
    bool bDisableAreaBlackout = false;
    // Programs always watched, in the ANSI code page the list keeps its paths in.
    std::vector<CString> watched;

    bool Any() const {
        return bDisableKeepAwake || nMaxHoldMinutes > 0 || bDisableComputerAwake ||
               bDisableAreaBlackout || !watched.empty();
    }
    bool operator==(const AdminPolicy& other) const;
    bool operator!=(const AdminPolicy& other) const { return !(*this == other); }
};

// One hive's reading, before the two are put together.
struct PolicyHive {
    // Per entry of kPolicyValues: whether the hive sets it, as a DWORD in range.
    bool bSet[4] = {};
    DWORD dwValue[4] = {};
    // The watched programs' values, in the order of their names.
    std::vector<CString> watched;
};

// One raw registry value of kPolicyValues[nIndex]: its DWORD when the type is
// REG_DWORD, the size four bytes and the number within range.
bool TakePolicyDword(int nIndex, DWORD dwType, const BYTE* pData, DWORD cbData, DWORD* pValue);
// One watched program's raw value: a REG_SZ or REG_EXPAND_SZ (expanded) path
// of at most kPolicyMaxPathChars, blanks around it dropped, that the ANSI code
// page can hold; false for anything else.
bool TakePolicyPath(DWORD dwType, const BYTE* pData, DWORD cbData, CString* pPath);
// The order of the watched programs' values: "1", "2", … by number, any other
// name after them by name.
bool PolicyNameBefore(const std::wstring& left, const std::wstring& right);
// The machine's value wins; the watched programs of both hives count, the
// machine's first, each path once.
AdminPolicy MergeAdminPolicy(const PolicyHive& machine, const PolicyHive& user);

// The items the list shows and watches for the policy's programs: valid while
// they run, keeping the screen saver and the display off, named after the
// program's file.
std::vector<CWatchItem> PolicyWatchItems(const std::vector<CString>& paths);

// The registry's reading of one hive (HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER),
// in the 64-bit view on a 64-bit system whatever the program's bitness.
PolicyHive ReadPolicyHive(HKEY hRoot);
// Both hives now.
AdminPolicy ReadAdminPolicy();
