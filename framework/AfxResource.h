#pragma once

#include <windows.h>

// The framework's own messages, in the program's string table under the
// numbers the framework has always used for them.
#define AFX_IDS_APP_TITLE 0xE000
#define AFX_IDP_PARSE_INT_RANGE 0xF112
#define AFX_IDP_PARSE_UINT 0xF117

#ifndef RC_INVOKED
// The module that holds the program's dialogs, pictures and strings: the
// executable itself.
inline HINSTANCE AfxGetResourceHandle() {
    return GetModuleHandleA(nullptr);
}
#endif
