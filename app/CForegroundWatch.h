#pragma once

#include <windows.h>

// Tells a window at once when the foreground window changes: an
// out-of-context WinEvent hook, which maps no library into any process and
// is called back on the thread that set it, while it takes its messages.
// Each change is posted to the window as Message(). One watch per process.
class CForegroundWatch {
public:
    CForegroundWatch() = default;
    CForegroundWatch(const CForegroundWatch&) = delete;
    CForegroundWatch& operator=(const CForegroundWatch&) = delete;
    ~CForegroundWatch();

    // Starts reporting to the window; false when the system refused the hook.
    // Call from the thread that pumps the window's messages.
    bool Start(HWND hWnd);
    void Stop();
    bool IsWatching() const { return m_hHook != nullptr; }
    static UINT Message();

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK hHook, DWORD dwEvent, HWND hWnd, LONG idObject,
                                 LONG idChild, DWORD dwThread, DWORD dwTime);

    HWINEVENTHOOK m_hHook = nullptr;
    // Where the callback posts: it is handed no context of its own.
    static HWND s_hNotify;
};
