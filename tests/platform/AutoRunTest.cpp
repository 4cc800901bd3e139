#include "CAutoRun.h"
#include "TempDir.h"
#include "TestPaths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kValueName[] = "Velatrix";

struct RunValue {
    bool exists = false;
    DWORD type = 0;
    std::string data;
};

RunValue ReadValue() {
    RunValue value;
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
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

void WriteValue(DWORD type, const std::string& data) {
    HKEY hKey;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &hKey));
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExA(hKey, kValueName, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())));
    RegCloseKey(hKey);
}

void DeleteValue() {
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &hKey) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(hKey, kValueName);
    RegCloseKey(hKey);
}

std::string OwnPath() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n);
}

// Each test starts without the value and leaves the registry as it found it.
class AutoRun : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = ReadValue();
        DeleteValue();
    }
    void TearDown() override {
        DeleteValue();
        if (m_saved.exists)
            WriteValue(m_saved.type, m_saved.data);
    }

    CAutoRun m_autoRun{kValueName};

private:
    RunValue m_saved;
};

TEST_F(AutoRun, AbsentValueIsNotRegistered) {
    EXPECT_FALSE(m_autoRun.IsEnabled());
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, m_autoRun.Disable());
    EXPECT_FALSE(ReadValue().exists);
}

TEST_F(AutoRun, AValueOfAnyTypeCountsAsRegisteredUntilDisabled) {
    struct Case {
        DWORD type;
        std::string data;
    } cases[] = {
        {REG_SZ, "C:\\Other\\Program.exe"},
        {REG_SZ, std::string(600, 'x') + '\0'}, // longer than the size the query offers
        {REG_EXPAND_SZ, "\"%ProgramFiles%\\x.exe\" /y"},
        {REG_DWORD, std::string(4, '\1')},
        {REG_BINARY, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        WriteValue(c.type, c.data);
        EXPECT_TRUE(m_autoRun.IsEnabled());
        EXPECT_EQ(ERROR_SUCCESS, m_autoRun.Disable());
        EXPECT_FALSE(m_autoRun.IsEnabled());
        EXPECT_FALSE(ReadValue().exists);
    }
}

TEST_F(AutoRun, TogglesTheUnquotedPathOfTheProgram) {
    ASSERT_EQ(ERROR_SUCCESS, m_autoRun.Enable());
    EXPECT_TRUE(m_autoRun.IsEnabled());
    RunValue value = ReadValue();
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
    EXPECT_EQ(OwnPath(), Text(value));
    EXPECT_EQ(OwnPath().size() + 1, value.data.size());

    ASSERT_EQ(ERROR_SUCCESS, m_autoRun.Enable("/min"));
    EXPECT_EQ(OwnPath() + " /min", Text(ReadValue()));

    EXPECT_EQ(ERROR_SUCCESS, m_autoRun.Disable());
    EXPECT_FALSE(m_autoRun.IsEnabled());
    ASSERT_EQ(ERROR_SUCCESS, m_autoRun.Enable());
    EXPECT_TRUE(m_autoRun.IsEnabled());
}

TEST_F(AutoRun, StoresAPathWithSpacesWithoutQuotes) {
    TempDir dir;
    std::string folder = dir.File("Program Files (test)");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::string program = folder + "\\Auto Run Enable.exe";
    ASSERT_TRUE(CopyFileA(SiblingProgram("AutoRunEnable.exe").c_str(), program.c_str(), FALSE));

    std::string cmd = "\"" + program + "\"";
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
    RunValue value = ReadValue();
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
    EXPECT_EQ(program, Text(value));
}

} // namespace
