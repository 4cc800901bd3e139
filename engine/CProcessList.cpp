#include "CProcessList.h"

#include <tlhelp32.h>

namespace {

using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using GetModuleFileNameExAFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
using CreateToolhelp32SnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using Process32Fn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);

// Bound by name at run time, so that the program starts on systems that lack
// one of the two libraries. The libraries stay loaded for the process's life.
struct ProcessStatusApi {
    EnumProcessesFn pEnumProcesses = nullptr;
    GetModuleFileNameExAFn pGetModuleFileNameExA = nullptr;
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

const ProcessStatusApi& LoadProcessStatusApi() {
    static const ProcessStatusApi api = [] {
        ProcessStatusApi bound;
        HMODULE hPsapi = LoadLibraryA("psapi.dll");
        bound.pEnumProcesses = Bind<EnumProcessesFn>(hPsapi, "EnumProcesses");
        bound.pGetModuleFileNameExA = Bind<GetModuleFileNameExAFn>(hPsapi, "GetModuleFileNameExA");
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

} // namespace

CProcessList::CProcessList(Api api) : m_bNT(api == kApiByPlatform && GetVersion() < 0x80000000u) {}

CProcessList::~CProcessList() {
    Clear();
}

int CProcessList::Refresh() {
    Clear();
    return m_bNT ? EnumNT() : Enum9x();
}

void CProcessList::Clear() {
    m_entries.clear();
}

void CProcessList::Add(const char* pszPath, DWORD dwProcessId) {
    m_entries.emplace_back(pszPath, dwProcessId);
}

int CProcessList::EnumNT() {
    const ProcessStatusApi& api = LoadProcessStatusApi();
    if (!api.pEnumProcesses || !api.pGetModuleFileNameExA)
        return 0;
    DWORD ids[kMaxProcessIds];
    DWORD cbFilled = 0;
    if (!api.pEnumProcesses(ids, sizeof ids, &cbFilled))
        return 0;
    DWORD count = cbFilled / sizeof ids[0];
    m_entries.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        ScopedHandle process(
            OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]));
        if (!process.Get())
            continue;
        char path[MAX_PATH];
        DWORD length = api.pGetModuleFileNameExA(process.Get(), nullptr, path, sizeof path);
        // A 32-bit process cannot read the path of a 64-bit one: it is left out.
        if (length == 0)
            continue;
        m_entries.emplace_back(path, ids[i]);
    }
    return GetCount();
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
