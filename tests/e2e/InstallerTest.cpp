// The per-user installer as a user and a deployment script meet it, in a Wine
// prefix that has never seen Qorvane (tools/installer-test.sh makes it and
// names the installer in QV_INSTALLER): install, use, upgrade over the running
// program, uninstall. Every step is silent, as scripted deployment runs it.
#include "MurvelProcess.h"

#include "TestPaths.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Qorvane";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kMutexName[] = "{5C1E2B90-3D47-4F0A-9B6E-7A2D4C8E1F03}";

std::string KnownFolder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// "-" when the value (or its key) is missing.
std::string RegText(const char* key, const char* name) {
    char data[1024] = "";
    DWORD size = sizeof data - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return "-";
    return data;
}

DWORD RegNumber(const char* key, const char* name) {
    DWORD data = 0, size = sizeof data;
    RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &data, &size);
    return data;
}

bool EntryExists() {
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

// Runs a command line without a console or our output, waits for it; returns
// its exit code, -1 when it did not start or end in time.
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

std::string ShortcutTarget(const std::string& link) {
    std::string target;
    IShellLinkA* pLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&pLink))))
        return target;
    IPersistFile* pFile = nullptr;
    if (SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile)))) {
        std::wstring wide(link.begin(), link.end());
        char path[MAX_PATH] = "";
        if (SUCCEEDED(pFile->Load(wide.c_str(), STGM_READ)) &&
            SUCCEEDED(pLink->GetPath(path, sizeof path, nullptr, 0)))
            target = path;
        pFile->Release();
    }
    pLink->Release();
    return target;
}

bool QorvaneRunning() {
    HANDLE h = OpenMutexA(SYNCHRONIZE, FALSE, kMutexName);
    if (h)
        CloseHandle(h);
    return h != nullptr;
}

std::string DatText(const std::string& folder, const char* section, const char* key) {
    char text[512] = "";
    GetPrivateProfileStringA(section, key, "-", text, sizeof text,
                             (folder + "\\Tessik.dat").c_str());
    return text;
}

const char* const kInstalledFiles[] = {"Murvel.exe", "TessikDLL.dll", "README.txt",
                                       "Uninstall.exe"};

} // namespace

TEST(Installer, InstallsUpgradesAndUninstallsForOneUser) {
    const char* pszSetup = std::getenv("QV_INSTALLER");
    ASSERT_NE(nullptr, pszSetup) << "run through tools/installer-test.sh";
    const std::string setup = std::string("\"") + pszSetup + "\" /S";
    const std::string folder = KnownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Qorvane";
    const std::string program = folder + "\\Murvel.exe";
    const std::string shortcut = KnownFolder(CSIDL_PROGRAMS) + "\\Qorvane.lnk";
    ASSERT_FALSE(Exists(folder)) << "not a fresh prefix";
    CoInitialize(nullptr);

    // A silent setup asks nothing and starts nothing.
    ASSERT_EQ(0, RunCommand(setup));
    for (const char* name : kInstalledFiles)
        EXPECT_TRUE(Exists(folder + "\\" + name)) << name;
    EXPECT_EQ(program, ShortcutTarget(shortcut));
    EXPECT_EQ("Qorvane", RegText(kUninstallKey, "DisplayName"));
    EXPECT_EQ(QV_PROJECT_VERSION, RegText(kUninstallKey, "DisplayVersion"));
    EXPECT_EQ("Qorvane", RegText(kUninstallKey, "Publisher"));
    EXPECT_EQ(program + ",0", RegText(kUninstallKey, "DisplayIcon"));
    EXPECT_EQ("\"" + folder + "\\Uninstall.exe\"", RegText(kUninstallKey, "UninstallString"));
    EXPECT_LT(100u, RegNumber(kUninstallKey, "EstimatedSize")) << "kilobytes";
    EXPECT_EQ("-", RegText(kRunKey, "Velatrix")) << "start with Windows was not asked for";
    EXPECT_FALSE(QorvaneRunning());

    {
        MurvelProcess murvel(folder);
        ASSERT_TRUE(murvel.PutFile("Tessik.dat",
                                   "[Main]\r\nCount=2\r\n"
                                   "[Record_0]\r\nFileName=C:\\a.exe\r\nTitle=a\r\n"
                                   "[Record_1]\r\nFileName=C:\\b.exe\r\nTitle=b\r\n"));
        ASSERT_TRUE(murvel.Start());
        // In a profile that has never had a Run key.
        EXPECT_EQ(0u, murvel.MenuState(32780) & MF_CHECKED);
        murvel.Command(32780);
        EXPECT_EQ("\"" + program + "\"", RegText(kRunKey, "Velatrix"));
        EXPECT_EQ(static_cast<UINT>(MF_CHECKED), murvel.MenuState(32780) & MF_CHECKED);
        murvel.Command(32780);
        EXPECT_EQ("-", RegText(kRunKey, "Velatrix"));
        // The user's list changes while the program runs.
        murvel.SelectRow(0);
        murvel.PostCommand(32776);
        HWND hBox = murvel.WaitForDialog("确认删除");
        ASSERT_NE(nullptr, hBox);
        MurvelProcess::Click(hBox, IDYES);
        ASSERT_TRUE(murvel.WaitForClosed(hBox));
        ASSERT_EQ(1, murvel.RowCount());
        ASSERT_TRUE(WriteWholeFile(folder + "\\README.txt", "stale"));
        DeleteFileA((folder + "\\Tessik.ini").c_str());

        // The upgrade ends the program, which saves its settings on the way
        // out, replaces the files, keeps the user's and starts it again.
        ASSERT_EQ(0, RunCommand(setup + " /AUTORUN"));
        EXPECT_TRUE(murvel.HasExited());
        EXPECT_EQ(0u, ReadWholeFile(folder + "\\README.txt").find("\xEF\xBB\xBF"));
        EXPECT_EQ("1", DatText(folder, "Main", "Count"));
        EXPECT_EQ("b", DatText(folder, "Record_0", "Title"));
        EXPECT_TRUE(Exists(folder + "\\Tessik.ini"));
        EXPECT_EQ("\"" + program + "\"", RegText(kRunKey, "Velatrix")) << "asked for this time";
        EXPECT_TRUE(WaitFor(QorvaneRunning));
    }

    // The entry's own quiet command, as "Apps & features" or a script runs
    // it. The uninstaller runs on from a copy of itself and returns at once.
    ASSERT_EQ(0, RunCommand(RegText(kUninstallKey, "QuietUninstallString")));
    EXPECT_TRUE(
        WaitFor([&] { return !EntryExists() && !Exists(folder + "\\Uninstall.exe"); }, 30000));
    EXPECT_TRUE(WaitFor([] { return !QorvaneRunning(); }));
    for (const char* name : kInstalledFiles)
        EXPECT_FALSE(Exists(folder + "\\" + name)) << name;
    EXPECT_FALSE(Exists(shortcut));
    EXPECT_EQ("-", RegText(kRunKey, "Velatrix"));
    // Silently, the list and the settings stay for a later installation.
    EXPECT_EQ("b", DatText(folder, "Record_0", "Title"));
    EXPECT_TRUE(Exists(folder + "\\Tessik.ini"));
    CoUninitialize();
}
