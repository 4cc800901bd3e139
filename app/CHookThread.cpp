#include "CHookThread.h"

#include "ShareSection.h"
#include "TessikDLL.h"

namespace {

const UINT WM_INSTALL_HOOK = WM_APP + 1;
const UINT WM_UNINSTALL_HOOK = WM_APP + 2;
// The thread only has to create its message queue, a matter of microseconds.
const DWORD kStartWaitMs = 5000;

} // namespace

CHookThread::CHookThread()
    : m_pShare(static_cast<volatile TessikShare*>(
          FindShareSection(GetModuleHandleW(L"TessikDLL.dll"), sizeof(TessikShare)))),
      m_self(SessionSlots::CurrentProcessStamp()) {
    DWORD dwSessionId = 0;
    if (ProcessIdToSessionId(GetCurrentProcessId(), &dwSessionId)) {
        m_nSessionKey = SessionSlots::KeyOf(dwSessionId);
    }
}

void CHookThread::Start() {
    HANDLE hReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!hReady) {
        return;
    }
    m_hThread = CreateThread(nullptr, 0, ThreadProc, hReady, 0, &m_dwThreadId);
    // A post before the thread has a message queue would be lost.
    if (m_hThread && WaitForSingleObject(hReady, kStartWaitMs) != WAIT_OBJECT_0) {
        m_dwThreadId = 0;
    }
    CloseHandle(hReady);
}

CHookThread::~CHookThread() {
    if (!m_hThread) {
        UninstallHook();
        return;
    }
    if (m_dwThreadId && PostThreadMessageA(m_dwThreadId, WM_QUIT, 0, 0)) {
        WaitForSingleObject(m_hThread, INFINITE);
    } else {
        UninstallHook();
    }
    CloseHandle(m_hThread);
}

void CHookThread::Install(HWND hTarget) {
    m_bRequested = true;
    Post(WM_INSTALL_HOOK, hTarget);
}

void CHookThread::Uninstall() {
    m_bRequested = false;
    m_bInstalled = false;
    Post(WM_UNINSTALL_HOOK, nullptr);
}

void CHookThread::Post(UINT message, HWND hTarget) {
    if (!m_hThread) {
        Start();
    }
    // Without the thread the work is done here rather than not at all.
    if (!m_dwThreadId || !PostThreadMessageA(m_dwThreadId, message, reinterpret_cast<WPARAM>(this),
                                             reinterpret_cast<LPARAM>(hTarget))) {
        OnThreadMessage(message, hTarget);
    }
}

bool CHookThread::IsSlotStillOurs() const {
    if (!m_pShare || !m_nSessionKey) {
        return true;
    }
    const int n = SessionSlots::Find(m_pShare->slots, m_nSessionKey);
    SessionSlots::Ticket ticket;
    SessionSlots::ProcessStamp holder;
    return n >= 0 && SessionSlots::ReadHolder(m_pShare->slots[n], &ticket, &holder) &&
           SessionSlots::IsSameProcess(holder, m_self);
}

void CHookThread::OnThreadMessage(UINT message, HWND hTarget) {
    switch (message) {
    case WM_INSTALL_HOOK:
        m_bInstalled = InstallHook(hTarget) != nullptr;
        break;
    case WM_UNINSTALL_HOOK:
        UninstallHook();
        m_bInstalled = false;
        break;
    default:
        break;
    }
}

DWORD WINAPI CHookThread::ThreadProc(LPVOID pReady) {
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(static_cast<HANDLE>(pReady));
    // GetMessage also runs the hook calls that other programs make into this thread.
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.wParam) {
            reinterpret_cast<CHookThread*>(msg.wParam)
                ->OnThreadMessage(msg.message, reinterpret_cast<HWND>(msg.lParam));
        }
    }
    // The hooks go with the thread; the session's slot is given back.
    UninstallHook();
    return 0;
}
