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

    volatile TessikShare& Share() { return pDesk->share; }
    ProcessStamp Self() { return self; }
    DWORD ThreadId() { return 1; }
    bool HasEnded(const ProcessStamp& stamp) {
        return pDesk->endedProcesses.count(stamp.dwProcessId);
    }
    HHOOK Hook(int) {
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
    for (DWORD n = 0; n < SessionSlots::kCount; ++n)
        Start(10 + n, 100 + n).Install(kWindow);
    Process late = Start(1, 99), later = Start(2, 98);
    EXPECT_EQ(nullptr, late.Install(kWindow));
    EXPECT_EQ(nullptr, late.Slot());
    EXPECT_EQ(2u * SessionSlots::kCount, m_desk.hooks.size());

    Start(15, 105).Uninstall();
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

} // namespace
