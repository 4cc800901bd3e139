// Owns a hidden window in a process of its own, so that the global hooks of
// the hook library run here, and reports to the test what the window received.
#include "HookTargetProtocol.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

using namespace HookTargetProtocol;

UINT g_lastMessage;
WPARAM g_lastWParam;
LPARAM g_lastMarker = -1;
HHOOK g_localCbtHook;
LRESULT g_cbtAnswer = -1;
LRESULT g_postedMessage = -1;
WPARAM g_postedWParam;
LPARAM g_postedLParam;

bool IsMarked(LPARAM lParam) {
    return (lParam & kMarkerMask) == kMarkerBase;
}

LRESULT PostedField(WPARAM field) {
    switch (field) {
    case kPostedMessage:
        return g_postedMessage;
    case kPostedWParam:
        return static_cast<LRESULT>(g_postedWParam);
    case kPostedLParam:
        return g_postedLParam;
    default:
        g_postedMessage = -1;
        return 0;
    }
}

// Installed for this thread only, so the system calls it before any global CBT
// hook: what CallNextHookEx returns is the answer of the global ones.
LRESULT CALLBACK LocalCbtProc(int code, WPARAM wParam, LPARAM lParam) {
    LRESULT answer = CallNextHookEx(g_localCbtHook, code, wParam, lParam);
    if (code == HCBT_SYSCOMMAND)
        g_cbtAnswer = answer;
    return answer;
}

LRESULT CALLBACK TargetWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kQueryMessage:
        return g_lastMarker == static_cast<LPARAM>(wParam) ? static_cast<LRESULT>(g_lastMessage)
                                                           : -1;
    case kQueryWParam:
        return static_cast<LRESULT>(g_lastWParam);
    case kQueryPosted:
        return PostedField(wParam);
    case kQueryCbtAnswer: {
        LRESULT answer = g_cbtAnswer;
        g_cbtAnswer = -1;
        return answer;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    if (IsMarked(lParam)) {
        g_lastMessage = message;
        g_lastWParam = wParam;
        g_lastMarker = lParam;
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Installs the hooks from this process, as the program does.
bool InstallFromHere(const char* targetHex) {
    HMODULE library = LoadLibraryA("TessikDLL.dll");
    if (!library)
        return false;
    using InstallHookFn = HHOOK (*)(HWND);
    auto install = reinterpret_cast<InstallHookFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "InstallHook")));
    if (!install)
        return false;
    HWND target = reinterpret_cast<HWND>(static_cast<UINT_PTR>(strtoull(targetHex, nullptr, 16)));
    return install(target) != nullptr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && strcmp(argv[1], kInstallArg) == 0 && !InstallFromHere(argv[2]))
        return 3;

    WNDCLASSA wc = {};
    wc.lpfnWndProc = TargetWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    // A visible client area, told apart from the black around it in screenshots.
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    if (!RegisterClassA(&wc))
        return 2;
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "HookTarget", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                100, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd)
        return 2;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], kVisibleArg) == 0) {
            SetWindowPos(hwnd, nullptr, 320, 220, 400, 300, SWP_NOZORDER);
            ShowWindow(hwnd, SW_SHOW);
            SetForegroundWindow(hwnd);
        }
    }
    g_localCbtHook = SetWindowsHookExA(WH_CBT, LocalCbtProc, nullptr, GetCurrentThreadId());

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        const bool bRecorded = msg.message == WM_SYSCOMMAND || msg.message == WM_NULL ||
                               msg.message == WM_COMMAND || msg.message >= 0xC000;
        if (msg.hwnd == hwnd && bRecorded && !IsMarked(msg.lParam)) {
            g_postedMessage = msg.message;
            g_postedWParam = msg.wParam;
            g_postedLParam = msg.lParam;
            continue;
        }
        DispatchMessageA(&msg);
    }
    UnhookWindowsHookEx(g_localCbtHook);
    return 0;
}
