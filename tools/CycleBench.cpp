// Prints what one watch cycle costs the program when it finds everything as
// it is (a quiet cycle: nothing is sent to the window, the shell or the hook
// library) beside one whose outcome changes (keeping awake turned on or off
// with nothing watched: icons, title, tip, hooks, flags and the display
// request all change). What the idle program costs over minutes is
// tools/idle-bench.sh's to measure: under Wine the process's own CPU times
// leave most of it out.
// Usage: CycleBench [cycles]
#include "BenchProgram.h"
#include "CycleProbeProtocol.h"
#include "resource.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Figures {
    double wallMs = 0, cpuMs = 0, shownChanges = 0;
};

// Runs n cycles, each started by send(i), and returns the cost of one.
template <typename Send> Figures Measure(const BenchProgram& program, int n, Send send) {
    // Warm: the first runs pay for pages and caches.
    for (int i = 0; i < n / 10 * 2; ++i)
        send(i);
    const UINT_PTR shown0 = program.Prop(CycleProbe::kShownChanges);
    const double cpu0 = program.CpuSeconds();
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < n; ++i)
        send(i);
    QueryPerformanceCounter(&end);
    Figures f;
    f.wallMs = (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart / n;
    f.cpuMs = (program.CpuSeconds() - cpu0) * 1000.0 / n;
    f.shownChanges = static_cast<double>(program.Prop(CycleProbe::kShownChanges) - shown0) / n;
    return f;
}

void Print(const char* label, const Figures& f) {
    std::printf("  %-44s %9.3f %9.3f %9.2f\n", label, f.wallMs, f.cpuMs, f.shownChanges);
}

} // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 1000;
    // Watched: this benchmark, running; its effect leaves room for the hold.
    const std::string watched = "[Main]\r\nCount=1\r\n[Record_0]\r\nFileName=" + BenchOwnPath() +
                                "\r\nTitle=bench\r\nValidCondition=1\r\n"
                                "MonitorEffec=1\r\n";
    std::printf("one watch cycle, %d of each (%s):\n", n,
                "wall ms, program CPU ms, "
                "titles and icons set per cycle");
    std::printf("  %-44s %9s %9s %9s\n", "", "wall ms", "CPU ms", "shown");
    {
        BenchProgram program("Murvel.exe", "[Main]\r\nCount=0\r\n", "");
        if (!program.Ok()) {
            std::printf("the program did not start\n");
            return 1;
        }
        HWND main = program.MainWindow();
        auto cycle = [main](int) {
            DWORD_PTR result = 0;
            SendMessageTimeoutA(main, WM_TIMER, 0, 0, SMTO_NORMAL, 10000, &result);
        };
        auto toggle = [main](int i) {
            DWORD_PTR result = 0;
            SendMessageTimeoutA(main, WM_COMMAND, i % 2 ? ID_KEEPAWAKE_STOP : ID_KEEPAWAKE_ON, 0,
                                SMTO_NORMAL, 10000, &result);
        };
        cycle(0);
        Print("quiet, nothing watched", Measure(program, n, cycle));
        Print("changing: keeping awake on, then off", Measure(program, n, toggle));
    }
    BenchProgram program("Murvel.exe", watched, "");
    if (!program.Ok())
        return 1;
    HWND main = program.MainWindow();
    auto cycle = [main](int) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(main, WM_TIMER, 0, 0, SMTO_NORMAL, 10000, &result);
    };
    cycle(0);
    Print("quiet, guarding a watched program", Measure(program, n, cycle));
    return 0;
}
