// The hook library's per-session state, run with made-up sessions, processes
// and hooks: the library's own code over a block in this test's memory.
#include "HookSession.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

namespace {

using SessionSlots::ProcessStamp;

// What every made-up process shares: the block and the desktop's hooks.
struct Desk {
    TessikShare share = {};
    std::set<HHOOK> hooks;
    UINT_PTR nNextHook = 0x100;
    std::set<DWORD> endedProcesses;
    // Hook types the system refuses.
    std::set<int> refusedHooks;
    // Another process's step, run once at the moment a claimant has looked
    // at a slot and asks whether its holder has ended.
    std::function<void()> whileLooking;
};

struct FakeSystem {
    Desk* pDesk;
    ProcessStamp self;

    volatile TessikShare& Share() { return pDesk->share; }
    ProcessStamp Self() { return self; }
    DWORD ThreadId() { return 1; }
    bool HasEnded(const ProcessStamp& stamp) {
        if (std::function<void()> step = std::move(pDesk->whileLooking)) {
            pDesk->whileLooking = nullptr;
            step();
        }
        return pDesk->endedProcesses.count(stamp.dwProcessId);
    }
    HHOOK Hook(int idHook) {
        if (pDesk->refusedHooks.count(idHook))
            return nullptr;
        return *pDesk->hooks.insert(reinterpret_cast<HHOOK>(pDesk->nNextHook++)).first;
    }
    void Unhook(HHOOK hHook) { pDesk->hooks.erase(hHook); }
    void Lock() {}
    void Unlock() {}
};

using Process = HookSession<FakeSystem>;

const HWND kWindow = reinterpret_cast<HWND>(0xA);

class SessionTable : public ::testing::Test {
protected:
    Process Start(DWORD dwSessionId, DWORD dwProcessId, DWORD dwCreated = 1) {
        Process process = {};
        process.Sys() = FakeSystem{&m_desk, {dwProcessId, dwCreated, 0}};
        process.Attach(dwSessionId);
        return process;
    }

