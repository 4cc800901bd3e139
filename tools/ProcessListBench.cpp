// Prints, with about 10, 50 and 200 running processes: the bare loop that opens
// every process and reads its path with the process-status calls, the two
// system-wide listings (NtQuerySystemInformation, tool-help snapshot), the full
// snapshot, and one watch-cycle evaluation of five watched programs of which
// one runs. The extra processes are idle copies of this program under another
// name, so they match no watched name.
// Usage: ProcessListBench [rounds]
#include "CProcessList.h"
#include "CWatchEvaluator.h"
#include "CWatchList.h"

#include <windows.h>

#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using GetModuleFileNameExAFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
using NtQuerySystemInformationFn = NTSTATUS(WINAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG,
                                                     PULONG);

EnumProcessesFn g_enumProcesses;
GetModuleFileNameExAFn g_getModuleFileNameExA;
NtQuerySystemInformationFn g_ntQuerySystemInformation;

template <typename Fn> Fn Bind(const char* pszModule, const char* pszName) {
    return reinterpret_cast<Fn>(
        reinterpret_cast<void (*)()>(GetProcAddress(LoadLibraryA(pszModule), pszName)));
}

// The calls of every process snapshot before the listing, keeping nothing:
// returns the number of process ids.
int BareLoop() {
    DWORD ids[CProcessList::kMaxProcessIds];
    DWORD filled = 0;
    if (!g_enumProcesses(ids, sizeof ids, &filled))
        return 0;
    DWORD count = filled / sizeof ids[0];
    for (DWORD i = 0; i < count; ++i) {
        HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]);
        if (!h)
            continue;
        char path[MAX_PATH];
        g_getModuleFileNameExA(h, nullptr, path, sizeof path);
        CloseHandle(h);
    }
    return static_cast<int>(count);
}

// Ids and image names, converted to the ANSI code page as a snapshot needs them.
int ListBySystemInformation() {
    static std::vector<BYTE> buffer(256 * 1024);
    ULONG needed = 0;
    NTSTATUS status;
    while ((status = g_ntQuerySystemInformation(SystemProcessInformation, buffer.data(),
                                                static_cast<ULONG>(buffer.size()), &needed)) ==
           static_cast<NTSTATUS>(0xC0000004L))
        buffer.resize(std::max<size_t>(needed, buffer.size()) * 2);
    if (status < 0)
        return 0;
    int count = 0;
    for (const BYTE* record = buffer.data();; ++count) {
        const auto* info = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(record);
        char name[MAX_PATH];
        WideCharToMultiByte(CP_ACP, 0, info->ImageName.Buffer,
                            info->ImageName.Length / sizeof(WCHAR), name, MAX_PATH - 1, nullptr,
                            nullptr);
        if (info->NextEntryOffset == 0)
            return count + 1;
        record += info->NextEntryOffset;
    }
}

int ListByToolHelp() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32 record = {};
    record.dwSize = sizeof record;
    int count = 0;
    for (BOOL ok = Process32First(snapshot, &record); ok; ok = Process32Next(snapshot, &record))
        ++count;
    CloseHandle(snapshot);
    return count;
}

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

enum Column { kBare, kListSystem, kListToolHelp, kFull, kEvaluation, kColumns };

struct Row {
    int processes;
    int snapshotEntries;
    int inEffect;
    double us[kColumns];
};

Row Measure(int rounds, CWatchEvaluator& evaluator) {
    CProcessList full;
    std::vector<double> times[kColumns];
    Row row = {};
    // Interleaved, so that a disturbance hits every column alike; the first
    // round loads the libraries and is not counted.
    for (int r = 0; r <= rounds; ++r) {
        double t[kColumns + 1];
        t[0] = Now();
        row.processes = BareLoop();
        t[1] = Now();
        ListBySystemInformation();
        t[2] = Now();
        ListByToolHelp();
        t[3] = Now();
        row.snapshotEntries = full.Refresh();
        t[4] = Now();
        row.inEffect = 0;
        for (int i = evaluator.FindFirstInEffect(nullptr); i >= 0; i = evaluator.FindNextInEffect())
            ++row.inEffect;
        t[5] = Now();
        for (int c = 0; r > 0 && c < kColumns; ++c)
            times[c].push_back(t[c + 1] - t[c]);
    }
    for (int c = 0; c < kColumns; ++c)
        row.us[c] = Median(times[c]);
    return row;
}

// Idle processes of one program, ended with the object.
class IdleChildren {
public:
    explicit IdleChildren(const std::string& program) : m_program(program) {}
    IdleChildren(const IdleChildren&) = delete;
    IdleChildren& operator=(const IdleChildren&) = delete;
    ~IdleChildren() {
        for (HANDLE h : m_processes)
            TerminateProcess(h, 0);
        for (HANDLE h : m_processes) {
            WaitForSingleObject(h, 10000);
            CloseHandle(h);
        }
    }

