#pragma once

#include "CString.h"

#include <windows.h>

#include <unordered_map>

// What earlier listings learnt about each running process, by its id and
// creation time: a process that is still there is not opened again, while a
// new one that took the id of one that ended is. A pass over a new listing
// recalls or remembers every process in it; EndPass forgets the rest.
class CProcessCache {
public:
    struct Learnt {
        // It runs one of the programs asked for and its path could be read.
        bool bListed = false;
        CString strPath;
        bool bPathFits = true;
    };

    CProcessCache() = default;
    CProcessCache(const CProcessCache&) = delete;
    CProcessCache& operator=(const CProcessCache&) = delete;

    // What was learnt of this process, or null when it is new: never seen,
    // or its id now belongs to a process created at another time. Counts it
    // as still there.
    const Learnt* Recall(DWORD dwProcessId, ULONGLONG ullCreateTime);
    // Keeps what was learnt of a process that Recall did not know.
    const Learnt& Remember(DWORD dwProcessId, ULONGLONG ullCreateTime, const Learnt& learnt);
    // Forgets the processes that this pass neither recalled nor remembered:
    // they have ended.
    void EndPass();
    void Clear();
    int GetCount() const { return static_cast<int>(m_records.size()); }

private:
    struct Record {
        ULONGLONG ullCreateTime;
        unsigned nPass;
        Learnt learnt;
    };

    std::unordered_map<DWORD, Record> m_records;
    unsigned m_nPass = 0;
};
