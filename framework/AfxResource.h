#pragma once

#include <windows.h>

// The module that holds the program's dialogs, pictures and strings: the
// executable itself.
inline HINSTANCE AfxGetResourceHandle() {
    return GetModuleHandleA(nullptr);
}
