#pragma once

#include "CString.h"

#include <windows.h>

// The machine-wide registration that starts the program at every log-on: one
// value under the Run key whose data is the program's path.
class CAutoRun {
public:
    explicit CAutoRun(const char* pszValueName);
    CAutoRun(const CAutoRun&) = delete;
    CAutoRun& operator=(const CAutoRun&) = delete;
    virtual ~CAutoRun();

    // True when the value exists, whatever its type and data.
    bool IsEnabled() const;
    // Writes the running executable's path, unquoted, followed by one space
    // and the parameters when there are any. Returns a registry status.
    LONG Enable(const char* pszParameters = nullptr) const;
    // Deletes the value. Returns a registry status (ERROR_FILE_NOT_FOUND when
    // there was none).
    LONG Disable() const;

private:
    CString m_strValueName;
};
