// The hook library's per-session state, run with made-up sessions, processes
// and hooks: the library's own code over a block in this test's memory.
#include "HookSession.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using SessionSlots::ProcessStamp;

// What every made-up process shares: the block and the desktop's hooks.
struct Desk {
    TessikShare share = {};
    std::set<HHOOK> hooks;
    UINT_PTR nNextHook = 0x100;
    std::set<DWORD> endedProcesses;
};

struct FakeSystem {
    Desk* pDesk;
    ProcessStamp self;
    DWORD dwThreadId;

    volatile TessikShare& Share() { return pDesk->share; }
    ProcessStamp Self() { return self; }
    DWORD ThreadId() { return dwThreadId; }
    bool HasEnded(const ProcessStamp& stamp) {
        return pDesk->endedProcesses.count(stamp.dwProcessId) != 0;
    }
    HHOOK Hook(int) {
        HHOOK hHook = reinterpret_cast<HHOOK>(pDesk->nNextHook++);
        pDesk->hooks.insert(hHook);
        return hHook;
    }
    void Unhook(HHOOK hHook) { pDesk->hooks.erase(hHook); }
    void Lock() {}
    void Unlock() {}
};

using Process = HookSession<FakeSystem>;

HWND Window(UINT_PTR n) {
    return reinterpret_cast<HWND>(n);
}

class SessionTable : public ::testing::Test {
protected:
    Process Start(DWORD dwSessionId, DWORD dwProcessId, DWORD dwCreated = 1) {
        Process process = {};
        process.Sys() = FakeSystem{&m_desk, {dwProcessId, dwCreated, 0}, dwProcessId + 1};
        process.Attach(dwSessionId);
        return process;
    }

    Desk m_desk;
};

TEST_F(SessionTable, TwoSessionsKeepSeparateStateAndEachProcessSeesOnlyItsSessionsSlot) {
    Process first = Start(1, 100), second = Start(2, 200), sameSession = Start(1, 300);
    first.SetMonitorEffect(1, 0);
    first.Install(Window(0xA));
    second.SetAreaBlackStatus(0, 1);
    second.Install(Window(0xB));
    EXPECT_EQ(4u, m_desk.hooks.size());

    ASSERT_NE(nullptr, first.Slot());
    ASSERT_NE(nullptr, second.Slot());
    EXPECT_NE(first.Slot(), second.Slot());
    EXPECT_EQ(first.Slot(), sameSession.Slot()) << "a hooked program of the same session";
    EXPECT_EQ(Window(0xA), first.Slot()->hTargetWnd);
    EXPECT_EQ(1, first.Slot()->bPreventSaver);
    EXPECT_EQ(0, first.Slot()->bCounting);
    EXPECT_EQ(Window(0xB), second.Slot()->hTargetWnd);
    EXPECT_EQ(0, second.Slot()->bPreventSaver);
    EXPECT_EQ(1, second.Slot()->bCounting);
    EXPECT_EQ(nullptr, Start(3, 400).Slot());

    second.Uninstall();
    EXPECT_EQ(nullptr, second.Slot());
    EXPECT_EQ(2u, m_desk.hooks.size());
    EXPECT_EQ(Window(0xA), first.Slot()->hTargetWnd);
}

// The program's hook thread installs and removes while its main thread sets
// the flags: whatever the order, the install ends with the flags last asked for.
TEST_F(SessionTable, UninstallFreesTheSlotAndTheNextInstallTakesTheFlagsAskedForMeanwhile) {
    Process program = Start(1, 100);
    program.SetAreaBlackStatus(0, 1);
    program.SetMonitorEffect(1, 1);
    program.Install(Window(0xA));
    program.Install(Window(0xA));
    EXPECT_EQ(2u, m_desk.hooks.size()) << "installed once";
    program.Uninstall();
    EXPECT_EQ(nullptr, program.Slot());
    EXPECT_TRUE(m_desk.hooks.empty());
    program.Uninstall();

    program.SetAreaBlackStatus(0, 0);
    program.SetMonitorEffect(0, 1);
    program.Install(Window(0xA));
    ASSERT_NE(nullptr, program.Slot());
    EXPECT_EQ(0, program.Slot()->bCounting);
    EXPECT_EQ(0, program.Slot()->bPreventSaver);
    EXPECT_EQ(1, program.Slot()->bPreventPowerOff);
}

TEST_F(SessionTable, AFullTableInstallsNothingUntilASlotIsFreedOrItsProgramHasEnded) {
    for (DWORD n = 0; n < SessionSlots::kCount; ++n)
        Start(10 + n, 100 + n).Install(Window(0xA));
    Process late = Start(1, 99);
    late.SetMonitorEffect(1, 0);
    EXPECT_EQ(nullptr, late.Install(Window(0xB)));
    EXPECT_EQ(nullptr, late.Slot());
    EXPECT_EQ(2u * SessionSlots::kCount, m_desk.hooks.size());

    Start(15, 105).Uninstall();
    EXPECT_NE(nullptr, late.Install(Window(0xB)));
    EXPECT_EQ(1, late.Slot()->bPreventSaver);

    // A session that ended without giving its slot back.
    Process later = Start(2, 98);
    EXPECT_EQ(nullptr, later.Install(Window(0xC)));
    m_desk.endedProcesses.insert(107);
    EXPECT_NE(nullptr, later.Install(Window(0xC)));
    EXPECT_EQ(&m_desk.share.slots[7], later.Slot());
    EXPECT_EQ(Window(0xC), later.Slot()->hTargetWnd);
}

// Windows removes an ended program's hooks, but their handles stay in the
// slot; a new program given the same process id must still install its own.
TEST_F(SessionTable, AnEndedInstallerWhoseProcessIdIsReusedIsReplaced) {
    Start(1, 100, 1).Install(Window(0xA));
    const std::set<HHOOK> ended = m_desk.hooks;
    Process reused = Start(1, 100, 2);
    HHOOK hCbtHook = reused.Install(Window(0xA));
    EXPECT_EQ(0u, ended.count(hCbtHook));
    EXPECT_EQ(2u, m_desk.hooks.size()) << "the recorded handles were removed";
    EXPECT_EQ(2u, reused.Slot()->owner.process.dwCreatedLow);

    const ProcessStamp self = SessionSlots::CurrentProcessStamp();
    EXPECT_FALSE(SessionSlots::HasProcessEnded(self));
    EXPECT_TRUE(SessionSlots::HasProcessEnded(
        {self.dwProcessId, self.dwCreatedLow + 1, self.dwCreatedHigh}));
}

} // namespace
