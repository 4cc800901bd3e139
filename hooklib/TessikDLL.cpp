#define TESSIKDLL_BUILD
#include "TessikDLL.h"

extern "C" BOOL WINAPI DllEntry(HINSTANCE, DWORD, LPVOID) { return TRUE; }

TESSIK_API HHOOK InstallHook(HWND) { return nullptr; }
TESSIK_API void UninstallHook() {}
TESSIK_API void SetMonitorEffect(int, int) {}
TESSIK_API void SetAreaBlackStatus(int, int) {}
