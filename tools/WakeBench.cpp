// Prints what a moving mouse costs the program during an area blackout
// countdown: this benchmark is the watched program, in the foreground; it
// posts bursts of mouse moves to its own window and takes them from its queue,
// so the hooks report each one to the program as a wake command. For the
// shipped program, which removes the queued wakes before it runs the cycle,
// and for a variant built to handle every one of them, it prints the wake
// commands received, the watch cycles run and the CPU time the program spent.
// Usage: WakeBench [bursts]
#include "CycleProbeProtocol.h"
#include "TempDir.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Sibling(const char* name) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir(path, n);
    return dir.substr(0, dir.find_last_of('\\') + 1) + name;
}

std::string OwnPath() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

struct MainSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchMain(HWND hwnd, LPARAM lParam) {
    MainSearch* search = reinterpret_cast<MainSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char className[64] = "";
    GetClassNameA(hwnd, className, sizeof className);
    if (pid != search->pid || strcmp(className, "#32770") != 0)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

double Seconds(const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
           1e7;
}

double CpuSeconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return -1;
    return Seconds(kernel) + Seconds(user);
}

UINT_PTR Prop(HWND hwnd, const char* name) {
    return reinterpret_cast<UINT_PTR>(GetPropA(hwnd, name));
}

struct Figures {
    bool ok = false;
    UINT_PTR wakes = 0, cycles = 0;
    double cpu = 0, wall = 0;
};

Figures Run(const char* programName, HWND ownWindow, int bursts, int movesPerBurst) {
    Figures figures;
    TempDir dir;
    if (!CopyFileA(Sibling(programName).c_str(), dir.File("Murvel.exe").c_str(), FALSE) ||
        !CopyFileA(Sibling("TessikDLL.dll").c_str(), dir.File("TessikDLL.dll").c_str(), FALSE))
        return figures;
    // This program, in the foreground, with a wait long enough that the
    // window never comes up during the run.
    const std::string list = "[Main]\r\nCount=1\r\n[Record_0]\r\nFileName=" + OwnPath() +
                             "\r\nTitle=bench\r\nValidCondition=2\r\nMonitorEffec=1\r\n"
                             "AreaBlack=2\r\nWaitTime=600\r\nIdentify=0\r\n";
    HANDLE file = CreateFileA(dir.File("Tessik.dat").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, list.data(), static_cast<DWORD>(list.size()), &written, nullptr);
    CloseHandle(file);
    // Window hidden at start: the program's own window must not take the foreground.
    WritePrivateProfileStringA("Dialog", "Visible", "0", dir.File("Tessik.ini").c_str());

    std::string cmd = "\"" + dir.File("Murvel.exe") + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(),
                        &si, &pi))
        return figures;
    MainSearch search = {pi.dwProcessId, nullptr};
    for (int i = 0; i < 1000 && !search.found; ++i) {
        Sleep(10);
        EnumWindows(MatchMain, reinterpret_cast<LPARAM>(&search));
    }
    HWND main = search.found;
    // The window exists before its initialisation (which loads the list) has
    // run; the first idle moment comes after it.
    if (main)
        WaitForInputIdle(pi.hProcess, 15000);
    HMODULE probe = LoadLibraryA(Sibling("CycleProbe.dll").c_str());
    HHOOK callHook = nullptr, getHook = nullptr;
    if (main && probe) {
        const DWORD thread = GetWindowThreadProcessId(main, nullptr);
        callHook = SetWindowsHookExA(WH_CALLWNDPROC,
                                     reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                         GetProcAddress(probe, "CycleProbeCallWnd"))),
                                     probe, thread);
        getHook = SetWindowsHookExA(WH_GETMESSAGE,
                                    reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                        GetProcAddress(probe, "CycleProbeGetMsg"))),
                                    probe, thread);
    }
    if (callHook && getHook) {
        SetForegroundWindow(ownWindow);
        Pump();
        DWORD_PTR result = 0;
        // One cycle now arms the countdown: from here on the hooks report input.
        SendMessageTimeoutA(main, WM_TIMER, 0, 0, SMTO_NORMAL, 10000, &result);
        const UINT marker = RegisterWindowMessageA(CycleProbe::kMarkerMessage);
        const UINT_PTR wakes0 = Prop(main, CycleProbe::kWakes);
        const UINT_PTR cycles0 = Prop(main, CycleProbe::kCycles);
        const double cpu0 = CpuSeconds(pi.hProcess);
        const DWORD start = GetTickCount();
        for (int burst = 1; burst <= bursts; ++burst) {
            for (int move = 0; move < movesPerBurst; ++move)
                PostMessageA(ownWindow, WM_MOUSEMOVE, 0, MAKELPARAM(move % 200, burst % 200));
            Pump();
            // Behind the burst's wakes: once the program has taken it, it has
            // dealt with all of them and armed the countdown again.
            PostMessageA(main, marker, static_cast<WPARAM>(burst), 0);
            const DWORD waitStart = GetTickCount();
            while (Prop(main, CycleProbe::kMarker) != static_cast<UINT_PTR>(burst) &&
                   GetTickCount() - waitStart < 30000) {
                Sleep(1);
                Pump();
            }
        }
        figures.wall = (GetTickCount() - start) / 1000.0;
        figures.cpu = CpuSeconds(pi.hProcess) - cpu0;
        figures.wakes = Prop(main, CycleProbe::kWakes) - wakes0;
        figures.cycles = Prop(main, CycleProbe::kCycles) - cycles0;
        figures.ok = true;
    }
    if (callHook)
        UnhookWindowsHookEx(callHook);
    if (getHook)
        UnhookWindowsHookEx(getHook);
    if (main)
        PostMessageA(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    const int bursts = argc > 1 ? std::atoi(argv[1]) : 20;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QvWakeBench";
    RegisterClassA(&wc);
    HWND own = CreateWindowExA(0, wc.lpszClassName, "WakeBench", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               100, 100, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    std::printf("%d bursts of mouse moves during a countdown, per program:\n", bursts);
    std::printf("%6s  %-30s %7s %7s %13s %8s %7s\n", "moves", "program", "wakes", "cycles",
                "cycles/burst", "CPU ms", "wall s");
    const struct {
        const char* exe;
        const char* label;
    } variants[] = {{"Murvel.exe", "removes queued wakes (shipped)"},
                    {"MurvelKeepsWakes.exe", "handles every wake"}};
    for (int moves : {10, 100, 1000}) {
        for (const auto& v : variants) {
            const Figures f = Run(v.exe, own, bursts, moves);
            if (!f.ok) {
                std::printf("%6d  %-30s failed\n", moves, v.label);
                continue;
            }
            std::printf("%6d  %-30s %7u %7u %13.2f %8.1f %7.2f\n", moves, v.label,
                        static_cast<unsigned>(f.wakes), static_cast<unsigned>(f.cycles),
                        static_cast<double>(f.cycles) / bursts, f.cpu * 1000, f.wall);
        }
    }
    DestroyWindow(own);
    return 0;
}
