#pragma once

#include <windows.h>

#include <atomic>

// The thread that installs and removes the hook library's hooks, and does
// nothing else but pump messages. A global hook reaches programs of the other
// bitness by calling back into the thread that installed it; on this thread
// those calls never wait for the main window's work (process snapshots, a
// hung shell, a slow save). The owner only posts to it.
//
// Started at the first request: a thread that waits for messages makes the
// process count as idle (WaitForInputIdle), which must wait for the main
// window's set-up. When the owner goes, the thread removes the hooks and ends,
// and the owner waits for that.
class CHookThread {
public:
    CHookThread() = default;
    CHookThread(const CHookThread&) = delete;
    CHookThread& operator=(const CHookThread&) = delete;
    ~CHookThread();

    // Each returns as soon as the work is posted; it is done in the order posted.
    void Install(HWND hTarget);
    void Uninstall();
    // The last install took and no removal has been asked for since. The
    // watch cycle asks again while this is false (the session table may have
    // been full), and leaves the hooks alone while it is true.
    bool IsInstalled() const { return m_bInstalled.load(); }
    // The last request was an install, whether or not it has taken yet.
    bool IsRequested() const { return m_bRequested; }

private:
    // Starts the thread and waits until it can take posted messages.
    void Start();
    static DWORD WINAPI ThreadProc(LPVOID pReady);
    // void OnThreadMessage(UINT message, HWND hTarget): one posted piece of work
    void OnThreadMessage(UINT message, HWND hTarget);
    void Post(UINT message, HWND hTarget);

    HANDLE m_hThread = nullptr;
    DWORD m_dwThreadId = 0;
    std::atomic<bool> m_bInstalled{false};
    bool m_bRequested = false;
};
