#include "CSingleInstance.h"

// The one word that later starts read from the first instance. The section
// is shared between all processes that run this executable.
#if defined(_MSC_VER)
#pragma data_seg("ShareDat")
static HWND g_hMainWnd = nullptr;
#pragma data_seg()
#pragma comment(linker, "/SECTION:ShareDat,RWS")
#else
static HWND g_hMainWnd __attribute__((section("ShareDat"), shared)) = nullptr;
#endif

CSingleInstance::CSingleInstance(const char* pszName) {
    lstrcpynA(m_szName, pszName ? pszName : "", sizeof m_szName);
}

CSingleInstance::~CSingleInstance() {
    if (m_hMutex) {
        CloseHandle(m_hMutex);
    }
}

BOOL CSingleInstance::IsAlreadyRunning() {
    m_hMutex = CreateMutexA(nullptr, TRUE, m_szName);
    return GetLastError() == ERROR_ALREADY_EXISTS;
}

BOOL CSingleInstance::WaitForOwnerToEnd(DWORD dwTimeoutMs) {
    if (!m_hMutex) {
        return FALSE;
    }
    DWORD result = WaitForSingleObject(m_hMutex, dwTimeoutMs);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
        ReleaseMutex(m_hMutex);
        return TRUE;
    }
    return FALSE;
}

void CSingleInstance::SetMainWnd(HWND hWnd) {
    g_hMainWnd = hWnd;
}

HWND CSingleInstance::GetMainWnd() {
    return g_hMainWnd;
}
