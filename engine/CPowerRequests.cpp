#include "CPowerRequests.h"

namespace {

const ULONG kContextVersion = 0;
const DWORD kContextSimpleString = 0x1;

// REASON_CONTEXT with a simple string.
struct ReasonContext {
    ULONG Version;
    DWORD Flags;
    const wchar_t* SimpleReasonString;
    void* Reserved[3];
};

const DWORD kExecutionState[CPowerRequests::kKinds] = {ES_DISPLAY_REQUIRED, ES_SYSTEM_REQUIRED};

template <typename T> T Bind(HMODULE hModule, const char* pszName) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(hModule, pszName)));
}

} // namespace

CPowerRequests::CPowerRequests() {
    HMODULE hKernel = GetModuleHandleA("kernel32.dll");
    if (hKernel) {
        m_api.pfnCreate = Bind<decltype(m_api.pfnCreate)>(hKernel, "PowerCreateRequest");
        m_api.pfnSet = Bind<decltype(m_api.pfnSet)>(hKernel, "PowerSetRequest");
        m_api.pfnClear = Bind<decltype(m_api.pfnClear)>(hKernel, "PowerClearRequest");
        m_api.pfnSetThreadExecutionState =
            Bind<decltype(m_api.pfnSetThreadExecutionState)>(hKernel, "SetThreadExecutionState");
    }
}

CPowerRequests::CPowerRequests(const PowerApi& api) : m_api(api) {}

CPowerRequests::~CPowerRequests() {
    for (int kind = 0; kind < kKinds; ++kind) {
        Hold(static_cast<Kind>(kind), false, std::wstring());
        Close(m_requests[kind]);
    }
}

HANDLE CPowerRequests::Create(const std::wstring& reason) const {
    ReasonContext context = {kContextVersion, kContextSimpleString, reason.c_str(), {}};
    HANDLE hRequest = m_api.pfnCreate(&context);
    return hRequest == INVALID_HANDLE_VALUE ? nullptr : hRequest;
}

void CPowerRequests::Close(Request& request) const {
    if (request.hRequest) {
        CloseHandle(request.hRequest);
    }
    request.hRequest = nullptr;
}

void CPowerRequests::Hold(Kind kind, bool bHold, const std::wstring& reason) {
    Request& request = m_requests[kind];
    if (!HasRequests()) {
        if (bHold == request.bHeld || !m_api.pfnSetThreadExecutionState) {
            return;
        }
        // One state for the thread: it names every kind held.
        DWORD flags = ES_CONTINUOUS;
        for (int other = 0; other < kKinds; ++other) {
            const bool bHeld = other == kind ? bHold : m_requests[other].bHeld;
            flags |= bHeld ? kExecutionState[other] : 0;
        }
        if (m_api.pfnSetThreadExecutionState(flags)) {
            request.bHeld = bHold;
        }
        return;
    }
    if (!bHold) {
        if (request.bHeld && m_api.pfnClear(request.hRequest, kind)) {
            request.bHeld = false;
        }
        return;
    }
    if (request.bHeld && request.reason == reason) {
        return;
    }
    // The request object keeps the reason it was made with: another reason
    // needs another object, held before the old one lets go.
    Request next;
    next.reason = reason;
    if (request.hRequest && request.reason == reason) {
        next.hRequest = request.hRequest;
        request.hRequest = nullptr;
    } else {
        next.hRequest = Create(reason);
        if (!next.hRequest && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
            m_bRequestsStubbed = true;
            Hold(kind, bHold, reason);
            return;
        }
    }
    next.bHeld = next.hRequest && m_api.pfnSet(next.hRequest, kind);
    if (!next.bHeld) {
        Close(next);
        return;
    }
    if (request.bHeld) {
        m_api.pfnClear(request.hRequest, kind);
    }
    Close(request);
    request = next;
}
