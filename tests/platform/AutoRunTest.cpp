#include "CAutoRun.h"
#include "TempDir.h"
#include "TestPaths.h"

#include <gtest/gtest.h>
#include <sddl.h>
#include <windows.h>

#include <string>

namespace {

const char kValueName[] = "Velatrix";

struct RunValue {
    bool exists = false;
    DWORD type = 0;
    std::string data;
};

RunValue ReadValue(RegistryKeyPath path, REGSAM view = 0) {
    RunValue value;
    HKEY hKey;
    if (RegOpenKeyExA(path.hRoot, path.pszSubKey, 0, KEY_READ | view, &hKey) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(hKey, kValueName, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        value.exists =
            RegQueryValueExA(hKey, kValueName, nullptr, &value.type,
                             reinterpret_cast<BYTE*>(&value.data[0]), &size) == ERROR_SUCCESS;
        value.data.resize(size);
    }
    RegCloseKey(hKey);
    return value;
}

// Strings come back with their terminating NUL.
std::string Text(const RunValue& value) {
    return value.data.substr(0, value.data.find('\0'));
}

void WriteValue(RegistryKeyPath path, DWORD type, const std::string& data, REGSAM view = 0) {
    HKEY hKey;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(path.hRoot, path.pszSubKey, 0, nullptr, 0,
                                             KEY_SET_VALUE | view, nullptr, &hKey, nullptr));
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExA(hKey, kValueName, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())));
    RegCloseKey(hKey);
}

// Gives the key the rights a standard user has on the machine-wide Run key:
// read, no write. Wine enforces a key's access list even for root, so this
// is the refusal Windows gives, not a stand-in.
void MakeReadOnly(RegistryKeyPath path, bool bReadOnly) {
    HKEY hKey;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(path.hRoot, path.pszSubKey, 0, READ_CONTROL | WRITE_DAC, &hKey));
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
        bReadOnly ? "D:P(A;;KR;;;WD)" : "D:P(A;;KA;;;WD)", SDDL_REVISION_1, &sd, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, sd));
    LocalFree(sd);
    RegCloseKey(hKey);
}

std::string OwnPath() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n);
}

// Each test works on a user and a "machine-wide" Run key of its own, under a
// scratch key removed at the end; the machine key exists, the user key is
// missing as in a new profile.
class AutoRun : public ::testing::Test {
protected:
    AutoRun()
        : m_base("Software\\Qorvane tests\\AutoRun-" + std::to_string(GetCurrentProcessId())),
          m_userPath(m_base + "\\User\\Run"),
          m_machinePath(m_base + "\\Machine\\Run"), m_user{HKEY_CURRENT_USER, m_userPath.c_str()},
          m_machine{HKEY_CURRENT_USER, m_machinePath.c_str()} {}

    void SetUp() override {
        HKEY hKey;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, m_machinePath.c_str(), &hKey));
        RegCloseKey(hKey);
    }
    void TearDown() override {
        MakeReadOnly(m_machine, false);
        RegDeleteTreeA(HKEY_CURRENT_USER, m_base.c_str());
    }

    const std::string m_base, m_userPath, m_machinePath;
    const RegistryKeyPath m_user, m_machine;
    CAutoRun m_autoRun{kValueName, m_user, m_machine};
};

TEST_F(AutoRun, AbsentValueIsNotRegistered) {
    EXPECT_FALSE(m_autoRun.IsEnabled());
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, m_autoRun.Disable());
    EXPECT_FALSE(ReadValue(m_user).exists);
}

TEST_F(AutoRun, AValueOfAnyTypeUnderEitherKeyCountsAsRegisteredUntilDisabled) {
    struct Case {
        DWORD type;
        std::string data;
    } cases[] = {
        {REG_SZ, "C:\\Other\\Program.exe"},
        {REG_SZ, std::string(600, 'x') + '\0'}, // longer than a path buffer
        {REG_EXPAND_SZ, "\"%ProgramFiles%\\x.exe\" /y"},
        {REG_DWORD, std::string(4, '\1')},
        {REG_BINARY, ""},
    };
    for (const RegistryKeyPath& key : {m_user, m_machine}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(key.pszSubKey) + " type " + std::to_string(c.type));
            WriteValue(key, c.type, c.data);
            EXPECT_TRUE(m_autoRun.IsEnabled());
            EXPECT_EQ(ERROR_SUCCESS, m_autoRun.Disable());
            EXPECT_FALSE(m_autoRun.IsEnabled());
            EXPECT_FALSE(ReadValue(key).exists);
        }
    }
    // Both at once: one toggle removes both.
    WriteValue(m_user, REG_SZ, "a");
    WriteValue(m_machine, REG_SZ, "b");
    EXPECT_EQ(ERROR_SUCCESS, m_autoRun.Disable());
    EXPECT_FALSE(m_autoRun.IsEnabled());
}

