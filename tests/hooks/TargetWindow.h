#pragma once

#include <windows.h>

#include <utility>
#include <vector>

// A message-only window of the test process that stands for the program's main
// window: the hooks post their commands to it.
class TargetWindow {
public:
    TargetWindow();
    TargetWindow(const TargetWindow&) = delete;
    TargetWindow& operator=(const TargetWindow&) = delete;
    ~TargetWindow();

    HWND Handle() const { return m_hwnd; }
    // Removes the WM_COMMAND messages waiting for this window; returns their
    // (wParam, lParam) in order of arrival.
    std::vector<std::pair<WPARAM, LPARAM>> TakeCommands();

private:
    HWND m_hwnd;
};
