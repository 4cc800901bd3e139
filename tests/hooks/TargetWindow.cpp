#include "TargetWindow.h"

TargetWindow::TargetWindow()
    : m_hwnd(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleA(nullptr), nullptr)) {}

TargetWindow::~TargetWindow() {
    if (m_hwnd)
        DestroyWindow(m_hwnd);
}

std::vector<std::pair<WPARAM, LPARAM>> TargetWindow::TakeCommands() {
    std::vector<std::pair<WPARAM, LPARAM>> commands;
    MSG msg;
    while (PeekMessageA(&msg, m_hwnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        commands.emplace_back(msg.wParam, msg.lParam);
    return commands;
}
