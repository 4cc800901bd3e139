#pragma once

#include "SessionSlots.h"
#include "TessikShare.h"

#include <windows.h>

// The hook library as one process sees it: the slot of its own logon session
// in the shared block, and the flags it last asked for. The exports are its
// members; the system calls go through System, so that tests can run it with
// made-up sessions, processes and hooks:
//   volatile TessikShare& Share();
//   SessionSlots::ProcessStamp Self();
//   DWORD ThreadId();
//   bool HasEnded(const SessionSlots::ProcessStamp& stamp);
//   HHOOK Hook(int idHook);          a global hook of that type
//   void Unhook(HHOOK hHook);
//   void Lock(); void Unlock();     this process's threads, one at a time
//
// Install and Uninstall are called from one thread, the flags from any. All
// fields start at zero, so the library's instance needs no constructor.
template <typename System> class HookSession {
public:
    // Once, when the library is mapped into the process.
    void Attach(DWORD dwSessionId) { m_nKey = SessionSlots::KeyOf(dwSessionId); }
    System& Sys() { return m_system; }

    // This process's session's slot, or null: what the hook procedures read.
    const volatile HookSlot* Slot() { return HeldSlot(); }

    // Takes the session's slot (none when the table is full: then nothing is
    // installed) and installs both hooks unless this thread did already.
    HHOOK Install(HWND hTarget);
    // Removes the session's hooks and gives its slot back.
    void Uninstall();
    // Each pair is kept for the process and written to the session's slot
    // whenever it holds one, so a later install starts with them.
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

    volatile HookSlot* HeldSlot() {
        volatile HookSlot* slots = m_system.Share().slots;
        const int n = SessionSlots::Find(slots, m_nKey);
        return n < 0 ? nullptr : &slots[n];
    }

    System m_system;
    LONG m_nKey;
    Flags m_wanted;
};

template <typename System> HHOOK HookSession<System>::Install(HWND hTarget) {
    const SessionSlots::ProcessStamp self = m_system.Self();
    const DWORD dwThreadId = m_system.ThreadId();
    // Outside the lock: the search for a slot whose program has ended opens
    // processes, and the flags must not wait for that.
    volatile HookSlot* pSlot = HeldSlot();
    const bool bClaimed = !pSlot;
    if (bClaimed) {
        volatile HookSlot* slots = m_system.Share().slots;
        const int n = SessionSlots::Claim(
            slots, m_nKey, self,
            [this](const SessionSlots::ProcessStamp& stamp) { return m_system.HasEnded(stamp); });
        if (n < 0)
            return nullptr;
        pSlot = &slots[n];
    }
    HHOOK hStaleGetMsgHook, hStaleCbtHook;
    {
        Guard guard(m_system);
        if (bClaimed) {
            // Hooks of another session lived on its desktop and ended with it.
            pSlot->hGetMsgHook = nullptr;
            pSlot->hCbtHook = nullptr;
        }
        pSlot->hTargetWnd = hTarget;
        pSlot->bBlackShown = m_wanted.bBlackShown;
        pSlot->bCounting = m_wanted.bCounting;
        pSlot->bPreventSaver = m_wanted.bPreventSaver;
        pSlot->bPreventPowerOff = m_wanted.bPreventPowerOff;
        if (pSlot->hGetMsgHook && pSlot->hCbtHook && pSlot->dwInstallThreadId == dwThreadId &&
            SessionSlots::IsSameProcess(pSlot->owner.process, self))
            return pSlot->hGetMsgHook;
        // Hooks recorded by another process of this session, alive or ended
        // (its id may be ours now), or half of a failed install.
        hStaleGetMsgHook = pSlot->hGetMsgHook;
        hStaleCbtHook = pSlot->hCbtHook;
        pSlot->hGetMsgHook = nullptr;
        pSlot->hCbtHook = nullptr;
        SessionSlots::Stamp(pSlot->owner.process, self);
        pSlot->dwInstallThreadId = dwThreadId;
    }
    // Outside the lock: the flags never wait on the system's hook calls.
    if (hStaleGetMsgHook)
        m_system.Unhook(hStaleGetMsgHook);
    if (hStaleCbtHook)
        m_system.Unhook(hStaleCbtHook);
    pSlot->hGetMsgHook = m_system.Hook(WH_GETMESSAGE);
    HHOOK hCbtHook = m_system.Hook(WH_CBT);
    pSlot->hCbtHook = hCbtHook;
    return hCbtHook;
}

template <typename System> void HookSession<System>::Uninstall() {
    HHOOK hGetMsgHook, hCbtHook;
    {
        Guard guard(m_system);
        volatile HookSlot* pSlot = HeldSlot();
        if (!pSlot)
            return;
        hGetMsgHook = pSlot->hGetMsgHook;
        hCbtHook = pSlot->hCbtHook;
        pSlot->hGetMsgHook = nullptr;
        pSlot->hCbtHook = nullptr;
        SessionSlots::Release(*pSlot);
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
