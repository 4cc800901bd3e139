// Part of the demo: sends the screen saver's system command to the watched
// helper program, as the system does when the idle time runs out, and prints
// what the helper's window received.
#include "HookTargetProtocol.h"

#include <windows.h>

#include <cstdio>

using namespace HookTargetProtocol;

int main() {
    HWND hTarget = FindWindowA(kClassName, nullptr);
    if (!hTarget) {
        std::printf("the watched program is not running\n");
        return 2;
    }
    const LPARAM marker = kMarkerBase + 1;
    PostMessageA(hTarget, WM_SYSCOMMAND, SC_SCREENSAVE, marker);
    LRESULT received = -1;
    for (int i = 0; i < 200 && received == -1; ++i) {
        DWORD_PTR result = static_cast<DWORD_PTR>(-1);
        SendMessageTimeoutA(hTarget, kQueryMessage, marker, 0, SMTO_NORMAL, 2000, &result);
        received = static_cast<LRESULT>(result);
        if (received == -1)
            Sleep(10);
    }
    if (received == WM_NULL)
        std::printf("SC_SCREENSAVE arrived as WM_NULL: swallowed, no screen saver\n");
    else if (received == WM_SYSCOMMAND)
        std::printf("SC_SCREENSAVE arrived as WM_SYSCOMMAND: the screen saver would start\n");
    else
        std::printf("no answer from the watched program\n");
    return received == WM_NULL ? 0 : 1;
}
