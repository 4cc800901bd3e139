#pragma once

#include <windows.h>

// The hook library's exports, linked by import.
#ifdef TESSIKDLL_BUILD
#define TESSIK_API extern "C"
#else
#define TESSIK_API extern "C" __declspec(dllimport)
#endif

TESSIK_API HHOOK InstallHook(HWND hTargetWnd);
TESSIK_API void UninstallHook();
TESSIK_API void SetMonitorEffect(int bPreventSaver, int bPreventPowerOff);
TESSIK_API void SetAreaBlackStatus(int bBlackShown, int bCounting);
