#pragma once

#include <windows.h>

#include <string>

// A running HookTarget helper (same bitness as the test) and its window.
// Ends the process when destroyed.
class HookTargetProcess {
public:
    // Starts the helper with the given arguments and waits for its window;
    // program names a copy of the helper to start instead of the one built.
    explicit HookTargetProcess(const std::string& arguments = "", const std::string& program = "");
    HookTargetProcess(const HookTargetProcess&) = delete;
    HookTargetProcess& operator=(const HookTargetProcess&) = delete;
    ~HookTargetProcess();

    HWND Window() const { return m_hwnd; }
    DWORD ProcessId() const { return m_processId; }
    void Kill();

    // Posts a message with a fresh marker as lParam and waits until the window
    // has received it. Returns the message number it arrived as (-1 on timeout)
    // and stores the wParam it came with.
    LRESULT PostAndReceive(UINT message, WPARAM wParam, WPARAM* receivedWParam = nullptr);
    // Posts WM_SYSCOMMAND with exactly this lParam and waits until the window
    // has taken it from its queue. Returns the message number it came out of
    // the hooks as (-1 on timeout) and stores its wParam and lParam.
    LRESULT PostSysCommandAndReceive(WPARAM command, LPARAM lParam,
                                     WPARAM* receivedWParam = nullptr,
                                     LPARAM* receivedLParam = nullptr);
    // Sends WM_SYSCOMMAND, which the helper passes to its default window
    // procedure; returns the global CBT hooks' answer: 1 refused, 0 allowed.
    LRESULT CbtAnswerToSysCommand(WPARAM command, LPARAM lParam = 0);
    // The last system command, command or registered message that anyone
    // posted to the window without a marker since the previous call (-1:
    // none), once everything posted before has arrived.
    LRESULT TakePosted();

private:
    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
    HWND m_hwnd = nullptr;
    LPARAM m_nextMarker;
};
