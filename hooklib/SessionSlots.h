#pragma once

#include <windows.h>

// A small table of slots, one per logon session, in a section that every
// process mapping the module shares. Such a section is shared by every session
// on the machine (fast user switching, Remote Desktop), so each session keeps
// its state in a slot of its own, found by its session id.
//
// Header only, with no C runtime: the hook library, the program and the tests
// all compile it, so that tests can drive the table with made-up sessions.
namespace SessionSlots {

constexpr int kCount = 16;

// Who a process is: its id alone is not enough, since an ended process's id is
// soon given to another one.
struct ProcessStamp {
    DWORD dwProcessId;
    DWORD dwCreatedLow;
    DWORD dwCreatedHigh;
};

// The head of every slot.
struct Owner {
    // The session id plus one; zero while the slot is free.
    LONG nSessionKey;
    // The process that holds the slot.
    ProcessStamp process;
};

constexpr LONG KeyOf(DWORD dwSessionId) {
    return static_cast<LONG>(dwSessionId + 1);
}

inline bool IsSameProcess(const volatile ProcessStamp& recorded, const ProcessStamp& self) {
    return recorded.dwProcessId == self.dwProcessId && recorded.dwCreatedLow == self.dwCreatedLow &&
           recorded.dwCreatedHigh == self.dwCreatedHigh;
}

inline ProcessStamp Copy(const volatile ProcessStamp& stamp) {
    return ProcessStamp{stamp.dwProcessId, stamp.dwCreatedLow, stamp.dwCreatedHigh};
}

inline void Stamp(volatile ProcessStamp& recorded, const ProcessStamp& self) {
    recorded.dwProcessId = self.dwProcessId;
    recorded.dwCreatedLow = self.dwCreatedLow;
    recorded.dwCreatedHigh = self.dwCreatedHigh;
}

// The slot of the session with this key, or -1.
template <typename Slot> int Find(const volatile Slot* slots, LONG nKey) {
    if (nKey == 0)
        return -1;
    for (int n = 0; n < kCount; ++n) {
        if (slots[n].owner.nSessionKey == nKey)
            return n;
    }
    return -1;
}

// Takes a slot for a session that holds none: a free one, else one whose
// process has ended (a session that ended without giving its slot back).
// Returns -1 when every slot belongs to a process that still runs. The slot's
// other fields are as its last holder left them.
template <typename Slot, typename HasEnded>
int Claim(volatile Slot* slots, LONG nKey, const ProcessStamp& self, HasEnded hasEnded) {
    if (nKey == 0)
        return -1;
    for (int pass = 0; pass < 2; ++pass) {
        for (int n = 0; n < kCount; ++n) {
            volatile Owner& owner = slots[n].owner;
            const LONG nHeld = owner.nSessionKey;
            const bool bTake = pass == 0 ? nHeld == 0 : nHeld != 0 && hasEnded(Copy(owner.process));
            // Another process may take the same slot at the same moment.
            if (bTake && InterlockedCompareExchange(&owner.nSessionKey, nKey, nHeld) == nHeld) {
                Stamp(owner.process, self);
                return n;
            }
        }
    }
    return -1;
}

template <typename Slot> void Release(volatile Slot& slot) {
    InterlockedExchange(&slot.owner.nSessionKey, 0);
}

inline ProcessStamp CurrentProcessStamp() {
    FILETIME created = {}, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return ProcessStamp{GetCurrentProcessId(), created.dwLowDateTime, created.dwHighDateTime};
}

// Whether the stamped process is gone: no process has its id, or the one that
// has it was created at another time. A process of another user that cannot be
// opened counts as running.
inline bool HasProcessEnded(const ProcessStamp& stamp) {
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, stamp.dwProcessId);
    if (!hProcess)
        return GetLastError() == ERROR_INVALID_PARAMETER;
    FILETIME created, exited, kernel, user;
    DWORD dwExitCode = STILL_ACTIVE;
    bool bEnded = false;
    if (GetProcessTimes(hProcess, &created, &exited, &kernel, &user))
        bEnded = created.dwLowDateTime != stamp.dwCreatedLow ||
                 created.dwHighDateTime != stamp.dwCreatedHigh;
    // Someone's open handle keeps an ended process's object alive.
    if (!bEnded && GetExitCodeProcess(hProcess, &dwExitCode))
        bEnded = dwExitCode != STILL_ACTIVE;
    CloseHandle(hProcess);
    return bEnded;
}

} // namespace SessionSlots
