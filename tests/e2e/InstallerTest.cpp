// The per-user installer as a deployment script meets it, in a Wine prefix
// that has never seen Qorvane (tools/installer-test.sh makes it and names the
// installer in QV_INSTALLER): install, use, upgrade over the running program,
// uninstall, every step silent.
#include "MurvelProcess.h"

#include "TestPaths.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdlib>
#include <string>

namespace {

const char kEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Qorvane";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string KnownFolder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A text or number of the user's registry; "-" when missing.
std::string Reg(const char* key, const char* name) {
    char data[1024] = "";
    DWORD type = 0, size = sizeof data;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, data,
                     &size) != ERROR_SUCCESS)
        return "-";
    return type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD*>(data)) : data;
}

// Runs a command line detached from our output and waits for its exit code.
int RunCommand(std::string commandLine) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, DETACHED_PROCESS,
                        nullptr, nullptr, &si, &pi))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

bool QorvaneRunning() {
    HANDLE h = OpenMutexA(SYNCHRONIZE, FALSE, "{5C1E2B90-3D47-4F0A-9B6E-7A2D4C8E1F03}");
    if (h)
        CloseHandle(h);
    return h != nullptr;
}

} // namespace

TEST(Installer, InstallsUpgradesAndUninstallsForOneUser) {
    const char* pszSetup = std::getenv("QV_INSTALLER");
    ASSERT_NE(nullptr, pszSetup) << "run through tools/installer-test.sh";
    const std::string setup = std::string("\"") + pszSetup + "\" /S";
    const std::string folder = KnownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Qorvane";
    const std::string program = folder + "\\Murvel.exe";
    const std::string shortcut = KnownFolder(CSIDL_PROGRAMS) + "\\Qorvane.lnk";
    const char* const files[] = {"Murvel.exe", "TessikDLL.dll", "README.txt", "Uninstall.exe"};
    ASSERT_FALSE(Exists(folder)) << "not a fresh prefix";

    ASSERT_EQ(0, RunCommand(setup));
    for (const char* name : files)
        EXPECT_TRUE(Exists(folder + "\\" + name)) << name;
    EXPECT_TRUE(Exists(shortcut));
    EXPECT_EQ("Qorvane", Reg(kEntry, "DisplayName"));
    EXPECT_EQ(QV_PROJECT_VERSION, Reg(kEntry, "DisplayVersion"));
    EXPECT_EQ("Qorvane", Reg(kEntry, "Publisher"));
    EXPECT_EQ(program + ",0", Reg(kEntry, "DisplayIcon"));
    EXPECT_LT(100, std::atoi(Reg(kEntry, "EstimatedSize").c_str())) << "kilobytes";
    EXPECT_EQ("-", Reg(kRunKey, "Velatrix")) << "not asked for";
    EXPECT_FALSE(QorvaneRunning()) << "not asked for";

    {
        MurvelProcess murvel(folder);
        ASSERT_TRUE(murvel.PutFile("Tessik.dat",
                                   "[Main]\r\nCount=2\r\n"
                                   "[Record_0]\r\nFileName=C:\\a.exe\r\nTitle=a\r\n"
                                   "[Record_1]\r\nFileName=C:\\b.exe\r\nTitle=b\r\n"));
        ASSERT_TRUE(murvel.Start());
        // A new profile has no Run key of its own.
        murvel.Command(32780);
        EXPECT_EQ("\"" + program + "\"", Reg(kRunKey, "Velatrix"));
        EXPECT_EQ(static_cast<UINT>(MF_CHECKED), murvel.MenuState(32780) & MF_CHECKED);
        murvel.Command(32780);
        EXPECT_EQ("-", Reg(kRunKey, "Velatrix"));
        // The user changes the list; the guide gets stale.
        murvel.SelectRow(0);
        murvel.PostCommand(32776);
        HWND hBox = murvel.WaitForDialog("确认删除");
        ASSERT_NE(nullptr, hBox);
        MurvelProcess::Click(hBox, IDYES);
        ASSERT_TRUE(murvel.WaitForClosed(hBox));
        ASSERT_TRUE(WriteWholeFile(folder + "\\README.txt", "stale"));
        DeleteFileA((folder + "\\Tessik.ini").c_str());

        // The upgrade ends the program (which saves its settings on the way
        // out), replaces its files, keeps the user's and starts it again.
        ASSERT_EQ(0, RunCommand(setup + " /AUTORUN"));
        EXPECT_TRUE(murvel.HasExited());
        EXPECT_EQ(0u, ReadWholeFile(folder + "\\README.txt").find("\xEF\xBB\xBF"));
        EXPECT_EQ(1u, GetPrivateProfileIntA("Main", "Count", 0, murvel.File("Tessik.dat").c_str()));
        EXPECT_TRUE(Exists(folder + "\\Tessik.ini"));
        EXPECT_EQ("\"" + program + "\"", Reg(kRunKey, "Velatrix"));
        EXPECT_TRUE(WaitFor(QorvaneRunning));
    }

    // The entry's quiet command; the uninstaller goes on from a copy of
    // itself and returns at once.
    ASSERT_EQ(0, RunCommand(Reg(kEntry, "QuietUninstallString")));
    EXPECT_TRUE(WaitFor([&] { return Reg(kEntry, "DisplayName") == "-"; }, 30000));
    EXPECT_TRUE(WaitFor([&] { return !Exists(folder + "\\Uninstall.exe") && !QorvaneRunning(); }));
    for (const char* name : files)
        EXPECT_FALSE(Exists(folder + "\\" + name)) << name;
    EXPECT_FALSE(Exists(shortcut));
    EXPECT_EQ("-", Reg(kRunKey, "Velatrix"));
    // Silently, the list and the settings stay for a later installation.
    EXPECT_TRUE(Exists(folder + "\\Tessik.dat"));
    EXPECT_TRUE(Exists(folder + "\\Tessik.ini"));
}
