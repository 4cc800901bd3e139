// Prints what a moving mouse costs the program during an area blackout
// countdown: this benchmark is the watched program, in the foreground; it
// posts bursts of mouse moves to its own window and takes them from its queue,
// so the hooks report each one to the program as a wake command. For the
// shipped program, which removes the queued wakes before it runs the cycle,
// and for a variant built to handle every one of them, it prints the wake
// commands received, the watch cycles run and the CPU time the program spent.
// Usage: WakeBench [bursts]
#include "BenchProgram.h"
#include "CycleProbeProtocol.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

struct Figures {
    bool ok = false;
    UINT_PTR wakes = 0, cycles = 0;
    double cpu = 0, wall = 0;
};

Figures Run(const char* programName, HWND ownWindow, int bursts, int movesPerBurst) {
    Figures figures;
    // This program, in the foreground, with a wait long enough that the
    // window never comes up during the run; the program's window hidden at
    // start, so that it does not take the foreground.
    const std::string list = "[Main]\r\nCount=1\r\n[Record_0]\r\nFileName=" + BenchOwnPath() +
                             "\r\nTitle=bench\r\nValidCondition=2\r\nMonitorEffec=1\r\n"
                             "AreaBlack=2\r\nWaitTime=600\r\nIdentify=0\r\n";
    BenchProgram program(programName, list, "[Dialog]\r\nVisible=0\r\n");
    if (!program.Ok())
        return figures;
    HWND main = program.MainWindow();
    SetForegroundWindow(ownWindow);
    Pump();
    DWORD_PTR result = 0;
    // One cycle now arms the countdown: from here on the hooks report input.
    SendMessageTimeoutA(main, WM_TIMER, 0, 0, SMTO_NORMAL, 10000, &result);
    const UINT marker = RegisterWindowMessageA(CycleProbe::kMarkerMessage);
    const UINT_PTR wakes0 = program.Prop(CycleProbe::kWakes);
    const UINT_PTR cycles0 = program.Prop(CycleProbe::kCycles);
    const double cpu0 = program.CpuSeconds();
    const DWORD start = GetTickCount();
    for (int burst = 1; burst <= bursts; ++burst) {
        for (int move = 0; move < movesPerBurst; ++move)
            PostMessageA(ownWindow, WM_MOUSEMOVE, 0, MAKELPARAM(move % 200, burst % 200));
        Pump();
        // Behind the burst's wakes: once the program has taken it, it has
        // dealt with all of them and armed the countdown again.
        PostMessageA(main, marker, static_cast<WPARAM>(burst), 0);
        const DWORD waitStart = GetTickCount();
        while (program.Prop(CycleProbe::kMarker) != static_cast<UINT_PTR>(burst) &&
               GetTickCount() - waitStart < 30000) {
            Sleep(1);
            Pump();
        }
    }
    figures.wall = (GetTickCount() - start) / 1000.0;
    figures.cpu = program.CpuSeconds() - cpu0;
    figures.wakes = program.Prop(CycleProbe::kWakes) - wakes0;
    figures.cycles = program.Prop(CycleProbe::kCycles) - cycles0;
    figures.ok = true;
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
