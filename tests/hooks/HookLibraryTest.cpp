// The hook library across real processes: the hooks run in the HookTarget
// helper, the test process drives the exports and receives the commands.
#include "HookTargetProcess.h"
#include "SharedBlock.h"
#include "TargetWindow.h"
#include "TessikDLL.h"
#include "resource.h"
#include "../helpers/HookTargetProtocol.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using Commands = std::vector<std::pair<WPARAM, LPARAM>>;
const Commands kOneWake = {{ID_AREA_BLACK_WAKE, 0}};
const Commands kNone;

struct FlagPair {
    int first, second;
};

// The activity messages, and messages of the same families that are no activity.
const UINT kActivity[] = {WM_MOUSEMOVE,     WM_NCMOUSEMOVE,   WM_LBUTTONDOWN, WM_RBUTTONDOWN,
                          WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN, WM_MBUTTONDOWN, WM_NCMBUTTONDOWN,
                          WM_KEYDOWN,       WM_SYSKEYDOWN};
const UINT kNoActivity[] = {WM_LBUTTONUP,   WM_RBUTTONUP,   WM_MBUTTONUP,     WM_NCLBUTTONUP,
                            WM_NCRBUTTONUP, WM_NCMBUTTONUP, WM_LBUTTONDBLCLK, WM_KEYUP,
                            WM_SYSKEYUP,    WM_MOUSEWHEEL,  WM_MOUSEHWHEEL,   WM_CHAR,
                            WM_SYSCHAR,     WM_DEADCHAR,    WM_SYSCOMMAND};

// System commands: the two the library swallows, also with low bits set, and
// one it must leave alone.
const WPARAM kCommands[] = {SC_SCREENSAVE, SC_SCREENSAVE | 0xF, SC_MONITORPOWER,
                            SC_MONITORPOWER | 0x2, SC_MINIMIZE};
// SC_MONITORPOWER's lParam: display on, low power, off, and a value of no meaning.
const LPARAM kPowerStates[] = {-1, 1, 2, 0};

// Only the screen saver and turning the display down or off are kept from happening.
bool Swallowed(WPARAM command, LPARAM lParam, FlagPair effect) {
    WPARAM c = command & 0xFFF0;
    return (c == SC_SCREENSAVE && effect.first) ||
           (c == SC_MONITORPOWER && effect.second && (lParam == 1 || lParam == 2));
}

const HHOOK kDeadHook = reinterpret_cast<HHOOK>(static_cast<UINT_PTR>(0x7FFE0010));

std::string HexHandle(HWND hwnd) {
    char text[32];
    snprintf(text, sizeof text, "%llx",
             static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
    return text;
}

class HookLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, m_block) << "no ShareDat section in the loaded library";
        ASSERT_NE(nullptr, m_target.Handle());
        ASSERT_NE(nullptr, m_helper.Window()) << "HookTarget.exe did not start";
        Reset();
    }
    void TearDown() override { Reset(); }

    static void Reset() {
        UninstallHook();
        SetMonitorEffect(0, 0);
        SetAreaBlackStatus(0, 0);
    }

    // Posts one message to the helper; returns the commands it made the hooks
    // post to the target window.
    Commands CommandsCausedBy(UINT message, TargetWindow& target) {
        target.TakeCommands();
        EXPECT_EQ(static_cast<LRESULT>(message), m_helper.PostAndReceive(message, 0))
            << "message " << message;
        return target.TakeCommands();
    }
    Commands CommandsCausedBy(UINT message) { return CommandsCausedBy(message, m_target); }

    // A copy of the shared block as it stands now.
    TessikShare Block() const {
        TessikShare copy;
        CopyMemory(&copy, const_cast<const TessikShare*>(m_block), sizeof copy);
        return copy;
    }
    // A copy of this session's slot; all zero when the session holds none.
    HookSlot Slot() const {
        HookSlot copy = {};
        if (volatile HookSlot* slot = OwnSessionSlot(m_block))
            CopyMemory(&copy, const_cast<const HookSlot*>(slot), sizeof copy);
        return copy;
    }
    bool InstalledByThisProcess() const {
        const HookSlot slot = Slot();
        return SessionSlots::IsSameProcess(slot.owner.process, SessionSlots::CurrentProcessStamp());
    }

    volatile TessikShare* m_block = FindSharedBlock(GetModuleHandleA("TessikDLL.dll"));
    TargetWindow m_target;
    HookTargetProcess m_helper;
};

