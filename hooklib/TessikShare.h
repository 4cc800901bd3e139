#pragma once

#include <windows.h>

// The block that every process mapping TessikDLL shares. Its layout is the
// same in every process of one bitness. Each field is naturally aligned and
// only ever read or written whole, so the hook procedures need no lock.
struct TessikShare {
    HINSTANCE hInstance;
    HHOOK hGetMsgHook;
    HHOOK hCbtHook;
    HWND hTargetWnd;
    int bBlackShown;
    int bCounting;
    int bPreventSaver;
    int bPreventPowerOff;
    // The process that installed the two hooks. Handles recorded by any other
    // process belong to an installer that ended without removing them.
    DWORD dwInstallerId;
};
