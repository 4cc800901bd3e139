#pragma once

#include "CProcessCache.h"
#include "CProcessEntry.h"
#include "WideText.h"

#include <windows.h>

#include <string>
#include <vector>

// A snapshot of the running processes whose executable path can be read, in
// the order the system enumerates them.
class CProcessList {
public:
    // The process-status functions exist on the NT family only; the tool-help
    // snapshot is the older family's way. The system-wide listing and
    // QueryFullProcessImageNameW are used where the system has them, with the
    // process-status calls alone as the fallback. Either fallback can be
    // chosen to exercise it.
    enum Api { kApiByPlatform, kApiToolHelp, kApiProcessStatus };
    // The most processes one enumeration examines.
    static constexpr int kMaxProcessIds = 10240;
    // The longest executable path read, in UTF-16 units: the system's limit.
    static constexpr int kMaxPathUnits = 32767;

    explicit CProcessList(Api api = kApiByPlatform);
    CProcessList(const CProcessList&) = delete;
    CProcessList& operator=(const CProcessList&) = delete;
    virtual ~CProcessList();

    // Replaces the entries by every process running now; returns their number.
    int Refresh();
    // Like Refresh, but only processes whose executable's file name is one of
    // the given names (FileNamePart of a path, compared as SamePath does) are
    // opened and listed. Any process whose path ends in one of the names is in
    // both snapshots, in the same order: costs grow with the processes of
    // these programs, not with everything that runs. A process that an
    // earlier refresh for the same names has seen is not opened again.
    int RefreshNamed(const std::vector<CString>& fileNames);
    void Clear();
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    // No bounds check: callers pass 0 to GetCount() - 1.
    const CProcessEntry& GetAt(int nIndex) const { return m_entries[static_cast<size_t>(nIndex)]; }
    void Add(const char* pszPath, DWORD dwProcessId, bool bPathFits = true);

protected:
    // One running process as the system-wide listing gives it.
    struct ListedProcess {
        DWORD dwProcessId;
        // Only when bNamed: the executable's file name. A process without one
        // is opened whatever names are asked for.
        bool bNamed;
        char szImageName[kMaxPathBytes];
        // When the process was created, 0 when the listing does not say:
        // such a process is opened at every refresh.
        ULONGLONG ullCreateTime;
    };

    // Lists the running processes in the system's order, at most
    // kMaxProcessIds; false when no listing could be taken.
    virtual bool ListProcesses(std::vector<ListedProcess>& processes);
    // The full path of one process's executable, as the system spells it;
    // false when the process cannot be opened or its path cannot be read.
    virtual bool ReadPath(DWORD dwProcessId, std::wstring& path);

private:
    int Take(const std::vector<CString>* pFileNames);
    CProcessCache::Learnt Learn(const ListedProcess& process,
                                const std::vector<CString>* pFileNames);
    int Enum9x();

    bool m_bNT;
    bool m_bProcessStatusOnly;
    std::vector<CProcessEntry> m_entries;
    // Kept between refreshes so that a refresh allocates little besides its
    // entries.
    std::vector<ListedProcess> m_listed;
    std::vector<BYTE> m_systemInfo;
    std::vector<wchar_t> m_pathBuffer;
    // What the refreshes learnt, valid for the names they were asked for.
    CProcessCache m_cache;
    bool m_bCacheNamed = false;
    std::vector<CString> m_cacheNames;
};
