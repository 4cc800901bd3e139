#pragma once

#include "SessionSlots.h"

#include <windows.h>

// One logon session's state. Each field is naturally aligned and only ever
// read or written whole, so the hook procedures need no lock.
struct HookSlot {
    SessionSlots::Owner owner;
    HHOOK hGetMsgHook;
    HHOOK hCbtHook;
    HWND hTargetWnd;
    int bBlackShown;
    int bCounting;
    int bPreventSaver;
    int bPreventPowerOff;
    // The hooks live as long as the thread that installed them.
    DWORD dwInstallThreadId;
};

// The block that every process mapping TessikDLL shares, in every session. Its
// layout is the same in every process of one bitness.
struct TessikShare {
    HINSTANCE hInstance;
    HookSlot slots[SessionSlots::kCount];
};
