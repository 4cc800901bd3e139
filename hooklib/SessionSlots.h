#pragma once

#include <windows.h>

// A small table of slots, one per logon session, in a section that every
// process mapping the module shares. Such a section is shared by every session
// on the machine (fast user switching, Remote Desktop), so each session keeps
// its state in a slot of its own, found by its session id.
//
// Any process that maps the module can write the table, and processes of
// several sessions claim slots at the same moments: who holds a slot changes
// only by one compare-exchange over the session key and a generation, and a
// holder's stamp is read as whole only between two looks at an unchanged head.
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

// The head of a slot as one word: the session key in the low half (zero while
// the slot is free) and, in the high half, a generation that every change of
// holder counts up, so that a claimant can tell whether anyone took the slot
// after it looked. Never zero while the slot is held.
using Ticket = LONG64;

// Set in the key while the claimant writes its stamp: until it is cleared the
// slot is nobody's, so a half-written stamp is never read as a holder.
constexpr LONG kClaimingFlag = 0x40000000;

// The head of every slot.
struct Owner {
    alignas(8) Ticket nTicket;
    // The process that holds the slot; written only while kClaimingFlag is set.
    ProcessStamp process;
};

constexpr LONG KeyOf(DWORD dwSessionId) {
    return static_cast<LONG>(dwSessionId + 1);
}

constexpr Ticket MakeTicket(LONG nKey, DWORD dwGeneration) {
    return static_cast<Ticket>((static_cast<ULONG64>(dwGeneration) << 32) |
                               static_cast<ULONG64>(static_cast<DWORD>(nKey)));
}

constexpr LONG KeyIn(Ticket ticket) {
    return static_cast<LONG>(static_cast<DWORD>(static_cast<ULONG64>(ticket)));
}

constexpr DWORD GenerationIn(Ticket ticket) {
    return static_cast<DWORD>(static_cast<ULONG64>(ticket) >> 32);
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

// The head as one value: a 32-bit process reads the two halves apart.
inline Ticket ReadTicket(const volatile Owner& owner) {
#ifdef _WIN64
    return owner.nTicket;
#else
    return InterlockedCompareExchange64(const_cast<volatile Ticket*>(&owner.nTicket), 0, 0);
#endif
}

// The slot's holder and the ticket it holds the slot by; false while the slot
// is free, being claimed, or changed hands while it was read.
template <typename Slot>
bool ReadHolder(const volatile Slot& slot, Ticket* pTicket, ProcessStamp* pHolder) {
    const Ticket ticket = ReadTicket(slot.owner);
    const LONG nKey = KeyIn(ticket);
    if (nKey == 0 || (nKey & kClaimingFlag))
        return false;
    *pHolder = Copy(slot.owner.process);
    *pTicket = ticket;
    return ReadTicket(slot.owner) == ticket;
}

// Whether the slot is still held by the ticket it was taken with, and by self.
template <typename Slot>
bool Holds(const volatile Slot& slot, Ticket held, const ProcessStamp& self) {
    Ticket ticket;
    ProcessStamp holder;
    return held != 0 && ReadHolder(slot, &ticket, &holder) && ticket == held &&
           IsSameProcess(holder, self);
}

// The slot of the session with this key, or -1.
template <typename Slot> int Find(const volatile Slot* slots, LONG nKey) {
    if (nKey == 0)
        return -1;
    for (int n = 0; n < kCount; ++n) {
        if (KeyIn(slots[n].owner.nTicket) == nKey)
            return n;
    }
    return -1;
}

// Takes the slot for the session nKey, as long as its head is still `seen`,
// and stamps it as self's. Returns the ticket it is now held by, or 0 when
// someone changed it first. The slot's other fields are as its last holder
// left them.
template <typename Slot>
Ticket Take(volatile Slot& slot, Ticket seen, LONG nKey, const ProcessStamp& self) {
    if (nKey <= 0 || (nKey & kClaimingFlag))
        return 0;
    volatile Owner& owner = slot.owner;
    const DWORD dwGeneration = GenerationIn(seen) + 1;
    const Ticket claiming = MakeTicket(nKey | kClaimingFlag, dwGeneration);
    if (InterlockedCompareExchange64(&owner.nTicket, claiming, seen) != seen)
        return 0;
    Stamp(owner.process, self);
    const Ticket held = MakeTicket(nKey, dwGeneration);
    return InterlockedCompareExchange64(&owner.nTicket, held, claiming) == claiming ? held : 0;
}

// Takes a slot for a session that holds none: a free one, else one whose
// process has ended (a session that ended without giving its slot back).
// Returns -1 when every slot belongs to a process that still runs or is being
// claimed.
template <typename Slot, typename HasEnded>
int Claim(volatile Slot* slots, LONG nKey, const ProcessStamp& self, HasEnded hasEnded,
          Ticket* pHeld) {
    for (int pass = 0; pass < 2; ++pass) {
        for (int n = 0; n < kCount; ++n) {
            Ticket seen = ReadTicket(slots[n].owner);
            ProcessStamp holder;
            const bool bTake = pass == 0 ? KeyIn(seen) == 0
                                         : ReadHolder(slots[n], &seen, &holder) && hasEnded(holder);
            // Another process may take the same slot at the same moment.
            if (bTake) {
                if (const Ticket held = Take(slots[n], seen, nKey, self)) {
                    *pHeld = held;
                    return n;
                }
            }
        }
    }
    return -1;
}

// Gives the slot back, unless it has changed hands since it was taken.
template <typename Slot> bool Release(volatile Slot& slot, Ticket held) {
    const Ticket freed = MakeTicket(0, GenerationIn(held) + 1);
    return held != 0 && InterlockedCompareExchange64(&slot.owner.nTicket, freed, held) == held;
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
