#pragma once

#include "SessionSlots.h"
#include "InstanceState.h"

#include <windows.h>

#include <string>

// The guard that keeps one instance running in each logon session: a named
// mutex (of the session's own namespace), and the first instance's main window
// published in its session's slot of a section that every process of this
// executable shares, in every session.
class CSingleInstance {
public:
    // One session's published window. Any process that maps this executable
    // as an image can write it: a reader checks it before use.
    struct MainWndSlot {
        SessionSlots::Owner owner;
        HWND hMainWnd;
    };

    explicit CSingleInstance(const char* pszName);
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;
    virtual ~CSingleInstance();

    // Creates the mutex (asking to own it); TRUE when another process had
    // created it already, whether or not this one may open it. Call once per
    // process.
    BOOL IsAlreadyRunning();
    // Instead of IsAlreadyRunning, for a start that only asks the running
    // instance: opens the mutex without creating it, so that a start at the
    // same moment never takes this one for the instance; TRUE when one runs,
    // whether or not this process may open its mutex.
    BOOL FindRunning();
    // What that call found.
    InstanceState GetState() const { return m_state; }
    // Waits until the instance that owns the mutex has ended (it released
    // or abandoned it), at most dwTimeoutMs; TRUE when it has.
    BOOL WaitForOwnerToEnd(DWORD dwTimeoutMs);
    // Gives the mutex up before this start ends on its own: a start that
    // only tells the user something must not pass for the instance while
    // its message waits for an answer.
    void Release();

    // The main window for this session's later starts; the slot is given back
    // when the guard of the process that published it goes.
    static void SetMainWnd(HWND hWnd);
    // The window this session's running instance published, when it is a
    // window of the process that published it and that process runs this
    // same executable file; else null.
    static HWND GetMainWnd();
    // GetMainWnd, waiting up to dwTimeoutMs for a running instance that has
    // not published its window yet; null when none came, or when the
    // instance ended first. With pOtherFolder, the main window of a copy
    // from another folder counts too, and its folder goes there.
    HWND WaitForMainWnd(DWORD dwTimeoutMs, std::wstring* pOtherFolder = nullptr);

private:
    char m_szName[260];
    HANDLE m_hMutex = nullptr;
    InstanceState m_state = InstanceState::First;
};
