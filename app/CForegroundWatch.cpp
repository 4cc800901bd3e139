#include "CForegroundWatch.h"

HWND CForegroundWatch::s_hNotify = nullptr;

CForegroundWatch::~CForegroundWatch() {
    Stop();
}

bool CForegroundWatch::Start(HWND hWnd) {
    Stop();
    s_hNotify = hWnd;
    m_hHook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, OnEvent, 0,
                              0, WINEVENT_OUTOFCONTEXT);
    if (!m_hHook) {
        s_hNotify = nullptr;
    }
    return m_hHook != nullptr;
}

void CForegroundWatch::Stop() {
    if (m_hHook) {
        UnhookWinEvent(m_hHook);
        m_hHook = nullptr;
        s_hNotify = nullptr;
    }
}

UINT CForegroundWatch::Message() {
    static const UINT s_uMessage = RegisterWindowMessageA("Qorvane.ForegroundChanged");
    return s_uMessage;
}

void CALLBACK CForegroundWatch::OnEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
    // Events queued before the unhook may still come.
    if (s_hNotify) {
        PostMessageA(s_hNotify, Message(), 0, 0);
    }
}