TEST_F(HookLibrary, PostedSystemCommandArrivesAsNullMessageWhileItsFlagIsSet) {
    InstallHook(m_target.Handle());
    for (FlagPair effect : {FlagPair{0, 0}, FlagPair{7, 0}, FlagPair{0, 1}, FlagPair{1, 1}}) {
        SetMonitorEffect(effect.first, effect.second);
        for (WPARAM command : kCommands) {
            for (LPARAM lParam : kPowerStates) {
                SCOPED_TRACE(testing::Message()
                             << "effect (" << effect.first << "," << effect.second << ") command 0x"
                             << std::hex << command << " lParam " << lParam);
                WPARAM wParam = 0xBAD;
                LPARAM received = 0xBAD;
                LRESULT message =
                    m_helper.PostSysCommandAndReceive(command, lParam, &wParam, &received);
                EXPECT_EQ(lParam, received) << "lParam is kept either way";
                if (Swallowed(command, lParam, effect)) {
                    EXPECT_EQ(WM_NULL, message);
                    EXPECT_EQ(0u, wParam);
                } else {
                    EXPECT_EQ(WM_SYSCOMMAND, message);
                    EXPECT_EQ(command, wParam);
                }
            }
        }
    }
}

TEST_F(HookLibrary, SystemCommandAtTheDefaultWindowProcedureIsRefusedWhileItsFlagIsSet) {
    InstallHook(m_target.Handle());
    for (FlagPair effect : {FlagPair{0, 0}, FlagPair{1, 0}, FlagPair{0, 5}, FlagPair{1, 1}}) {
        SetMonitorEffect(effect.first, effect.second);
        for (WPARAM command :
             {SC_SCREENSAVE, SC_SCREENSAVE | 0x3, SC_MONITORPOWER, SC_MONITORPOWER | 0xF}) {
            for (LPARAM lParam : kPowerStates) {
                SCOPED_TRACE(testing::Message()
                             << "effect (" << effect.first << "," << effect.second << ") command 0x"
                             << std::hex << command << " lParam " << lParam);
                EXPECT_EQ(Swallowed(command, lParam, effect) ? 1 : 0,
                          m_helper.CbtAnswerToSysCommand(command, lParam));
            }
        }
    }
}

TEST_F(HookLibrary, EachActivityMessagePostsOneWakeWhileEitherBlackoutFlagIsSet) {
    InstallHook(m_target.Handle());
    for (FlagPair status : {FlagPair{1, 0}, FlagPair{0, 1}, FlagPair{0, 0}}) {
        SetAreaBlackStatus(status.first, status.second);
        const Commands& expected = status.first || status.second ? kOneWake : kNone;
        for (UINT message : kActivity)
            EXPECT_EQ(expected, CommandsCausedBy(message))
                << "status (" << status.first << "," << status.second << ") message 0x" << std::hex
                << message;
    }
}

TEST_F(HookLibrary, ReleasesWheelAndCharactersNeverPost) {
    InstallHook(m_target.Handle());
    SetAreaBlackStatus(1, 1);
    for (UINT message : kNoActivity)
        EXPECT_EQ(kNone, CommandsCausedBy(message)) << "message 0x" << std::hex << message;
}

TEST_F(HookLibrary, InstallingTwiceKeepsOnePairAndOnlyMovesTheTarget) {
    HHOOK first = InstallHook(m_target.Handle());
    ASSERT_NE(nullptr, first);
    HHOOK getMsgHook = Slot().hGetMsgHook;
    EXPECT_EQ(first, Slot().hCbtHook);
    EXPECT_TRUE(InstalledByThisProcess());
    EXPECT_EQ(GetCurrentThreadId(), Slot().dwInstallThreadId);

    TargetWindow second;
    EXPECT_EQ(getMsgHook, InstallHook(second.Handle()));
    EXPECT_EQ(getMsgHook, Slot().hGetMsgHook);
    EXPECT_EQ(first, Slot().hCbtHook);
    EXPECT_EQ(second.Handle(), Slot().hTargetWnd);

    // A second pair of hooks would report the input twice.
    SetAreaBlackStatus(0, 1);
    EXPECT_EQ(kOneWake, CommandsCausedBy(WM_KEYDOWN, second));
    EXPECT_EQ(kNone, m_target.TakeCommands());
}

