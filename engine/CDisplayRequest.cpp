#include "CDisplayRequest.h"

namespace {

// POWER_REQUEST_TYPE's PowerRequestDisplayRequired.
const int kDisplayRequired = 0;
const ULONG kContextVersion = 0;
const DWORD kContextSimpleString = 0x1;

// REASON_CONTEXT with a simple string: what "powercfg /requests" shows.
struct ReasonContext {
    ULONG Version;
    DWORD Flags;
    const wchar_t* SimpleReasonString;
    void* Reserved[3];
};

template <typename T> T Bind(HMODULE hModule, const char* pszName) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(hModule, pszName)));
}

} // namespace

CDisplayRequest::CDisplayRequest() {
    HMODULE hKernel = GetModuleHandleA("kernel32.dll");
    if (hKernel) {
        m_api.pfnCreate = Bind<decltype(m_api.pfnCreate)>(hKernel, "PowerCreateRequest");
        m_api.pfnSet = Bind<decltype(m_api.pfnSet)>(hKernel, "PowerSetRequest");
        m_api.pfnClear = Bind<decltype(m_api.pfnClear)>(hKernel, "PowerClearRequest");
        m_api.pfnSetThreadExecutionState =
            Bind<decltype(m_api.pfnSetThreadExecutionState)>(hKernel, "SetThreadExecutionState");
    }
}

CDisplayRequest::CDisplayRequest(const PowerApi& api) : m_api(api) {}

CDisplayRequest::~CDisplayRequest() {
    Hold(false);
    if (m_hRequest && m_hRequest != INVALID_HANDLE_VALUE) {
        CloseHandle(m_hRequest);
    }
}

void CDisplayRequest::Hold(bool bHold) {
    if (bHold == m_bHeld) {
        return;
    }
    const bool bRequests = m_api.pfnCreate && m_api.pfnSet && m_api.pfnClear;
    if (bRequests && !m_hRequest) {
        ReasonContext reason = {
            kContextVersion, kContextSimpleString, L"Qorvane: a watched program is running", {}};
        m_hRequest = m_api.pfnCreate(&reason);
    }
    if (bRequests && m_hRequest && m_hRequest != INVALID_HANDLE_VALUE) {
        BOOL ok = bHold ? m_api.pfnSet(m_hRequest, kDisplayRequired)
                        : m_api.pfnClear(m_hRequest, kDisplayRequired);
        if (ok) {
            m_bHeld = bHold;
        }
        return;
    }
    if (m_api.pfnSetThreadExecutionState) {
        DWORD flags = ES_CONTINUOUS | (bHold ? ES_DISPLAY_REQUIRED : 0);
        if (m_api.pfnSetThreadExecutionState(flags)) {
            m_bHeld = bHold;
        }
    }
}
