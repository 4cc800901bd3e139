#pragma once

#include "CProcessEntry.h"

#include <windows.h>

#include <vector>

// A snapshot of the running processes whose executable path can be read, in
// the order the system enumerates them.
class CProcessList {
public:
    // The process-status functions exist on the NT family only; the tool-help
    // snapshot is the older family's way and can be chosen to exercise it.
    enum Api { kApiByPlatform, kApiToolHelp };
    // The most process ids one enumeration examines.
    static constexpr int kMaxProcessIds = 10240;

    explicit CProcessList(Api api = kApiByPlatform);
    CProcessList(const CProcessList&) = delete;
    CProcessList& operator=(const CProcessList&) = delete;
    virtual ~CProcessList();

    // Replaces the entries by the processes running now; returns their number.
    int Refresh();
    void Clear();
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    // No bounds check: callers pass 0 to GetCount() - 1.
    const CProcessEntry& GetAt(int nIndex) const { return m_entries[static_cast<size_t>(nIndex)]; }
    void Add(const char* pszPath, DWORD dwProcessId);

private:
    int EnumNT();
    int Enum9x();

    bool m_bNT;
    std::vector<CProcessEntry> m_entries;
};