// The flags stay with the process: the next install brings them back.
TEST_F(HookLibrary, UninstallRemovesTheHooksFreesTheSlotAndIsIdempotent) {
    InstallHook(m_target.Handle());
    SetMonitorEffect(1, 1);
    SetAreaBlackStatus(1, 1);
    UninstallHook();
    EXPECT_EQ(nullptr, OwnSessionSlot(m_block)) << "the session's slot is free";

    TessikShare before = Block();
    UninstallHook();
    TessikShare after = Block();
    EXPECT_EQ(0, memcmp(&before, &after, sizeof before));

    EXPECT_EQ(static_cast<LRESULT>(WM_SYSCOMMAND),
              m_helper.PostAndReceive(WM_SYSCOMMAND, SC_SCREENSAVE));
    EXPECT_EQ(0, m_helper.CbtAnswerToSysCommand(SC_MONITORPOWER, 2));
    EXPECT_EQ(kNone, CommandsCausedBy(WM_KEYDOWN));

    InstallHook(m_target.Handle());
    EXPECT_EQ(1, Slot().bPreventSaver);
    EXPECT_EQ(1, Slot().bCounting);
}

// On Windows the hooks of a program that ended without removing them died with
// its thread, but their handles stay in the block while other processes map
// the library. Handles that another process recorded must not stop a new
// install, also when that process's id has since been given to this one.
TEST_F(HookLibrary, HandlesRecordedByAnotherProcessAreReplaced) {
    const SessionSlots::ProcessStamp self = SessionSlots::CurrentProcessStamp();
    const SessionSlots::ProcessStamp helper = {m_helper.ProcessId(), 0, 0};
    const SessionSlots::ProcessStamp reusedId = {self.dwProcessId, self.dwCreatedLow - 1,
                                                 self.dwCreatedHigh};
    for (const SessionSlots::ProcessStamp& installer : {helper, reusedId}) {
        SCOPED_TRACE(testing::Message() << "installer " << installer.dwProcessId);
        UninstallHook();
        volatile HookSlot& slot = m_block->slots[0];
        slot.owner.nTicket = SessionSlots::MakeTicket(OwnSessionKey(), 7);
        SessionSlots::Stamp(slot.owner.process, installer);
        slot.hGetMsgHook = slot.hCbtHook = kDeadHook;
        slot.dwInstallThreadId = GetCurrentThreadId();
        SetAreaBlackStatus(0, 1);
        EXPECT_EQ(kNone, CommandsCausedBy(WM_KEYDOWN));

        EXPECT_NE(nullptr, InstallHook(m_target.Handle()));
        EXPECT_NE(kDeadHook, Slot().hGetMsgHook);
        EXPECT_TRUE(InstalledByThisProcess());
        EXPECT_EQ(kOneWake, CommandsCausedBy(WM_KEYDOWN));
    }
}

// Wine keeps the hooks of a killed installer running: the new install removes
// them, so each input is reported once and not by both pairs.
TEST_F(HookLibrary, HooksOfAKilledInstallerAreReplaced) {
    HookTargetProcess installer(std::string(HookTargetProtocol::kInstallArg) + " " +
                                HexHandle(m_target.Handle()));
    ASSERT_NE(nullptr, installer.Window());
    ASSERT_EQ(installer.ProcessId(), Slot().owner.process.dwProcessId);
    HHOOK killedGetMsgHook = Slot().hGetMsgHook;
    ASSERT_NE(nullptr, killedGetMsgHook);
    installer.Kill();

    SetAreaBlackStatus(0, 1);
    InstallHook(m_target.Handle());
    EXPECT_EQ(GetCurrentProcessId(), Slot().owner.process.dwProcessId);
    EXPECT_NE(killedGetMsgHook, Slot().hGetMsgHook);
    EXPECT_EQ(kOneWake, CommandsCausedBy(WM_KEYDOWN));
}

// The module handle in the block is the one of whichever process mapped the
// library first; a mapping at another address must not break the install.
TEST_F(HookLibrary, InstallDoesNotDependOnTheModuleHandleOfAnotherMapping) {
    HINSTANCE recorded = Block().hInstance;
    EXPECT_NE(nullptr, recorded);
    m_block->hInstance = reinterpret_cast<HINSTANCE>(
        reinterpret_cast<UINT_PTR>(GetModuleHandleA("TessikDLL.dll")) + 0x1000000);
    InstallHook(m_target.Handle());
    SetMonitorEffect(1, 0);
    EXPECT_EQ(static_cast<LRESULT>(WM_NULL), m_helper.PostAndReceive(WM_SYSCOMMAND, SC_SCREENSAVE));
    m_block->hInstance = recorded;
}

} // namespace
