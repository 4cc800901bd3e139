// Runs inside every GUI process of the desktop: no C runtime, no static
// constructors, no allocation, and nothing but comparisons on the hook path.
#define TESSIKDLL_BUILD
#include "TessikDLL.h"
#include "TessikShare.h"

namespace {

// The program's command for user activity during an area blackout.
constexpr WPARAM kAreaBlackWake = 3728;

} // namespace

#ifdef _MSC_VER
#pragma section("ShareDat", read, write, shared)
__declspec(allocate("ShareDat")) static volatile TessikShare g_share = {};
#else
static volatile TessikShare g_share __attribute__((section("ShareDat"), shared)) = {};
#endif

// The linker's symbol at this module's own base address in this process. The
// module handle in the shared block was recorded by whichever process mapped
// the library first, where it may sit at another address.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

HINSTANCE OwnModule() {
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

bool IsSuppressedCommand(WPARAM command) {
    switch (command & 0xFFF0) {
    case SC_SCREENSAVE:
        return g_share.bPreventSaver != 0;
    case SC_MONITORPOWER:
        return g_share.bPreventPowerOff != 0;
    default:
        return false;
    }
}

bool IsUserActivity(UINT message) {
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        if (msg->message == WM_SYSCOMMAND) {
            if (IsSuppressedCommand(msg->wParam)) {
                msg->message = WM_NULL;
                msg->wParam = 0;
            }
        } else if (IsUserActivity(msg->message) && (g_share.bBlackShown || g_share.bCounting)) {
            // A null target would post a thread message into whatever process this is.
            if (HWND target = g_share.hTargetWnd)
                PostMessageA(target, WM_COMMAND, kAreaBlackWake, 0);
        }
    }
    return CallNextHookEx(g_share.hGetMsgHook, code, wParam, lParam);
}

LRESULT CALLBACK CBTProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SYSCOMMAND && IsSuppressedCommand(wParam))
        return 1;
    return CallNextHookEx(g_share.hCbtHook, code, wParam, lParam);
}

// Removes whatever hooks the block records. A handle left by an installer that
// has ended is dead on Windows and fails harmlessly; Wine keeps such hooks
// running, and removing them keeps every input from being reported twice.
void RemoveHooks() {
    if (HHOOK hook = g_share.hGetMsgHook) {
        UnhookWindowsHookEx(hook);
        g_share.hGetMsgHook = nullptr;
    }
    if (HHOOK hook = g_share.hCbtHook) {
        UnhookWindowsHookEx(hook);
        g_share.hCbtHook = nullptr;
    }
}

} // namespace

extern "C" BOOL WINAPI DllEntry(HINSTANCE hModule, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH && !g_share.hInstance)
        g_share.hInstance = hModule;
    return TRUE;
}

TESSIK_API HHOOK InstallHook(HWND hTargetWnd) {
    g_share.hTargetWnd = hTargetWnd;
    DWORD self = GetCurrentProcessId();
    HHOOK hGetMsgHook = g_share.hGetMsgHook;
    if (hGetMsgHook && g_share.hCbtHook && g_share.dwInstallerId == self)
        return hGetMsgHook;

    // Handles recorded by another process, or half of a failed install.
    RemoveHooks();
    g_share.dwInstallerId = self;
    HINSTANCE module = OwnModule();
    g_share.hGetMsgHook = SetWindowsHookExA(WH_GETMESSAGE, GetMsgProc, module, 0);
    HHOOK hCbtHook = SetWindowsHookExA(WH_CBT, CBTProc, module, 0);
    g_share.hCbtHook = hCbtHook;
    return hCbtHook;
}

TESSIK_API void UninstallHook() {
    RemoveHooks();
}

TESSIK_API void SetMonitorEffect(int bPreventSaver, int bPreventPowerOff) {
    g_share.bPreventSaver = bPreventSaver;
    g_share.bPreventPowerOff = bPreventPowerOff;
}

TESSIK_API void SetAreaBlackStatus(int bBlackShown, int bCounting) {
    g_share.bBlackShown = bBlackShown;
    g_share.bCounting = bCounting;
}
