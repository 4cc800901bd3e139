#pragma once

#include "SessionSlots.h"
#include "TessikShare.h"

#include <windows.h>

// The hook library as one process sees it: the slot of its own logon session
// in the shared block, the hooks it installed and the flags it last asked
// for. The exports are its members; the system calls go through System, so
// that tests can run it with made-up sessions, processes and hooks:
//   volatile TessikShare& Share();
//   SessionSlots::ProcessStamp Self();
//   DWORD ThreadId();
//   bool HasEnded(const SessionSlots::ProcessStamp& stamp);
//   HHOOK Hook(int idHook);          a global hook of that type, or null
//   void Unhook(HHOOK hHook);
//   void Lock(); void Unlock();     this process's threads, one at a time
//
// The shared block is written by processes we do not control: what this
// process holds and installed is kept in its own memory, and the block is
// trusted only as far as the slot still carries the ticket and stamp this
// process took it with.
//
// Install and Uninstall are called from one thread, the flags from any. All
// fields start at zero, so the library's instance needs no constructor.
template <typename System> class HookSession {
public:
    // Once, when the library is mapped into the process.
    void Attach(DWORD dwSessionId) { m_nKey = SessionSlots::KeyOf(dwSessionId); }
    System& Sys() { return m_system; }

    // This process's session's slot, or null: what the hook procedures read.
    const volatile HookSlot* Slot() {
        volatile HookSlot* slots = m_system.Share().slots;
        const int n = SessionSlots::Find(slots, m_nKey);
        return n < 0 ? nullptr : &slots[n];
    }

    // Takes a slot for the session unless this process still holds one (the
    // session's own from whichever process recorded it, else a free one or
    // one whose process has ended), and installs both hooks unless this
    // thread did already. Null when no slot could be taken or a hook could
    // not be installed: then none of this process's hooks is left.
    HHOOK Install(HWND hTarget);
    // Removes this process's hooks and gives its slot back, if still its own.
    void Uninstall();
    // Each pair is kept for the process and written to its slot whenever it
    // holds one, so a later install starts with them.
    void SetMonitorEffect(int bPreventSaver, int bPreventPowerOff);
    void SetAreaBlackStatus(int bBlackShown, int bCounting);

private:
    struct Flags {
        int bBlackShown;
        int bCounting;
        int bPreventSaver;
        int bPreventPowerOff;
    };

    class Guard {
    public:
        explicit Guard(System& system) : m_system(system) { m_system.Lock(); }
        ~Guard() { m_system.Unlock(); }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        System& m_system;
    };

    // The slot this process took, while it still holds it; else null.
    volatile HookSlot* HeldSlot() {
        volatile HookSlot* slots = m_system.Share().slots;
        if (m_held == 0 || m_nSlot < 0 || m_nSlot >= SessionSlots::kCount ||
            !SessionSlots::Holds(slots[m_nSlot], m_held, m_self))
            return nullptr;
        return &slots[m_nSlot];
    }
    // Takes the session's slot from whoever recorded it, else claims one; -1
    // when the table is full. pbOwnSession: the slot already was the session's.
    int TakeSlot(const SessionSlots::ProcessStamp& self, SessionSlots::Ticket* pHeld,
                 bool* pbOwnSession);

    System m_system;
    LONG m_nKey;
    Flags m_wanted;
    int m_nSlot;
    // What this process holds its slot by (0: none), and as whom.
    SessionSlots::Ticket m_held;
    SessionSlots::ProcessStamp m_self;
    // This process's hooks, whatever the shared block says of them now.
    HHOOK m_hGetMsgHook;
    HHOOK m_hCbtHook;
    DWORD m_dwHookThread;
};

template <typename System>
int HookSession<System>::TakeSlot(const SessionSlots::ProcessStamp& self,
                                  SessionSlots::Ticket* pHeld, bool* pbOwnSession) {
    volatile HookSlot* slots = m_system.Share().slots;
    int n = SessionSlots::Find(slots, m_nKey);
    SessionSlots::Ticket seen;
    SessionSlots::ProcessStamp holder;
    // The session's slot, recorded by another of its processes (running, or
    // ended, and its id may be ours now) or by this one before it lost it:
    // taken over as long as nobody else takes it first.
    *pHeld = n >= 0 && SessionSlots::ReadHolder(slots[n], &seen, &holder)
                 ? SessionSlots::Take(slots[n], seen, m_nKey, self)
                 : 0;
    *pbOwnSession = *pHeld != 0;
    if (!*pbOwnSession) {
        n = SessionSlots::Claim(
            slots, m_nKey, self,
            [this](const SessionSlots::ProcessStamp& stamp) { return m_system.HasEnded(stamp); },
            pHeld);
    }
    return n;
}