TEST_F(AutoRun, WritesTheQuotedPathOfTheProgramUnderTheUsersKeyOnly) {
    ASSERT_EQ(ERROR_SUCCESS, m_autoRun.Enable()); // the user's key did not exist
    EXPECT_TRUE(m_autoRun.IsEnabled());
    RunValue value = ReadValue(m_user);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
    EXPECT_EQ("\"" + OwnPath() + "\"", Text(value));
    EXPECT_EQ(OwnPath().size() + 3, value.data.size());
    EXPECT_FALSE(ReadValue(m_machine).exists);

    ASSERT_EQ(ERROR_SUCCESS, m_autoRun.Enable("/min"));
    EXPECT_EQ("\"" + OwnPath() + "\" /min", Text(ReadValue(m_user)));

    EXPECT_EQ(ERROR_SUCCESS, m_autoRun.Disable());
    EXPECT_FALSE(m_autoRun.IsEnabled());
    ASSERT_EQ(ERROR_SUCCESS, m_autoRun.Enable());
    EXPECT_TRUE(m_autoRun.IsEnabled());
}

TEST_F(AutoRun, AMachineWideValueTheUserMayNotDeleteStaysRegistered) {
    WriteValue(m_machine, REG_SZ, "C:\\Qorvane\\Murvel.exe");
    WriteValue(m_user, REG_SZ, "\"C:\\Qorvane\\Murvel.exe\"");
    MakeReadOnly(m_machine, true);
    EXPECT_TRUE(m_autoRun.IsEnabled());
    EXPECT_EQ(ERROR_ACCESS_DENIED, m_autoRun.Disable());
    EXPECT_FALSE(ReadValue(m_user).exists) << "the user's own value goes all the same";
    EXPECT_TRUE(ReadValue(m_machine).exists);
    EXPECT_TRUE(m_autoRun.IsEnabled());
}

// What setup for all users wrote stays, also where the user could delete it;
// the user's own value goes, and the registration still shows.
TEST_F(AutoRun, AKeptMachineWideValueStaysWhereItCouldGo) {
    WriteValue(m_machine, REG_SZ, "\"C:\\Program Files\\Qorvane\\Murvel.exe\"");
    WriteValue(m_user, REG_SZ, "\"C:\\Program Files\\Qorvane\\Murvel.exe\"");
    EXPECT_TRUE(m_autoRun.Toggle(CAutoRun::MachineValue::Keep));
    EXPECT_FALSE(ReadValue(m_user).exists);
    EXPECT_TRUE(ReadValue(m_machine).exists);
    EXPECT_EQ(ERROR_ACCESS_DENIED, m_autoRun.Disable(CAutoRun::MachineValue::Keep));
    EXPECT_TRUE(ReadValue(m_machine).exists);
}

TEST_F(AutoRun, StoresAPathWithSpacesInQuotes) {
    TempDir dir;
    std::string folder = dir.File("Program Files (test)");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::string program = folder + "\\Auto Run Enable.exe";
    ASSERT_TRUE(CopyFileA(SiblingProgram("AutoRunEnable.exe").c_str(), program.c_str(), FALSE));

    std::string cmd = "\"" + program + "\" \"" + m_userPath + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(program.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi));
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD exitCode = 1;
    GetExitCodeProcess(pi.hProcess, &exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);

    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), exitCode);
    RunValue value = ReadValue(m_user);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
    EXPECT_EQ("\"" + program + "\"", Text(value));
}

#ifdef _WIN64
// What a 32-bit program wrote under the machine-wide key lies in the 32-bit
// view; the 64-bit program sees it and removes it.
TEST(AutoRunMachineKey, AValueInThe32BitViewCounts) {
    const CAutoRun autoRun(kValueName);
    if (autoRun.IsEnabled())
        GTEST_SKIP() << "this prefix already starts a Velatrix";
    WriteValue(CAutoRun::kMachineRunKey, REG_SZ, "C:\\Old\\Murvel.exe", KEY_WOW64_32KEY);
    ASSERT_FALSE(ReadValue(CAutoRun::kMachineRunKey, KEY_WOW64_64KEY).exists);
    EXPECT_TRUE(autoRun.IsEnabled());
    EXPECT_EQ(ERROR_SUCCESS, autoRun.Disable());
    EXPECT_FALSE(ReadValue(CAutoRun::kMachineRunKey, KEY_WOW64_32KEY).exists);
    EXPECT_FALSE(autoRun.IsEnabled());
}
#endif

} // namespace
