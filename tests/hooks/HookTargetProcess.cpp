#include "HookTargetProcess.h"

#include "TestPaths.h"
#include "../helpers/HookTargetProtocol.h"

#include <cstring>

using namespace HookTargetProtocol;

namespace {

constexpr DWORD kTimeoutMs = 10000;

struct ThreadWindowSearch {
    HWND found;
};

// The thread may own other windows too (Wine gives it an IME window).
BOOL CALLBACK TakeTargetWindow(HWND hwnd, LPARAM lParam) {
    char className[64];
    if (!GetClassNameA(hwnd, className, sizeof className) || strcmp(className, kClassName) != 0)
        return TRUE;
    reinterpret_cast<ThreadWindowSearch*>(lParam)->found = hwnd;
    return FALSE;
}

LRESULT SendWithTimeout(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam = 0) {
    DWORD_PTR result = static_cast<DWORD_PTR>(-1);
    if (!SendMessageTimeoutA(hwnd, message, wParam, lParam, SMTO_NORMAL, kTimeoutMs, &result))
        return -2;
    return static_cast<LRESULT>(result);
}

} // namespace

HookTargetProcess::HookTargetProcess(const std::string& arguments, const std::string& program)
    : m_nextMarker(kMarkerBase) {
    std::string cmd =
        "\"" + (program.empty() ? SiblingProgram("HookTarget.exe") : program) + "\" " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return;
    m_process = pi.hProcess;
    m_processId = pi.dwProcessId;
    DWORD start = GetTickCount();
    ThreadWindowSearch search = {nullptr};
    while (!search.found && GetTickCount() - start < kTimeoutMs &&
           WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
        Sleep(10);
        EnumThreadWindows(pi.dwThreadId, TakeTargetWindow, reinterpret_cast<LPARAM>(&search));
    }
    CloseHandle(pi.hThread);
    m_hwnd = search.found;
}

HookTargetProcess::~HookTargetProcess() {
    Kill();
}

void HookTargetProcess::Kill() {
    if (!m_process)
        return;
    TerminateProcess(m_process, 9);
    WaitForSingleObject(m_process, kTimeoutMs);
    CloseHandle(m_process);
    m_process = nullptr;
    m_hwnd = nullptr;
}

LRESULT HookTargetProcess::PostAndReceive(UINT message, WPARAM wParam, WPARAM* receivedWParam) {
    LPARAM marker = m_nextMarker++;
    if (!m_hwnd || !PostMessageA(m_hwnd, message, wParam, marker))
        return -1;
    DWORD start = GetTickCount();
    LRESULT received;
    while ((received = SendWithTimeout(m_hwnd, kQueryMessage, marker)) == -1 &&
           GetTickCount() - start < kTimeoutMs)
        Sleep(1);
    if (receivedWParam)
        *receivedWParam = static_cast<WPARAM>(SendWithTimeout(m_hwnd, kQueryWParam, marker));
    return received < 0 ? -1 : received;
}

LRESULT HookTargetProcess::PostSysCommandAndReceive(WPARAM command, LPARAM lParam,
                                                    WPARAM* receivedWParam,
                                                    LPARAM* receivedLParam) {
    SendWithTimeout(m_hwnd, kQueryPosted, kForgetPosted);
    if (!m_hwnd || !PostMessageA(m_hwnd, WM_SYSCOMMAND, command, lParam))
        return -1;
    // Posted messages keep their order: once this one has arrived, so has the command.
    if (PostAndReceive(WM_USER, 0) != WM_USER)
        return -1;
    if (receivedWParam)
        *receivedWParam = static_cast<WPARAM>(SendWithTimeout(m_hwnd, kQueryPosted, kPostedWParam));
    if (receivedLParam)
        *receivedLParam = SendWithTimeout(m_hwnd, kQueryPosted, kPostedLParam);
    return SendWithTimeout(m_hwnd, kQueryPosted, kPostedMessage);
}

LRESULT HookTargetProcess::TakePosted() {
    if (PostAndReceive(WM_USER, 0) != WM_USER)
        return -1;
    LRESULT message = SendWithTimeout(m_hwnd, kQueryPosted, kPostedMessage);
    SendWithTimeout(m_hwnd, kQueryPosted, kForgetPosted);
    return message;
}

LRESULT HookTargetProcess::CbtAnswerToSysCommand(WPARAM command, LPARAM lParam) {
    SendWithTimeout(m_hwnd, kQueryCbtAnswer, 0);
    SendWithTimeout(m_hwnd, WM_SYSCOMMAND, command, lParam);
    return SendWithTimeout(m_hwnd, kQueryCbtAnswer, 0);
}
