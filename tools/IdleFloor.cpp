// The floors the idle program is measured against, and the crowd it idles in.
//   IdleFloor timer    a hidden window with a 5-second timer that does nothing
//   IdleFloor bare     no window: one system-wide process listing every 5 s and
//                      nothing else, the least any watch cycle must spend
//   IdleFloor sleep    no window at all: a process that only waits
// It ends when its window is closed (bare: when it is killed), or with the event named in
// QV_IDLE_FLOOR_STOP (sleep).
#include <windows.h>

#include <winternl.h>

#include <cstring>
#include <vector>

namespace {

using NtQuerySystemInformationFn = NTSTATUS(WINAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG,
                                                     PULONG);

NtQuerySystemInformationFn g_query;
std::vector<BYTE> g_buffer(256 * 1024);

// What every watch cycle of the program must pay for: the names and ids of
// all running processes.
void ListProcesses() {
    ULONG needed = 0;
    while (g_query(SystemProcessInformation, g_buffer.data(), static_cast<ULONG>(g_buffer.size()),
                   &needed) == static_cast<NTSTATUS>(0xC0000004L))
        g_buffer.resize(g_buffer.size() * 2);
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int) {
    if (std::strcmp(lpCmdLine, "sleep") == 0) {
        Sleep(INFINITE);
        return 0;
    }
    if (std::strcmp(lpCmdLine, "bare") == 0) {
        g_query = reinterpret_cast<NtQuerySystemInformationFn>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
        if (!g_query)
            return 1;
        for (;;) {
            Sleep(5000);
            ListProcesses();
        }
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = "QvIdleFloor";
    RegisterClassA(&wc);
    HWND hWnd = CreateWindowA("QvIdleFloor", "IdleFloor", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                              nullptr, nullptr, hInstance, nullptr);
    if (!hWnd)
        return 1;
    SetTimer(hWnd, 0, 5000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
