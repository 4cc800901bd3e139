// What an administrator's policy does to the real program, in a Wine prefix
// of its own (tools/policy-test.sh), since the machine's policy key is seen
// by every program of the prefix: keeping awake forbidden, and a program
// watched for every user without ever entering the user's list.
#include "HookTargetProcess.h"
#include "MurvelProcess.h"
#include "TestPaths.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

const char kPolicyKey[] = "SOFTWARE\\Policies\\Qorvane";
const char kGuarding[] = "Qorvane (守护中...)";

// The machine's policy key for the test's length, written as Group Policy
// writes it: the 64-bit view, gone again at the end.
class MachinePolicy {
public:
    MachinePolicy() {
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPolicyKey, 0, nullptr, 0,
                        KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &m_hKey, nullptr);
    }
    ~MachinePolicy() {
        if (m_hKey)
            RegCloseKey(m_hKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPolicyKey);
    }
    bool IsOpen() const { return m_hKey != nullptr; }
    void Set(const char* name, DWORD value) const {
        RegSetValueExA(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
    }
    void Remove(const char* name) const { RegDeleteValueA(m_hKey, name); }
    void Watch(const char* name, const std::string& path) const {
        HKEY hWatched = nullptr;
        RegCreateKeyExA(m_hKey, "WatchedPrograms", 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                        nullptr, &hWatched, nullptr);
        RegSetValueExA(hWatched, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1));
        RegCloseKey(hWatched);
    }

private:
    HKEY m_hKey = nullptr;
};

// What Group Policy's refresh tells every window once it has written.
void PolicyChanged(const MurvelProcess& murvel) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(murvel.MainWindow(), WM_SETTINGCHANGE, 0,
                        reinterpret_cast<LPARAM>("Policy"), SMTO_NORMAL, 5000, &result);
}

bool InstanceRuns() {
    HANDLE hMutex = OpenMutexA(SYNCHRONIZE, FALSE, kMurvelMutexName);
    if (hMutex)
        CloseHandle(hMutex);
    return hMutex != nullptr;
}

class Policy : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("QV_POLICY_PREFIX"))
            GTEST_SKIP() << "runs from tools/policy-test.sh";
        ASSERT_TRUE(m_policy.IsOpen());
    }
    MachinePolicy m_policy;
};

} // namespace

TEST_F(Policy, KeepingAwakeSwitchedOffIsRefusedGreyedAndEndsAHold) {
    m_policy.Set("DisableKeepAwake", 1);
    MurvelProcess murvel;
    std::string out, err;
    EXPECT_EQ(1, murvel.RunRedirected("/KEEPAWAKE:30", &out, &err));
    EXPECT_NE(std::string::npos, err.find("管理员已停用保持唤醒")) << err;
    EXPECT_FALSE(InstanceRuns()) << "a start with a forbidden hold leaves nothing running";

    ASSERT_TRUE(murvel.Start());
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), murvel.MenuState(ID_KEEPAWAKE_30) & MF_GRAYED);
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), murvel.MenuState(ID_KEEPAWAKE_ON) & MF_GRAYED);
    EXPECT_EQ("保持唤醒已由管理员停用", murvel.MenuText(ID_KEEPAWAKE_POLICY_NOTE));
    EXPECT_EQ(1, murvel.RunRedirected("/KEEPAWAKE:SYSTEM", &out, &err));
    EXPECT_EQ(0, murvel.RunRedirected("/KEEPAWAKE:0", &out, &err)) << "a stop is always taken";
    murvel.RunWatchCycle();
    EXPECT_EQ("Qorvane", murvel.Title());

    // Lifted, then set again while a hold runs: the hold ends at once.
    m_policy.Remove("DisableKeepAwake");
    m_policy.Set("MaxHoldMinutes", 20);
    m_policy.Set("DisableComputerAwake", 1);
    PolicyChanged(murvel);
    EXPECT_EQ(0u, murvel.MenuState(ID_KEEPAWAKE_30) & MF_GRAYED);
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED),
              murvel.MenuState(ID_KEEPAWAKE_COMPUTER_ONLY) & MF_GRAYED);
    EXPECT_EQ(1, murvel.RunRedirected("/KEEPAWAKE:SYSTEM:30", &out, &err));
    EXPECT_NE(std::string::npos, err.find("管理员不允许保持电脑唤醒")) << err;
    EXPECT_EQ(0, murvel.RunRedirected("/KEEPAWAKE", &out, &err));
    EXPECT_EQ(std::string(kGuarding) + "; 保持唤醒：还剩 20 分钟\r\n",
              (murvel.RunRedirected("/STATUS", &out, &err), out))
        << "until stopped becomes the longest allowed";
    m_policy.Set("DisableKeepAwake", 1);
    PolicyChanged(murvel);
    EXPECT_EQ("Qorvane", murvel.Title());
    EXPECT_EQ(1, murvel.RunRedirected("/STATUS", &out, &err));
    ASSERT_TRUE(murvel.Close());
    EXPECT_EQ(std::string::npos, ReadWholeFile(murvel.File("Tessik.ini")).find("[Hold]"));
}

TEST_F(Policy, AProgramTheAdministratorWatchesGuardsWithoutEnteringTheUsersList) {
    const std::string path = SiblingProgram("HookTarget.exe");
    m_policy.Watch("1", path);
    MurvelProcess murvel;
    murvel.PutFile("Tessik.dat", "[Main]\r\nCount=0\r\n");
    ASSERT_TRUE(murvel.Start());
    ASSERT_EQ(1, murvel.RowCount());
    EXPECT_EQ("HookTarget（由管理员设置）", murvel.CellText(0, 0));
    murvel.SelectRow(0);
    EXPECT_FALSE(murvel.IsControlEnabled(IDC_DELETE_WATCH))
        << "the administrator's, not the user's";
    EXPECT_FALSE(murvel.IsControlEnabled(IDC_WATCH_PROPERTIES));
    murvel.PressKey(VK_DELETE);
    EXPECT_EQ("此程序由管理员设置，不能更改或删除。", murvel.AnswerBox(murvel.MainWindow(), IDOK));
    EXPECT_EQ(1, murvel.RowCount());
    murvel.RunWatchCycle();
    EXPECT_EQ("Qorvane", murvel.Title());
    {
        HookTargetProcess helper;
        ASSERT_NE(nullptr, helper.Window());
        murvel.RunWatchCycle();
        EXPECT_EQ(kGuarding, murvel.Title());
        EXPECT_EQ(WM_NULL, helper.PostAndReceive(WM_SYSCOMMAND, SC_SCREENSAVE));
    }
    murvel.RunWatchCycle();
    EXPECT_EQ("Qorvane", murvel.Title());
    // The policy lifted: its row goes at once.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Policies\\Qorvane\\WatchedPrograms");
    PolicyChanged(murvel);
    EXPECT_EQ(0, murvel.RowCount());
    m_policy.Watch("1", path);
    PolicyChanged(murvel);
    EXPECT_EQ(1, murvel.RowCount());
    ASSERT_TRUE(murvel.Close());
    const std::string list = ReadWholeFile(murvel.File("Tessik.dat"));
    EXPECT_EQ(std::string::npos, list.find("HookTarget")) << list;
    EXPECT_NE(std::string::npos, list.find("Count=0")) << list;
}
