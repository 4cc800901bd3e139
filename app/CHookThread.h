#pragma once

#include "SessionSlots.h"
#include "TessikShare.h"

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
    CHookThread();
    CHookThread(const CHookThread&) = delete;
    CHookThread& operator=(const CHookThread&) = delete;
    ~CHookThread();

    // Each returns as soon as the work is posted; it is done in the order posted.
    void Install(HWND hTarget);
    void Uninstall();
    // The last install took, no removal has been asked for since, and the
    // library's shared block still gives this process its session's slot.
    // The watch cycle asks again while this is false (the session table may
    // have been full, or another process zeroed or took the slot), and leaves
    // the hooks alone while it is true.
    bool IsInstalled() const { return m_bInstalled.load() && IsSlotStillOurs(); }
    // Whether the session's slot in the block that the library maps still
    // carries this process's stamp; true when there is no block to read. A
    // few reads of memory already mapped, cheap enough for every cycle.
    bool IsSlotStillOurs() const;
    // The last request was an install, whether or not it has taken yet.
    bool IsRequested() const { return m_bRequested; }

private:
    // Starts the thread and waits until it can take posted messages.
    void Start();
    static DWORD WINAPI ThreadProc(LPVOID pReady);
    // void OnThreadMessage(UINT message, HWND hTarget): one posted piece of work
    void OnThreadMessage(UINT message, HWND hTarget);
    void Post(UINT message, HWND hTarget);

    // The library's block, this process's session and who this process is.
    volatile TessikShare* m_pShare;
    LONG m_nSessionKey = 0;
    SessionSlots::ProcessStamp m_self;

    HANDLE m_hThread = nullptr;
    DWORD m_dwThreadId = 0;
    std::atomic<bool> m_bInstalled{false};
    bool m_bRequested = false;
};
