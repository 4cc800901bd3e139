// A benchmark-only library hooked into the program's GUI thread. It counts
// the watch cycles, the titles and icons they set, and the wake commands the
// thread took from its queue, and records the last marker the
// benchmark posted behind its input, all as properties of the main window,
// which every process can read.
#include "CycleProbeProtocol.h"

#include <windows.h>

namespace {

void Increment(HWND hwnd, const char* property) {
    UINT_PTR n = reinterpret_cast<UINT_PTR>(GetPropA(hwnd, property));
    SetPropA(hwnd, property, reinterpret_cast<HANDLE>(n + 1));
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    CycleProbeCallWnd(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPSTRUCT* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        // Each cycle asks its own window for the large icon once, to leave it
        // alone when it is the right one. Others rarely ask for the large one:
        // the caption and the taskbar draw the small icon.
        if (msg->message == WM_GETICON && msg->wParam == ICON_BIG && !GetParent(msg->hwnd))
            Increment(msg->hwnd, CycleProbe::kCycles);
        else if ((msg->message == WM_SETTEXT || msg->message == WM_SETICON) &&
                 !GetParent(msg->hwnd))
            Increment(msg->hwnd, CycleProbe::kShownChanges);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    CycleProbeGetMsg(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        static const UINT s_uMarker = RegisterWindowMessageA(CycleProbe::kMarkerMessage);
        if (msg->message == WM_COMMAND && msg->wParam == CycleProbe::kWakeCommand)
            Increment(msg->hwnd, CycleProbe::kWakes);
        else if (msg->message == s_uMarker)
            SetPropA(msg->hwnd, CycleProbe::kMarker, reinterpret_cast<HANDLE>(msg->wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
