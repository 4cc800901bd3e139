// Prints what one call of the message hook costs, next to the bare
// CallNextHookEx that every hook procedure ends with, on this machine.
// The hook procedures are not exported, so the library's source is compiled in,
// with its chain call routed through a switch that can leave the system out.
#include <windows.h>

namespace {
bool g_callSystemChain = true;
LRESULT WINAPI BenchCallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    return g_callSystemChain ? CallNextHookEx(hook, code, wParam, lParam) : 0;
}
} // namespace
#define CallNextHookEx BenchCallNextHookEx
#include "../hooklib/TessikDLL.cpp"
#undef CallNextHookEx

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

// The machine is shared: each figure is the best of several rounds.
constexpr int kRounds = 5;
constexpr int kCalls = 10000;
constexpr int kBatch = 1000; // posted commands drained between batches

HWND g_target;

void DrainTarget() {
    MSG drained;
    while (PeekMessageA(&drained, g_target, 0, 0, PM_REMOVE)) {
    }
}

// Nanoseconds per call of step(), measured in batches; between batches the
// target's queue is drained outside the timed part.
template <class Step> double NanosPerCall(Step step) {
    for (int i = 0; i < kBatch; ++i)
        step();
    double best = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        Clock::duration total{};
        for (int done = 0; done < kCalls; done += kBatch) {
            DrainTarget();
            Clock::time_point start = Clock::now();
            for (int i = 0; i < kBatch; ++i)
                step();
            total += Clock::now() - start;
        }
        double nanos = std::chrono::duration<double, std::nano>(total).count() / kCalls;
        if (nanos < best)
            best = nanos;
    }
    DrainTarget();
    return best;
}

MSG Message(UINT message, WPARAM wParam) {
    MSG msg = {};
    msg.hwnd = g_target;
    msg.message = message;
    msg.wParam = wParam;
    return msg;
}

void Report(const char* what, double nanos) {
    printf("%-58s %9.1f ns\n", what, nanos);
}

} // namespace

int main() {
    g_target = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    // The entry point does not run for a library compiled in: give this
    // session a slot without hooking anything, and set its flags as the
    // exports set those of a slot the session holds.
    DWORD dwSessionId = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &dwSessionId);
    g_session.Attach(dwSessionId);
    volatile HookSlot& slot = g_share.slots[0];
    slot.owner.nTicket = SessionSlots::MakeTicket(SessionSlots::KeyOf(dwSessionId), 0);
    slot.hTargetWnd = g_target;
    auto setEffect = [&](int bPreventSaver, int bPreventPowerOff) {
        slot.bPreventSaver = bPreventSaver;
        slot.bPreventPowerOff = bPreventPowerOff;
    };
    auto setStatus = [&](int bBlackShown, int bCounting) {
        slot.bBlackShown = bBlackShown;
        slot.bCounting = bCounting;
    };
    printf("one call, best of %d rounds of %d calls (%d-bit)\n", kRounds, kCalls,
           static_cast<int>(sizeof(void*) * 8));

    MSG msg = Message(WM_TIMER, 1);
    LPARAM lParam = reinterpret_cast<LPARAM>(&msg);
    Report("bare CallNextHookEx",
           NanosPerCall([&] { CallNextHookEx(nullptr, HC_ACTION, PM_REMOVE, lParam); }));
    Report("GetMsgProc, WM_TIMER", NanosPerCall([&] { GetMsgProc(HC_ACTION, PM_REMOVE, lParam); }));
    msg = Message(WM_MOUSEMOVE, 0);
    Report("GetMsgProc, WM_MOUSEMOVE, no blackout",
           NanosPerCall([&] { GetMsgProc(HC_ACTION, PM_REMOVE, lParam); }));

    setEffect(1, 1);
    Report("GetMsgProc, WM_SYSCOMMAND SC_SCREENSAVE swallowed", NanosPerCall([&] {
               msg = Message(WM_SYSCOMMAND, SC_SCREENSAVE);
               GetMsgProc(HC_ACTION, PM_REMOVE, lParam);
           }));
    setStatus(0, 1);
    msg = Message(WM_MOUSEMOVE, 0);
    Report("GetMsgProc, WM_MOUSEMOVE during countdown (posts 3728)",
           NanosPerCall([&] { GetMsgProc(HC_ACTION, PM_REMOVE, lParam); }));
    Report("bare PostMessageA, for comparison",
           NanosPerCall([&] { PostMessageA(g_target, WM_COMMAND, 3728, 0); }));
    setStatus(0, 0);
    setEffect(0, 0);

    g_callSystemChain = false;
    msg = Message(WM_TIMER, 1);
    Report("GetMsgProc's own work, WM_TIMER (chain call left out)",
           NanosPerCall([&] { GetMsgProc(HC_ACTION, PM_REMOVE, lParam); }));
    setEffect(1, 1);
    Report("GetMsgProc's own work, SC_SCREENSAVE swallowed", NanosPerCall([&] {
               msg = Message(WM_SYSCOMMAND, SC_SCREENSAVE);
               GetMsgProc(HC_ACTION, PM_REMOVE, lParam);
           }));
    setEffect(0, 0);
    g_callSystemChain = true;

    // The whole road of one posted message, without and with the hook on this
    // thread: what the system adds around the procedure.
    auto roundTrip = [&] {
        PostMessageA(g_target, WM_TIMER, 1, 0);
        MSG got;
        PeekMessageA(&got, g_target, 0, 0, PM_REMOVE);
    };
    Report("post + peek one message, no hook", NanosPerCall(roundTrip));
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, GetMsgProc, nullptr, GetCurrentThreadId());
    slot.hGetMsgHook = hook;
    Report("post + peek one message, GetMsgProc hooked", NanosPerCall(roundTrip));
    UnhookWindowsHookEx(hook);
    slot.hGetMsgHook = nullptr;
    DestroyWindow(g_target);
    return 0;
}
