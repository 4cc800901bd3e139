#include "CSingleInstance.h"

#include "SessionSlots.h"

namespace {

struct MainWndSlot {
    SessionSlots::Owner owner;
    HWND hMainWnd;
};

// Where each logon session's first instance publishes its main window for
// later starts in the same session. The section is shared by every process
// that runs this executable, whatever its session.
#if defined(_MSC_VER)
#pragma section("ShareDat", read, write, shared)
__declspec(allocate("ShareDat")) volatile MainWndSlot g_mainWnds[SessionSlots::kCount] = {};
#else
volatile MainWndSlot g_mainWnds[SessionSlots::kCount]
    __attribute__((section("ShareDat"), shared)) = {};
#endif

LONG OwnSessionKey() {
    static const LONG s_nKey = [] {
        DWORD dwSessionId = 0;
        return ProcessIdToSessionId(GetCurrentProcessId(), &dwSessionId)
                   ? SessionSlots::KeyOf(dwSessionId)
                   : 0;
    }();
    return s_nKey;
}

} // namespace

CSingleInstance::CSingleInstance(const char* pszName) {
    lstrcpynA(m_szName, pszName ? pszName : "", sizeof m_szName);
}

CSingleInstance::~CSingleInstance() {
    // A window of this process is no use to the session's next start.
    const int n = SessionSlots::Find(g_mainWnds, OwnSessionKey());
    if (n >= 0 && SessionSlots::IsSameProcess(g_mainWnds[n].owner.process,
                                              SessionSlots::CurrentProcessStamp())) {
        g_mainWnds[n].hMainWnd = nullptr;
        SessionSlots::Release(g_mainWnds[n]);
    }
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
    const SessionSlots::ProcessStamp self = SessionSlots::CurrentProcessStamp();
    int n = SessionSlots::Find(g_mainWnds, OwnSessionKey());
    if (n >= 0) {
        SessionSlots::Stamp(g_mainWnds[n].owner.process, self);
    } else {
        // With every slot held by a running session nothing is published: a
        // second start in this session then ends silently.
        n = SessionSlots::Claim(g_mainWnds, OwnSessionKey(), self, SessionSlots::HasProcessEnded);
    }
    if (n >= 0) {
        g_mainWnds[n].hMainWnd = hWnd;
    }
}

HWND CSingleInstance::GetMainWnd() {
    const int n = SessionSlots::Find(g_mainWnds, OwnSessionKey());
    return n >= 0 ? g_mainWnds[n].hMainWnd : nullptr;
}
