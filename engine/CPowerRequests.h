#pragma once

#include <windows.h>

#include <string>

// What the program asks of the power manager: the display kept on, the
// computer kept from sleeping, each with a reason that names who asks, as
// "powercfg /requests" shows it. Windows 7 and later take power requests;
// older systems the thread's execution state. The functions are bound at run
// time; tests give their own.
class CPowerRequests {
public:
    struct PowerApi {
        HANDLE(WINAPI* pfnCreate)(void* pContext) = nullptr;
        BOOL(WINAPI* pfnSet)(HANDLE hRequest, int nType) = nullptr;
        BOOL(WINAPI* pfnClear)(HANDLE hRequest, int nType) = nullptr;
        DWORD(WINAPI* pfnSetThreadExecutionState)(DWORD esFlags) = nullptr;
    };
    // POWER_REQUEST_TYPE's values.
    enum Kind { kDisplay = 0, kSystem = 1, kKinds = 2 };

    // The system's functions.
    CPowerRequests();
    explicit CPowerRequests(const PowerApi& api);
    CPowerRequests(const CPowerRequests&) = delete;
    CPowerRequests& operator=(const CPowerRequests&) = delete;
    virtual ~CPowerRequests();

    // Holds the request of one kind for the reason given, or releases it.
    // Repeating a call does nothing; a new reason takes a new request, which
    // is set before the old one is cleared.
    void Hold(Kind kind, bool bHold, const std::wstring& reason);
    bool IsHeld(Kind kind) const { return m_requests[kind].bHeld; }

private:
    struct Request {
        HANDLE hRequest = nullptr;
        std::wstring reason;
        bool bHeld = false;
    };

    bool HasRequests() const {
        return m_api.pfnCreate && m_api.pfnSet && m_api.pfnClear && !m_bRequestsStubbed;
    }
    HANDLE Create(const std::wstring& reason) const;
    void Close(Request& request) const;

    PowerApi m_api;
    Request m_requests[kKinds];
    // The functions exist but say they are not implemented (Wine 8): every
    // cycle would ask again. The execution state is asked instead.
    bool m_bRequestsStubbed = false;
};
