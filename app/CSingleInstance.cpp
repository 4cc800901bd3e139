#include "CSingleInstance.h"

#include "OtherCopy.h"
#include "ProgramImage.h"

namespace {

using MainWndSlot = CSingleInstance::MainWndSlot;

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

// The slot this process published in, and the ticket it holds it by.
int g_nHeldSlot = 0;
SessionSlots::Ticket g_held = 0;

// Checks for the owner between looks at the slot.
const DWORD kPublishPollMs = 100;

LONG OwnSessionKey() {
    static const LONG s_nKey = [] {
        DWORD dwSessionId = 0;
        return ProcessIdToSessionId(GetCurrentProcessId(), &dwSessionId)
                   ? SessionSlots::KeyOf(dwSessionId)
                   : 0;
    }();
    return s_nKey;
}

bool HoldsPublishedSlot(const SessionSlots::ProcessStamp& self) {
    return SessionSlots::Holds(g_mainWnds[g_nHeldSlot], g_held, self);
}

} // namespace

CSingleInstance::CSingleInstance(const char* pszName) {
    lstrcpynA(m_szName, pszName ? pszName : "", sizeof m_szName);
}

CSingleInstance::~CSingleInstance() {
    // A window of this process is no use to the session's next start.
    if (HoldsPublishedSlot(SessionSlots::CurrentProcessStamp())) {
        g_mainWnds[g_nHeldSlot].hMainWnd = nullptr;
        SessionSlots::Release(g_mainWnds[g_nHeldSlot], g_held);
    }
    if (m_hMutex) {
        CloseHandle(m_hMutex);
    }
}

BOOL CSingleInstance::IsAlreadyRunning() {
    m_hMutex = CreateMutexA(nullptr, TRUE, m_szName);
    m_state = InstanceStateOf(m_hMutex != nullptr, GetLastError());
    return m_state != InstanceState::First;
}

void CSingleInstance::Release() {
    if (!m_hMutex) {
        return;
    }
    if (m_state == InstanceState::First) {
        ReleaseMutex(m_hMutex);
    }
    CloseHandle(m_hMutex);
    m_hMutex = nullptr;
}

BOOL CSingleInstance::FindRunning() {
    m_hMutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, m_szName);
    m_state = m_hMutex ? InstanceState::Running : InstanceStateOf(false, GetLastError());
    return m_state != InstanceState::First;
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
    const LONG nKey = OwnSessionKey();
    if (!HoldsPublishedSlot(self)) {
        // The session's slot is left by an instance that has ended: one runs
        // per session.
        int n = SessionSlots::Find(g_mainWnds, nKey);
        SessionSlots::Ticket seen, held = 0;
        SessionSlots::ProcessStamp holder;
        if (n >= 0 && SessionSlots::ReadHolder(g_mainWnds[n], &seen, &holder)) {
            held = SessionSlots::Take(g_mainWnds[n], seen, nKey, self);
        }
        if (!held) {
            n = SessionSlots::Claim(g_mainWnds, nKey, self, SessionSlots::HasProcessEnded, &held);
        }
        // With every slot held by a running session nothing is published: a
        // second start in this session then finds no window.
        if (!held) {
            return;
        }
        g_nHeldSlot = n;
        g_held = held;
    }
    g_mainWnds[g_nHeldSlot].hMainWnd = hWnd;
}

HWND CSingleInstance::GetMainWnd() {
    const int n = SessionSlots::Find(g_mainWnds, OwnSessionKey());
    SessionSlots::Ticket ticket;
    SessionSlots::ProcessStamp holder;
    if (n < 0 || !SessionSlots::ReadHolder(g_mainWnds[n], &ticket, &holder)) {
        return nullptr;
    }
    HWND hWnd = g_mainWnds[n].hMainWnd;
    // A planted handle would have a later start send its close or grant the
    // foreground to any window.
    DWORD dwProcessId = 0;
    if (!hWnd || !GetWindowThreadProcessId(hWnd, &dwProcessId) ||
        dwProcessId != holder.dwProcessId || !IsRunningThisProgram(dwProcessId)) {
        return nullptr;
    }
    return hWnd;
}

HWND CSingleInstance::WaitForMainWnd(DWORD dwTimeoutMs, std::wstring* pOtherFolder) {
    const ULONGLONG ullEnd = GetTickCount64() + dwTimeoutMs;
    for (;;) {
        if (HWND hWnd = GetMainWnd()) {
            return hWnd;
        }
        if (HWND hWnd = pOtherFolder ? FindOtherCopyWindow(pOtherFolder) : nullptr) {
            return hWnd;
        }
        if (GetTickCount64() >= ullEnd) {
            return nullptr;
        }
        if (!m_hMutex) {
            Sleep(kPublishPollMs);
            continue;
        }
        // An instance that ends without a window (its uninstall question, a
        // failed start) leaves the mutex: nothing is coming then.
        const DWORD result = WaitForSingleObject(m_hMutex, kPublishPollMs);
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
            ReleaseMutex(m_hMutex);
            return nullptr;
        }
    }
}