template <typename System> HHOOK HookSession<System>::Install(HWND hTarget) {
    const SessionSlots::ProcessStamp self = m_system.Self();
    const DWORD dwThreadId = m_system.ThreadId();
    volatile HookSlot* pSlot;
    {
        Guard guard(m_system);
        pSlot = HeldSlot();
    }
    const bool bTaken = !pSlot;
    bool bOwnSession = false;
    SessionSlots::Ticket held = 0;
    int n = -1;
    // Outside the lock: the search for a slot whose program has ended opens
    // processes, and the flags must not wait for that.
    if (bTaken) {
        n = TakeSlot(self, &held, &bOwnSession);
        if (n < 0) {
            // Hooks without a slot would act on whatever another process
            // writes under this session's key.
            Uninstall();
            return nullptr;
        }
        pSlot = &m_system.Share().slots[n];
    }
    HHOOK hStaleGetMsgHook = nullptr, hStaleCbtHook = nullptr;
    bool bInPlace;
    {
        Guard guard(m_system);
        if (bTaken) {
            // Hooks that another process of this session recorded die with
            // that process on Windows, but not under Wine; those of another
            // session lived on its desktop and ended with it.
            if (bOwnSession) {
                if (pSlot->hGetMsgHook != m_hGetMsgHook)
                    hStaleGetMsgHook = pSlot->hGetMsgHook;
                if (pSlot->hCbtHook != m_hCbtHook)
                    hStaleCbtHook = pSlot->hCbtHook;
            }
            m_nSlot = n;
            m_held = held;
            m_self = self;
        }
        pSlot->hTargetWnd = hTarget;
        pSlot->bBlackShown = m_wanted.bBlackShown;
        pSlot->bCounting = m_wanted.bCounting;
        pSlot->bPreventSaver = m_wanted.bPreventSaver;
        pSlot->bPreventPowerOff = m_wanted.bPreventPowerOff;
        bInPlace = m_hGetMsgHook && m_hCbtHook && m_dwHookThread == dwThreadId;
        pSlot->hGetMsgHook = bInPlace ? m_hGetMsgHook : nullptr;
        pSlot->hCbtHook = bInPlace ? m_hCbtHook : nullptr;
        pSlot->dwInstallThreadId = dwThreadId;
    }
    // Outside the lock: the flags never wait on the system's hook calls.
    if (hStaleGetMsgHook)
        m_system.Unhook(hStaleGetMsgHook);
    if (hStaleCbtHook)
        m_system.Unhook(hStaleCbtHook);
    if (bInPlace)
        return m_hGetMsgHook;

    // A pair that another thread of this process installed, which lived as
    // long as that thread, or half of a failed install.
    if (m_hGetMsgHook)
        m_system.Unhook(m_hGetMsgHook);
    if (m_hCbtHook)
        m_system.Unhook(m_hCbtHook);
    HHOOK hGetMsgHook = m_system.Hook(WH_GETMESSAGE);
    HHOOK hCbtHook = hGetMsgHook ? m_system.Hook(WH_CBT) : nullptr;
    // Either hook alone is worse than none: without the message hook the
    // input that ends a blackout is never reported.
    if (!hCbtHook && hGetMsgHook) {
        m_system.Unhook(hGetMsgHook);
        hGetMsgHook = nullptr;
    }
    Guard guard(m_system);
    m_hGetMsgHook = hGetMsgHook;
    m_hCbtHook = hCbtHook;
    m_dwHookThread = hCbtHook ? dwThreadId : 0;
    if (volatile HookSlot* pHeld = HeldSlot()) {
        pHeld->hGetMsgHook = hGetMsgHook;
        pHeld->hCbtHook = hCbtHook;
    }
    return hCbtHook;
}

template <typename System> void HookSession<System>::Uninstall() {
    HHOOK hGetMsgHook, hCbtHook;
    {
        Guard guard(m_system);
        hGetMsgHook = m_hGetMsgHook;
        hCbtHook = m_hCbtHook;
        m_hGetMsgHook = nullptr;
        m_hCbtHook = nullptr;
        m_dwHookThread = 0;
        if (volatile HookSlot* pSlot = HeldSlot()) {
            pSlot->hGetMsgHook = nullptr;
            pSlot->hCbtHook = nullptr;
            SessionSlots::Release(*pSlot, m_held);
        }
        m_held = 0;
    }
    if (hGetMsgHook)
        m_system.Unhook(hGetMsgHook);
    if (hCbtHook)
        m_system.Unhook(hCbtHook);
}

template <typename System>
void HookSession<System>::SetMonitorEffect(int bPreventSaver, int bPreventPowerOff) {
    Guard guard(m_system);
    m_wanted.bPreventSaver = bPreventSaver;
    m_wanted.bPreventPowerOff = bPreventPowerOff;
    if (volatile HookSlot* pSlot = HeldSlot()) {
        pSlot->bPreventSaver = bPreventSaver;
        pSlot->bPreventPowerOff = bPreventPowerOff;
    }
}

template <typename System>
void HookSession<System>::SetAreaBlackStatus(int bBlackShown, int bCounting) {
    Guard guard(m_system);
    m_wanted.bBlackShown = bBlackShown;
    m_wanted.bCounting = bCounting;
    if (volatile HookSlot* pSlot = HeldSlot()) {
        pSlot->bBlackShown = bBlackShown;
        pSlot->bCounting = bCounting;
    }
}
