// A benchmark-only library hooked into the program's GUI thread. It counts
// the watch cycles (through a procedure put in front of the main window's),
// the titles and icons they set, and the wake commands the thread took from
// its queue, and records the last marker the
// benchmark posted behind its input, all as properties of the main window,
// which every process can read.
#include "CycleProbeProtocol.h"

#include <windows.h>

namespace {

void Increment(HWND hwnd, const char* property) {
    UINT_PTR n = reinterpret_cast<UINT_PTR>(GetPropA(hwnd, property));
    SetPropA(hwnd, property, reinterpret_cast<HANDLE>(n + 1));
}

WNDPROC g_pfnProgramProc = nullptr;

// Every watch cycle starts from one of these reaching the main window: the
// cycle timer (or the benchmark sending it), or a wake that was not removed
// from the queue unhandled.
LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_TIMER && wParam == 0) ||
        (message == WM_COMMAND && wParam == CycleProbe::kWakeCommand))
        Increment(hwnd, CycleProbe::kCycles);
    return CallWindowProcA(g_pfnProgramProc, hwnd, message, wParam, lParam);
}

// Puts the counting procedure in front of the main window's, once. The
// library stays loaded from then on: the window calls into it to its end.
void CountCycles(HWND hwnd) {
    char className[16] = "";
    if (g_pfnProgramProc || GetParent(hwnd) || !GetClassNameA(hwnd, className, sizeof className) ||
        lstrcmpA(className, "#32770") != 0)
        return;
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<const char*>(&CountingProc), &self);
    g_pfnProgramProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    CycleProbeCallWnd(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPSTRUCT* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        CountCycles(msg->hwnd);
        if ((msg->message == WM_SETTEXT || msg->message == WM_SETICON) && !GetParent(msg->hwnd))
            Increment(msg->hwnd, CycleProbe::kShownChanges);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    CycleProbeGetMsg(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        static const UINT s_uMarker = RegisterWindowMessageA(CycleProbe::kMarkerMessage);
        if (msg->hwnd)
            CountCycles(msg->hwnd);
        if (msg->message == WM_COMMAND && msg->wParam == CycleProbe::kWakeCommand)
            Increment(msg->hwnd, CycleProbe::kWakes);
        else if (msg->message == s_uMarker)
            SetPropA(msg->hwnd, CycleProbe::kMarker, reinterpret_cast<HANDLE>(msg->wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
