#include "CProcessList.h"

#include "ProcessPath.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <cstring>

namespace {

using NtQuerySystemInformationFn = NTSTATUS(WINAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG,
                                                     PULONG);
using QueryFullProcessImageNameWFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using GetModuleFileNameExWFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);
using CreateToolhelp32SnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using Process32Fn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);

const NTSTATUS kStatusInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
const size_t kCreateTimeOffset = 32;

// Bound by name at run time, so that the program starts on systems that lack
// some of them: the system-wide listing and QueryFullProcessImageNameW are
// newer than the process-status library, which stays as their fallback. The
// libraries stay loaded for the process's life.
struct ProcessApi {
    NtQuerySystemInformationFn pNtQuerySystemInformation = nullptr;
    QueryFullProcessImageNameWFn pQueryFullProcessImageNameW = nullptr;
    EnumProcessesFn pEnumProcesses = nullptr;
    GetModuleFileNameExWFn pGetModuleFileNameExW = nullptr;
};

struct ToolHelpApi {
    CreateToolhelp32SnapshotFn pCreateSnapshot = nullptr;
    Process32Fn pProcess32First = nullptr;
    Process32Fn pProcess32Next = nullptr;
};

template <typename Fn> Fn Bind(HMODULE hModule, const char* pszName) {
    if (!hModule)
        return nullptr;
    // Through the generic function pointer type: a direct cast from FARPROC
    // draws a cast-function-type warning.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(hModule, pszName)));
}

const ProcessApi& LoadProcessApi() {
    static const ProcessApi api = [] {
        ProcessApi bound;
        bound.pNtQuerySystemInformation =
            Bind<NtQuerySystemInformationFn>(LoadLibraryA("ntdll.dll"), "NtQuerySystemInformation");
        bound.pQueryFullProcessImageNameW = Bind<QueryFullProcessImageNameWFn>(
            LoadLibraryA("kernel32.dll"), "QueryFullProcessImageNameW");
        HMODULE hPsapi = LoadLibraryA("psapi.dll");
        bound.pEnumProcesses = Bind<EnumProcessesFn>(hPsapi, "EnumProcesses");
        bound.pGetModuleFileNameExW = Bind<GetModuleFileNameExWFn>(hPsapi, "GetModuleFileNameExW");
        return bound;
    }();
    return api;
}

const ToolHelpApi& LoadToolHelpApi() {
    static const ToolHelpApi api = [] {
        ToolHelpApi bound;
        HMODULE hKernel = LoadLibraryA("kernel32.dll");
        bound.pCreateSnapshot =
            Bind<CreateToolhelp32SnapshotFn>(hKernel, "CreateToolhelp32Snapshot");
        bound.pProcess32First = Bind<Process32Fn>(hKernel, "Process32First");
        bound.pProcess32Next = Bind<Process32Fn>(hKernel, "Process32Next");
        return bound;
    }();
    return api;
}

class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE h) : m_h(h) {}
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() {
        if (m_h && m_h != INVALID_HANDLE_VALUE)
            CloseHandle(m_h);
    }
    HANDLE Get() const { return m_h; }

private:
    HANDLE m_h;
};

bool IsOneOf(const char* pszFileName, const std::vector<CString>& fileNames) {
    for (const CString& name : fileNames) {
        if (SamePath(pszFileName, name))
            return true;
    }
    return false;
}

} // namespace

CProcessList::CProcessList(Api api)
    : m_bNT(api != kApiToolHelp && GetVersion() < 0x80000000u),
      m_bProcessStatusOnly(api == kApiProcessStatus) {}

CProcessList::~CProcessList() {
    Clear();
}

int CProcessList::Refresh() {
    return Take(nullptr);
}

int CProcessList::RefreshNamed(const std::vector<CString>& fileNames) {
    return Take(&fileNames);
}

void CProcessList::Clear() {
    m_entries.clear();
}

void CProcessList::Add(const char* pszPath, DWORD dwProcessId, bool bPathFits) {
    m_entries.emplace_back(pszPath, dwProcessId, bPathFits);
}

int CProcessList::Take(const std::vector<CString>* pFileNames) {
    Clear();
    // The older family's records hold the path itself: nothing to open.
    if (!m_bNT)
        return Enum9x();
    if (!ListProcesses(m_listed))
        return 0;
    // Whether a process matches depends on the names: other names, other facts.
    const bool bNamed = pFileNames != nullptr;
    if (bNamed != m_bCacheNamed || (bNamed && !(*pFileNames == m_cacheNames))) {
        m_cache.Clear();
        m_bCacheNamed = bNamed;
        m_cacheNames = bNamed ? *pFileNames : std::vector<CString>();
    }
    for (const ListedProcess& process : m_listed) {
        const DWORD pid = process.dwProcessId;
        const CProcessCache::Learnt* pKnown =
            process.ullCreateTime != 0 ? m_cache.Recall(pid, process.ullCreateTime) : nullptr;
        CProcessCache::Learnt learnt;
        if (!pKnown) {
            learnt = Learn(process, pFileNames);
            pKnown = process.ullCreateTime != 0
                         ? &m_cache.Remember(pid, process.ullCreateTime, learnt)
                         : &learnt;
        }
        if (pKnown->bListed)
            Add(pKnown->strPath, pid, pKnown->bPathFits);
    }
    m_cache.EndPass();
    return GetCount();
}

