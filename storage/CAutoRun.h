#pragma once

#include "CString.h"

#include <windows.h>

// A registry key named by its root and its path below the root.
struct RegistryKeyPath {
    HKEY hRoot;
    const char* pszSubKey;
};

// The registration that starts the program at every log-on: one value under a
// Run key whose data is the program's quoted path. The program writes the
// user's own key, which every user may write; a value that an administrator
// put under the machine-wide key counts too, as older versions wrote there.
class CAutoRun {
public:
    // What turning the registration off does with a machine-wide value. One
    // that setup for all users wrote is the administrator's choice for every
    // user of the computer and stays, also when the user could delete it.
    enum class MachineValue { Delete, Keep };

    static const RegistryKeyPath kUserRunKey;
    static const RegistryKeyPath kMachineRunKey;

    explicit CAutoRun(const char* pszValueName, RegistryKeyPath userKey = kUserRunKey,
                      RegistryKeyPath machineKey = kMachineRunKey);
    CAutoRun(const CAutoRun&) = delete;
    CAutoRun& operator=(const CAutoRun&) = delete;
    virtual ~CAutoRun();

    // True when the value exists under either key, whatever its type and data.
    bool IsEnabled() const;
    // Writes the running executable's path (as UTF-16) in quotes, followed by one space
    // and the parameters when there are any, under the user's key (created
    // when missing). Returns a registry status.
    LONG Enable(const char* pszParameters = nullptr) const;
    // Deletes the value under both keys (only the user's when the machine-wide
    // one is to be kept). Returns ERROR_FILE_NOT_FOUND when there was none,
    // the refusal when the machine-wide value stays (a user without
    // administrator rights, or ERROR_ACCESS_DENIED when it is kept), else
    // ERROR_SUCCESS.
    LONG Disable(MachineValue machineValue = MachineValue::Delete) const;
    // Disables a registration that exists, else enables one; returns whether
    // one exists afterwards (a machine-wide one that a user cannot delete).
    bool Toggle(MachineValue machineValue = MachineValue::Delete) const;

private:
    CString m_strValueName;
    RegistryKeyPath m_userKey;
    RegistryKeyPath m_machineKey;
};