    bool Start(int count) {
        for (int i = 0; i < count; ++i) {
            std::string cmd = "\"" + m_program + "\" --idle";
            STARTUPINFOA si = {};
            si.cb = sizeof si;
            PROCESS_INFORMATION pi = {};
            if (!CreateProcessA(m_program.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, &si, &pi))
                return false;
            CloseHandle(pi.hThread);
            m_processes.push_back(pi.hProcess);
            m_ids.push_back(pi.dwProcessId);
        }
        return WaitUntilListed();
    }

private:
    bool WaitUntilListed() const {
        CProcessList list;
        for (int attempt = 0; attempt < 400; ++attempt) {
            list.Refresh();
            size_t listed = 0;
            for (int i = 0; i < list.GetCount(); ++i)
                listed += std::count(m_ids.begin(), m_ids.end(), list.GetAt(i).m_dwProcessId);
            if (listed == m_ids.size())
                return true;
            Sleep(50);
        }
        return false;
    }

    std::string m_program;
    std::vector<HANDLE> m_processes;
    std::vector<DWORD> m_ids;
};

CWatchItem Watched(const std::string& path) {
    CWatchItem item;
    item.m_strFileName = path.c_str();
    item.m_nValidCondition = 1;
    return item;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--idle") == 0) {
        Sleep(INFINITE);
        return 0;
    }
    int rounds = argc > 1 ? std::atoi(argv[1]) : 31;
    if (rounds < 1)
        rounds = 1;
    g_enumProcesses = Bind<EnumProcessesFn>("psapi.dll", "EnumProcesses");
    g_getModuleFileNameExA = Bind<GetModuleFileNameExAFn>("psapi.dll", "GetModuleFileNameExA");
    g_ntQuerySystemInformation =
        Bind<NtQuerySystemInformationFn>("ntdll.dll", "NtQuerySystemInformation");
    if (!g_enumProcesses || !g_getModuleFileNameExA || !g_ntQuerySystemInformation) {
        std::printf("process functions missing\n");
        return 1;
    }

    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string dir = self;
    dir.erase(dir.find_last_of('\\') + 1);
    // The idle processes run a copy of this program under a name nobody watches.
    std::string idle = dir + "ProcessListBenchIdle.exe";
    if (!CopyFileA(self, idle.c_str(), FALSE)) {
        std::printf("cannot copy %s\n", self);
        return 1;
    }
    CWatchList watchList;
    watchList.Add(Watched(dir + "Editor.exe"));
    watchList.Add(Watched("C:\\Program Files\\Browser\\Browser.exe"));
    watchList.Add(Watched(self));
    watchList.Add(Watched(dir + "Player.exe"));
    watchList.Add(Watched("C:\\Games\\Game.exe"));
    CWatchEvaluator evaluator(watchList);

    std::printf("%d-bit process, median of %d rounds, microseconds\n",
                static_cast<int>(sizeof(void*) * 8), rounds);
    std::printf("%9s %9s %11s %11s %11s %11s %9s\n", "processes", "bare loop", "list NtQSI",
                "list TH32", "full snap", "evaluation", "eval/bare");
    std::vector<Row> rows;
    int status = 0;
    {
        IdleChildren children(idle);
        for (int target : {10, 50, 200}) {
            int running = rows.empty() ? BareLoop() : rows.back().processes;
            if (target > running && !children.Start(target - running)) {
                std::printf("could not start %d idle processes\n", target - running);
                status = 1;
                break;
            }
            Row row = Measure(rounds, evaluator);
            if (row.inEffect != 1)
                std::printf("the evaluation found %d items in effect, not 1\n", row.inEffect);
            std::printf("%9d %9.0f %11.0f %11.0f %11.0f %11.0f %9.3f\n", row.processes,
                        row.us[kBare], row.us[kListSystem], row.us[kListToolHelp], row.us[kFull],
                        row.us[kEvaluation], row.us[kEvaluation] / row.us[kBare]);
            rows.push_back(row);
        }
    }
    if (rows.size() == 3) {
        double added = rows[2].processes - rows[1].processes;
        std::printf(
            "cost of one more idle process: bare %.1f us, full %.1f us, evaluation %.2f us\n",
            (rows[2].us[kBare] - rows[1].us[kBare]) / added,
            (rows[2].us[kFull] - rows[1].us[kFull]) / added,
            (rows[2].us[kEvaluation] - rows[1].us[kEvaluation]) / added);
    }
    DeleteFileA(idle.c_str());
    return status;
}