    Desk m_desk;
};

TEST_F(SessionTable, TwoSessionsKeepSeparateStateAndEachProcessSeesOnlyItsSessionsSlot) {
    Process first = Start(1, 100), second = Start(2, 200), hookedInFirst = Start(1, 300);
    first.SetMonitorEffect(1, 0);
    first.Install(kWindow);
    second.SetAreaBlackStatus(0, 1);
    second.Install(nullptr);
    EXPECT_EQ(4u, m_desk.hooks.size());
    ASSERT_NE(nullptr, second.Slot());
    EXPECT_NE(first.Slot(), second.Slot());
    EXPECT_EQ(first.Slot(), hookedInFirst.Slot());
    EXPECT_EQ(nullptr, Start(3, 400).Slot());
    EXPECT_EQ(kWindow, first.Slot()->hTargetWnd);
    EXPECT_EQ(1, first.Slot()->bPreventSaver);
    EXPECT_EQ(0, first.Slot()->bCounting);
    EXPECT_EQ(0, second.Slot()->bPreventSaver);
    EXPECT_EQ(1, second.Slot()->bCounting);

    second.Uninstall();
    EXPECT_EQ(nullptr, second.Slot()) << "the slot is free";
    EXPECT_EQ(2u, m_desk.hooks.size());
    second.Uninstall();
    EXPECT_EQ(kWindow, first.Slot()->hTargetWnd);
}

// The program's hook thread installs and removes while its main thread sets the
// flags: the install ends with the flags last asked for, whenever they came.
TEST_F(SessionTable, AnInstallAfterAnUninstallTakesTheFlagsAskedForMeanwhile) {
    Process program = Start(1, 100);
    program.SetMonitorEffect(1, 1);
    program.Install(kWindow);
    program.Install(kWindow);
    EXPECT_EQ(2u, m_desk.hooks.size()) << "installed once";
    program.Uninstall();
    program.SetMonitorEffect(0, 1);
    program.Install(kWindow);
    EXPECT_EQ(0, program.Slot()->bPreventSaver);
    EXPECT_EQ(1, program.Slot()->bPreventPowerOff);
}

TEST_F(SessionTable, AFullTableInstallsNothingUntilASlotIsFreedOrItsProgramHasEnded) {
    std::vector<Process> programs;
    for (DWORD n = 0; n < SessionSlots::kCount; ++n) {
        programs.push_back(Start(10 + n, 100 + n));
        programs.back().Install(kWindow);
    }
    Process late = Start(1, 99), later = Start(2, 98);
    EXPECT_EQ(nullptr, late.Install(kWindow));
    EXPECT_EQ(nullptr, late.Slot());
    EXPECT_EQ(2u * SessionSlots::kCount, m_desk.hooks.size());

    programs[5].Uninstall();
    EXPECT_NE(nullptr, late.Install(kWindow));
    EXPECT_EQ(nullptr, later.Install(kWindow));
    m_desk.endedProcesses.insert(107);
    EXPECT_NE(nullptr, later.Install(kWindow));
    EXPECT_EQ(&m_desk.share.slots[7], later.Slot());
}

// Windows removes an ended program's hooks, but their handles stay in the
// slot; a new program given the same process id must still install its own.
TEST_F(SessionTable, AnEndedInstallerWhoseProcessIdIsReusedIsReplaced) {
    Start(1, 100, 1).Install(kWindow);
    const std::set<HHOOK> ended = m_desk.hooks;
    EXPECT_EQ(0u, ended.count(Start(1, 100, 2).Install(kWindow)));
    EXPECT_EQ(2u, m_desk.hooks.size()) << "the recorded handles were removed";

    const ProcessStamp self = SessionSlots::CurrentProcessStamp();
    EXPECT_FALSE(SessionSlots::HasProcessEnded(self));
    EXPECT_TRUE(SessionSlots::HasProcessEnded(
        {self.dwProcessId, self.dwCreatedLow + 1, self.dwCreatedHigh}));
}

// The hooks of the slot of the given process's session, when it holds both and
// the desk has them.
bool HasOwnHooks(Process& process) {
    const volatile HookSlot* slot = process.Slot();
    return slot && slot->hGetMsgHook && slot->hCbtHook && slot->hGetMsgHook != slot->hCbtHook;
}

// Sessions 10 to 25 hold every slot; the programs of slots 3 and 5 have ended
// and slot 6 is being claimed (its stamp half written, of an ended process).
class FullTable : public SessionTable {
protected:
    void SetUp() override {
        for (DWORD n = 0; n < SessionSlots::kCount; ++n) {
            m_programs.push_back(Start(10 + n, 100 + n));
            m_programs.back().Install(kWindow);
        }
        m_desk.endedProcesses = {103, 105, 106};
        volatile SessionSlots::Owner& claimed = m_desk.share.slots[6].owner;
        claimed.nTicket = SessionSlots::MakeTicket(7 | SessionSlots::kClaimingFlag, 9);
    }
    std::vector<Process> m_programs;
};

TEST_F(FullTable, TwoClaimantsOfOneEndedSlotEachGetASlotOfTheirOwn) {
    Process first = Start(1, 1000), second = Start(2, 2000);
    m_desk.whileLooking = [&] { EXPECT_NE(nullptr, second.Install(kWindow)); };
    EXPECT_NE(nullptr, first.Install(kWindow));
    EXPECT_EQ(&m_desk.share.slots[3], second.Slot());
    EXPECT_EQ(&m_desk.share.slots[5], first.Slot()) << "the slot being claimed is nobody's";
    EXPECT_TRUE(HasOwnHooks(first));
    EXPECT_TRUE(HasOwnHooks(second));
    EXPECT_NE(first.Slot()->hCbtHook, second.Slot()->hCbtHook);
}

// Session 13's program ended; its next one takes the session's slot back
// while a program of session 1 is deciding that the slot's holder has ended.
TEST_F(FullTable, AClaimRacingAnAdoptLeavesTheSessionItsSlot) {
    Process claimant = Start(1, 1000), successor = Start(13, 1300);
    HHOOK hSuccessorHook = nullptr;
    m_desk.whileLooking = [&] { hSuccessorHook = successor.Install(kWindow); };
    claimant.Install(kWindow);
    ASSERT_NE(nullptr, hSuccessorHook);
    EXPECT_EQ(&m_desk.share.slots[3], successor.Slot());
    EXPECT_EQ(hSuccessorHook, successor.Slot()->hCbtHook);
    EXPECT_EQ(&m_desk.share.slots[5], claimant.Slot());

    // The other way round: session 17's next program looked at its slot, a
    // program of session 2 took it first; the successor's take fails.
    volatile HookSlot& ended = m_desk.share.slots[7];
    SessionSlots::Ticket seen;
    ProcessStamp holder;
    ASSERT_TRUE(SessionSlots::ReadHolder(ended, &seen, &holder));
    m_desk.endedProcesses.insert(holder.dwProcessId);
    Process other = Start(2, 2000);
    other.Install(kWindow);
    ASSERT_EQ(&ended, other.Slot());
    EXPECT_EQ(0, SessionSlots::Take(ended, seen, SessionSlots::KeyOf(17), {1700, 1, 0}));
    EXPECT_EQ(&ended, other.Slot());

    // Each uninstall removes its own hooks and gives back its own slot.
    successor.Uninstall();
    EXPECT_EQ(0u, m_desk.hooks.count(hSuccessorHook));
    EXPECT_EQ(nullptr, successor.Slot());
    EXPECT_TRUE(HasOwnHooks(claimant));
    EXPECT_TRUE(HasOwnHooks(other));
}

// Any process that maps the library can zero the block: the holder notices at
// its next install and takes a slot again, keeping its one pair of hooks.
TEST_F(SessionTable, AZeroedKeyIsTakenAgainWithoutTouchingTheNewHolder) {
    Process first = Start(1, 100), second = Start(2, 200), third = Start(3, 300);
    first.Install(kWindow);
    second.Install(kWindow);
    volatile HookSlot* firstSlot = const_cast<volatile HookSlot*>(first.Slot());
    firstSlot->owner.nTicket = 0;
    EXPECT_EQ(nullptr, first.Slot());
    third.Install(kWindow);
    EXPECT_EQ(firstSlot, third.Slot()) << "the zeroed slot counts as free";

    EXPECT_NE(nullptr, first.Install(kWindow));
    EXPECT_EQ(&m_desk.share.slots[2], first.Slot());
    EXPECT_EQ(6u, m_desk.hooks.size()) << "each session one pair";
    EXPECT_TRUE(HasOwnHooks(first));
    first.Uninstall();
    EXPECT_EQ(4u, m_desk.hooks.size());
    EXPECT_EQ(firstSlot, third.Slot());
    EXPECT_TRUE(HasOwnHooks(third));
}

// A hook that the system refuses leaves none: the program asks again later.
TEST_F(SessionTable, AHalfInstallIsUndoneAndReportedAsAFailure) {
    Process program = Start(1, 100);
    for (int idRefused : {WH_CBT, WH_GETMESSAGE}) {
        m_desk.refusedHooks = {idRefused};
        EXPECT_EQ(nullptr, program.Install(kWindow)) << idRefused;
        EXPECT_TRUE(m_desk.hooks.empty()) << idRefused;
        ASSERT_NE(nullptr, program.Slot());
        EXPECT_EQ(nullptr, program.Slot()->hGetMsgHook);
    }
    m_desk.refusedHooks.clear();
    EXPECT_NE(nullptr, program.Install(kWindow));
    EXPECT_TRUE(HasOwnHooks(program));
    EXPECT_EQ(2u, m_desk.hooks.size());
}

} // namespace
