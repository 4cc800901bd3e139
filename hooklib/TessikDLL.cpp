// Runs inside every GUI process of the desktop: no C runtime, no static
// constructors, no allocation, and nothing but comparisons on the hook path.
#define TESSIKDLL_BUILD
#include "TessikDLL.h"
#include "HookSession.h"
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

LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CBTProc(int code, WPARAM wParam, LPARAM lParam);

// The program's install and flag threads meet here: one at a time.
SRWLOCK g_lock = SRWLOCK_INIT;

struct LibrarySystem {
    volatile TessikShare& Share() { return g_share; }
    SessionSlots::ProcessStamp Self() { return SessionSlots::CurrentProcessStamp(); }
    DWORD ThreadId() { return GetCurrentThreadId(); }
    bool HasEnded(const SessionSlots::ProcessStamp& stamp) {
        return SessionSlots::HasProcessEnded(stamp);
    }
    HHOOK Hook(int idHook) {
        return SetWindowsHookExA(idHook, idHook == WH_CBT ? CBTProc : GetMsgProc,
                                 reinterpret_cast<HINSTANCE>(&__ImageBase), 0);
    }
    void Unhook(HHOOK hHook) { UnhookWindowsHookEx(hHook); }
    void Lock() { AcquireSRWLockExclusive(&g_lock); }
    void Unlock() { ReleaseSRWLockExclusive(&g_lock); }
};

// This process's own copy (not shared): zero until the entry point runs.
HookSession<LibrarySystem> g_session;

bool IsSuppressedCommand(const volatile HookSlot& slot, WPARAM command, LPARAM lParam) {
    switch (command & 0xFFF0) {
    case SC_SCREENSAVE:
        return slot.bPreventSaver != 0;
    case SC_MONITORPOWER:
        // 1 is low power and 2 off; -1 turns the display on and must pass.
        return slot.bPreventPowerOff != 0 && (lParam == 1 || lParam == 2);
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
    const volatile HookSlot* slot = g_session.Slot();
    if (code >= 0 && slot) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        if (msg->message == WM_SYSCOMMAND) {
            if (IsSuppressedCommand(*slot, msg->wParam, msg->lParam)) {
                msg->message = WM_NULL;
                msg->wParam = 0;
            }
        } else if (IsUserActivity(msg->message) && (slot->bBlackShown || slot->bCounting)) {
            // A null target would post a thread message into whatever process this is.
            if (HWND target = slot->hTargetWnd)
                PostMessageA(target, WM_COMMAND, kAreaBlackWake, 0);
        }
    }
    return CallNextHookEx(slot ? slot->hGetMsgHook : nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CBTProc(int code, WPARAM wParam, LPARAM lParam) {
    const volatile HookSlot* slot = g_session.Slot();
    if (code == HCBT_SYSCOMMAND && slot && IsSuppressedCommand(*slot, wParam, lParam))
        return 1;
    return CallNextHookEx(slot ? slot->hCbtHook : nullptr, code, wParam, lParam);
}

} // namespace

extern "C" BOOL WINAPI DllEntry(HINSTANCE hModule, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        if (!g_share.hInstance)
            g_share.hInstance = hModule;
        DWORD dwSessionId;
        if (ProcessIdToSessionId(GetCurrentProcessId(), &dwSessionId))
            g_session.Attach(dwSessionId);
    }
    return TRUE;
}

TESSIK_API HHOOK InstallHook(HWND hTargetWnd) {
    return g_session.Install(hTargetWnd);
}

TESSIK_API void UninstallHook() {
    g_session.Uninstall();
}

TESSIK_API void SetMonitorEffect(int bPreventSaver, int bPreventPowerOff) {
    g_session.SetMonitorEffect(bPreventSaver, bPreventPowerOff);
}

TESSIK_API void SetAreaBlackStatus(int bBlackShown, int bCounting) {
    g_session.SetAreaBlackStatus(bBlackShown, bCounting);
}
