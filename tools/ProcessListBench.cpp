// Prints the time of one process snapshot next to a bare loop of the same
// platform calls over the same processes, without and with 50 extra processes.
// Usage: ProcessListBench [rounds]
#include "CProcessList.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using GetModuleFileNameExAFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);

EnumProcessesFn g_enumProcesses;
GetModuleFileNameExAFn g_getModuleFileNameExA;

struct BareResult {
    DWORD ids = 0;
    DWORD opened = 0;
    DWORD named = 0;
};

// The same calls as a snapshot, keeping nothing.
BareResult BareLoop() {
    BareResult result;
    DWORD ids[CProcessList::kMaxProcessIds];
    DWORD filled = 0;
    if (!g_enumProcesses(ids, sizeof ids, &filled))
        return result;
    result.ids = filled / sizeof ids[0];
    for (DWORD i = 0; i < result.ids; ++i) {
        HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]);
        if (!h)
            continue;
        ++result.opened;
        char path[MAX_PATH];
        if (g_getModuleFileNameExA(h, nullptr, path, sizeof path) != 0)
            ++result.named;
        CloseHandle(h);
    }
    return result;
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

struct Figures {
    double refreshUs;
    double bareUs;
    BareResult bare;
    int entries;
};

Figures Measure(const char* label, int rounds) {
    CProcessList list;
    list.Refresh();
    BareLoop();
    std::vector<double> refresh, bare;
    Figures figures = {};
    // Interleaved, so that a disturbance hits both sides alike.
    for (int r = 0; r < rounds; ++r) {
        double t0 = Now();
        figures.entries = list.Refresh();
        double t1 = Now();
        figures.bare = BareLoop();
        double t2 = Now();
        refresh.push_back(t1 - t0);
        bare.push_back(t2 - t1);
    }
    figures.refreshUs = Median(refresh);
    figures.bareUs = Median(bare);
    std::printf("%s: %lu process ids, %lu opened, %d with a path (snapshot entries)\n", label,
                static_cast<unsigned long>(figures.bare.ids),
                static_cast<unsigned long>(figures.bare.opened), figures.entries);
    std::printf("  Refresh    %9.1f us (median of %d)\n", figures.refreshUs, rounds);
    std::printf("  bare loop  %9.1f us  -> Refresh costs %+.1f %%\n", figures.bareUs,
                (figures.refreshUs / figures.bareUs - 1.0) * 100.0);
    std::printf("  per process id: Refresh %.1f us, bare %.1f us\n",
                figures.refreshUs / figures.bare.ids, figures.bareUs / figures.bare.ids);
    return figures;
}

class IdleChildren {
public:
    IdleChildren(int count) {
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, sizeof self);
        for (int i = 0; i < count; ++i) {
            std::string cmd = std::string("\"") + self + "\" --idle";
            STARTUPINFOA si = {};
            si.cb = sizeof si;
            PROCESS_INFORMATION pi = {};
            if (!CreateProcessA(self, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                                &pi))
                break;
            CloseHandle(pi.hThread);
            m_processes.push_back(pi.hProcess);
            m_ids.push_back(pi.dwProcessId);
        }
    }
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

    int Count() const { return static_cast<int>(m_ids.size()); }
    // Waits until a snapshot lists every child with its path.
    bool WaitUntilListed() const {
        CProcessList list;
        for (int attempt = 0; attempt < 200; ++attempt) {
            list.Refresh();
            int listed = 0;
            for (int i = 0; i < list.GetCount(); ++i)
                listed += std::count(m_ids.begin(), m_ids.end(), list.GetAt(i).m_dwProcessId) > 0;
            if (listed == Count())
                return true;
            Sleep(50);
        }
        return false;
    }

private:
    std::vector<HANDLE> m_processes;
    std::vector<DWORD> m_ids;
};

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--idle") == 0) {
        Sleep(INFINITE);
        return 0;
    }
    int rounds = argc > 1 ? std::atoi(argv[1]) : 300;
    if (rounds < 1)
        rounds = 1;
    HMODULE hPsapi = LoadLibraryA("psapi.dll");
    g_enumProcesses = reinterpret_cast<EnumProcessesFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(hPsapi, "EnumProcesses")));
    g_getModuleFileNameExA = reinterpret_cast<GetModuleFileNameExAFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(hPsapi, "GetModuleFileNameExA")));
    if (!g_enumProcesses || !g_getModuleFileNameExA) {
        std::printf("psapi.dll functions missing\n");
        return 1;
    }
    std::printf("%d-bit process\n", static_cast<int>(sizeof(void*) * 8));
    Figures base = Measure("running processes", rounds);

    const int kChildren = 50;
    IdleChildren children(kChildren);
    if (children.Count() != kChildren || !children.WaitUntilListed()) {
        std::printf("could not start %d idle processes\n", kChildren);
        return 1;
    }
    Figures loaded = Measure("with 50 idle processes more", rounds);
    std::printf("cost of one more process: Refresh %.1f us, bare %.1f us\n",
                (loaded.refreshUs - base.refreshUs) / kChildren,
                (loaded.bareUs - base.bareUs) / kChildren);
    return 0;
}
