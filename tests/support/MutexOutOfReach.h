#pragma once

#include <windows.h>

// A named mutex as one started as administrator leaves it to a standard
// user: its list of rights grants nobody anything, so that opening it for
// more than waiting fails with ERROR_ACCESS_DENIED. Wine has no elevation,
// but its server keeps such a list. Owns the handle; null when the name was
// taken already.
class MutexOutOfReach {
public:
    explicit MutexOutOfReach(const char* pszName);
    MutexOutOfReach(const MutexOutOfReach&) = delete;
    MutexOutOfReach& operator=(const MutexOutOfReach&) = delete;
    ~MutexOutOfReach();
    HANDLE Get() const { return m_h; }

private:
    HANDLE m_h = nullptr;
};
