#pragma once

#include <windows.h>

// Keeps the display on through the power manager while held. Windows 7 and
// later take a display-required power request; older systems the thread's
// execution state. The functions are bound at run time; tests give their own.
class CDisplayRequest {
public:
    struct PowerApi {
        HANDLE(WINAPI* pfnCreate)(void* pContext) = nullptr;
        BOOL(WINAPI* pfnSet)(HANDLE hRequest, int nType) = nullptr;
        BOOL(WINAPI* pfnClear)(HANDLE hRequest, int nType) = nullptr;
        DWORD(WINAPI* pfnSetThreadExecutionState)(DWORD esFlags) = nullptr;
    };

    // The system's functions.
    CDisplayRequest();
    explicit CDisplayRequest(const PowerApi& api);
    CDisplayRequest(const CDisplayRequest&) = delete;
    CDisplayRequest& operator=(const CDisplayRequest&) = delete;
    virtual ~CDisplayRequest();

    // Holds or releases the request; repeating the same call does nothing.
    void Hold(bool bHold);
    bool IsHeld() const { return m_bHeld; }

private:
    PowerApi m_api;
    HANDLE m_hRequest = nullptr;
    bool m_bHeld = false;
};