CProcessCache::Learnt CProcessList::Learn(const ListedProcess& process,
                                          const std::vector<CString>* pFileNames) {
    CProcessCache::Learnt learnt;
    if (pFileNames && process.bNamed && !IsOneOf(process.szImageName, *pFileNames))
        return learnt;
    std::wstring path;
    if (ReadPath(process.dwProcessId, path)) {
        learnt.bPathFits = AnsiFromWide(path.c_str(), &learnt.strPath);
        learnt.bListed = true;
    }
    return learnt;
}

bool CProcessList::ListProcesses(std::vector<ListedProcess>& processes) {
    processes.clear();
    const ProcessApi& api = LoadProcessApi();
    if (api.pNtQuerySystemInformation && !m_bProcessStatusOnly) {
        if (m_systemInfo.empty())
            m_systemInfo.resize(256 * 1024);
        NTSTATUS status;
        ULONG needed = 0;
        // Processes may start between the calls: grow with some room to spare.
        while ((status = api.pNtQuerySystemInformation(
                    SystemProcessInformation, m_systemInfo.data(),
                    static_cast<ULONG>(m_systemInfo.size()), &needed)) == kStatusInfoLengthMismatch)
            m_systemInfo.resize(std::max<size_t>(needed, m_systemInfo.size()) * 2);
        if (status >= 0) {
            const BYTE* record = m_systemInfo.data();
            for (;;) {
                const auto* info = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(record);
                processes.emplace_back();
                ListedProcess& listed = processes.back();
                listed.dwProcessId =
                    static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(info->UniqueProcessId));
                int length = WideCharToMultiByte(
                    CP_ACP, 0, info->ImageName.Buffer, info->ImageName.Length / sizeof(WCHAR),
                    listed.szImageName, kMaxPathBytes - 1, nullptr, nullptr);
                listed.szImageName[length] = '\0';
                // A record without a name (the idle process has none) is
                // opened like any process the listing cannot name.
                listed.bNamed = length > 0;
                // CreateTime, which some headers call reserved: at the same
                // offset in both bitnesses.
                std::memcpy(&listed.ullCreateTime, record + kCreateTimeOffset,
                            sizeof listed.ullCreateTime);
                if (info->NextEntryOffset == 0 ||
                    processes.size() == static_cast<size_t>(kMaxProcessIds))
                    return true;
                record += info->NextEntryOffset;
            }
        }
    }
    // Ids only: every process has to be opened to learn what it runs.
    if (!api.pEnumProcesses)
        return false;
    DWORD ids[kMaxProcessIds];
    DWORD cbFilled = 0;
    if (!api.pEnumProcesses(ids, sizeof ids, &cbFilled))
        return false;
    processes.resize(cbFilled / sizeof ids[0]);
    for (size_t i = 0; i < processes.size(); ++i) {
        processes[i].dwProcessId = ids[i];
        processes[i].bNamed = false;
        processes[i].ullCreateTime = 0;
    }
    return true;
}

bool CProcessList::ReadPath(DWORD dwProcessId, std::wstring& path) {
    const ProcessApi& api = LoadProcessApi();
    // Room for the longest path the system has, so that a program installed
    // deep in a folder tree is not left out, its NUL, and one unit more to
    // tell such a path from one cut to the buffer; kept between calls.
    m_pathBuffer.resize(kMaxPathUnits + 2);
    wchar_t* buffer = m_pathBuffer.data();
    const DWORD size = static_cast<DWORD>(m_pathBuffer.size());
    if (api.pQueryFullProcessImageNameW && !m_bProcessStatusOnly) {
        // The limited right is granted for processes that run elevated, where
        // an ordinary user's program is refused PROCESS_QUERY_INFORMATION and
        // PROCESS_VM_READ; Wine does not model elevation, so its tests cannot
        // show the difference. It also reads 64-bit processes from a 32-bit
        // one, which GetModuleFileNameExW cannot.
        ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, dwProcessId));
        if (!process.Get())
            return false;
        DWORD length = size;
        if (!api.pQueryFullProcessImageNameW(process.Get(), 0, buffer, &length) || length == 0)
            return false;
        path.assign(buffer, length);
        return true;
    }
    if (!api.pGetModuleFileNameExW)
        return false;
    ScopedHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, dwProcessId));
    if (!process.Get())
        return false;
    // A path cut to the buffer fills it: such a path would name another file.
    const DWORD length = api.pGetModuleFileNameExW(process.Get(), nullptr, buffer, size);
    if (length == 0 || length >= size - 1)
        return false;
    path.assign(buffer, length);
    return true;
}

int CProcessList::Enum9x() {
    const ToolHelpApi& api = LoadToolHelpApi();
    if (!api.pCreateSnapshot || !api.pProcess32First || !api.pProcess32Next)
        return 0;
    ScopedHandle snapshot(api.pCreateSnapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.Get() == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32 record = {};
    record.dwSize = sizeof record;
    for (BOOL ok = api.pProcess32First(snapshot.Get(), &record); ok;
         ok = api.pProcess32Next(snapshot.Get(), &record)) {
        m_entries.emplace_back(record.szExeFile, record.th32ProcessID);
    }
    return GetCount();
}
