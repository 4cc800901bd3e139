// The installer as a deployment script meets it, in a Wine prefix that has
// never seen Qorvane (tools/installer-test.sh makes it and names the
// installer in QV_INSTALLER): install, use, upgrade over the running program,
// uninstall, for one user and for all users. Wine's explorer is 64-bit and
// keeps only the 64-bit library mapped for good: where a library in use is
// the case, this process holds it; where nothing may use it, the program
// never runs.
#include "MurvelProcess.h"

#include "MutexOutOfReach.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <set>
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

// A text or number of the user's registry, or of the machine's in the view of
// this bitness (the one the setup of this bitness writes); "-" when missing.
std::string Reg(const char* key, const char* name, HKEY hRoot = HKEY_CURRENT_USER) {
    char data[1024] = "";
    DWORD type = 0, size = sizeof data;
    if (RegGetValueA(hRoot, key, name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, data, &size) !=
        ERROR_SUCCESS)
        return "-";
    return type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD*>(data)) : data;
}

// Starts a command line detached from our output; its process, or null.
HANDLE StartCommand(std::string commandLine, DWORD* pProcessId = nullptr) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, DETACHED_PROCESS,
                        nullptr, nullptr, &si, &pi))
        return nullptr;
    if (pProcessId)
        *pProcessId = pi.dwProcessId;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

// Waits for the process and closes its handle; its exit code, -1 when it did
// not end in time.
int ExitCode(HANDLE hProcess, DWORD timeoutMs = 60000) {
    DWORD code = static_cast<DWORD>(-1);
    if (hProcess && WaitForSingleObject(hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(hProcess, &code);
    if (hProcess)
        CloseHandle(hProcess);
    return static_cast<int>(code);
}

int RunCommand(const std::string& commandLine, DWORD* pProcessId = nullptr) {
    return ExitCode(StartCommand(commandLine, pProcessId));
}

// The names in a folder that match a pattern.
std::set<std::string> Listing(const std::string& pattern) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA(pattern.c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.insert(found.cFileName);
    } while (FindNextFileA(hFind, &found));
    FindClose(hFind);
    return names;
}

// The process that started the running Murvel.exe, or 0.
DWORD ParentOfProgram() {
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    DWORD parent = 0;
    for (BOOL ok = Process32First(hSnapshot, &entry); ok; ok = Process32Next(hSnapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, "Murvel.exe") == 0)
            parent = entry.th32ParentProcessID;
    }
    CloseHandle(hSnapshot);
    return parent;
}

std::string TempFolder() {
    char path[MAX_PATH] = "";
    GetTempPathA(sizeof path, path);
    return path;
}

bool QorvaneRunning() {
    HANDLE h = OpenMutexA(SYNCHRONIZE, FALSE, kMurvelMutexName);
    if (h)
        CloseHandle(h);
    return h != nullptr;
}

// The built files with a byte more, as an older version.
void MakeOlder(const std::string& folder) {
    for (const char* name : {"Murvel.exe", "TessikDLL.dll"})
        WriteWholeFile(folder + "\\" + name, ReadWholeFile(folder + "\\" + name) + '\0');
}
bool HoldsOlder(const std::string& folder) {
    for (const char* name : {"Murvel.exe", "TessikDLL.dll"}) {
        if (ReadWholeFile(SiblingProgram(name)) + '\0' != ReadWholeFile(folder + "\\" + name))
            return false;
    }
    return true;
}

// A shown dialog of the process whose control with this id is shown and
// enabled (message boxes keep the buttons they do not show), or null.
HWND WaitForDialogWith(DWORD processId, int nID) {
    HWND found = nullptr;
    WaitFor([&] {
        for (HWND h = FindWindowExA(nullptr, nullptr, "#32770", nullptr); h && !found;
             h = FindWindowExA(nullptr, h, "#32770", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            HWND hItem = GetDlgItem(h, nID);
            if (owner == processId && IsWindowVisible(h) && IsWindowVisible(hItem) &&
                IsWindowEnabled(hItem))
                found = h;
        }
        return found != nullptr;
    });
    return found;
}

// The uninstaller with its pages, run in place so that its exit code is its
// own: past the confirmation, the answer to its question, then Close (its
// button 1 again, enabled when it is done).
int UninstallAnswering(const std::string& folder, int nAnswer) {
    DWORD id = 0;
    HANDLE hProcess = StartCommand("\"" + folder + "\\Uninstall.exe\" _?=" + folder, &id);
    for (int nID : {IDOK, nAnswer, IDOK}) {
        if (HWND hDlg = WaitForDialogWith(id, nID))
            MurvelProcess::Click(hDlg, nID);
    }
    return ExitCode(hProcess, 10000);
}

// The entry's quiet command, which goes on from a copy of itself and returns
// at once; true when that has done.
bool UninstallQuietly(const std::string& folder, HKEY hRoot = HKEY_CURRENT_USER) {
    return RunCommand(Reg(kEntry, "QuietUninstallString", hRoot)) == 0 &&
           WaitFor([&] { return Reg(kEntry, "DisplayName", hRoot) == "-"; }, 30000) &&
           WaitFor([&] { return !Exists(folder + "\\Uninstall.exe") && !QorvaneRunning(); });
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
    MakeOlder(folder);

    // A folder that does not take the whole new version keeps the old one,
    // and setup says so.
    const std::string blocker = folder + "\\TessikDLL.dll.new";
    ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((blocker + "\\in").c_str(), nullptr));
    EXPECT_EQ(2, RunCommand(setup));
    EXPECT_TRUE(HoldsOlder(folder));
    EXPECT_FALSE(Exists(folder + "\\Murvel.exe.new"));
    RemoveDirectoryA((blocker + "\\in").c_str());
    RemoveDirectoryA(blocker.c_str());

    HMODULE hLibraryInUse = nullptr;
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
        // Held awake, the program's hooks map its library into other
        // programs of its bitness, which keep it from being written over;
        // this process is one of them until the end.
        murvel.Command(32790);
        PostMessageA(HWND_BROADCAST, WM_NULL, 0, 0);
        hLibraryInUse = LoadLibraryW(Wide(folder + "\\TessikDLL.dll").c_str());
        ASSERT_NE(nullptr, hLibraryInUse);

        // The upgrade ends the program (which saves its settings on the way
        // out), replaces its files, keeps the user's and starts it again.
        DWORD setupId = 0;
        ASSERT_EQ(0, RunCommand(setup + " /AUTORUN", &setupId));
        EXPECT_TRUE(murvel.HasExited());
        for (const char* name : {"Murvel.exe", "TessikDLL.dll"})
            EXPECT_TRUE(ReadWholeFile(SiblingProgram(name)) == ReadWholeFile(folder + "\\" + name))
                << name << " is not the new version's";
        EXPECT_EQ(1u, Listing(folder + "\\TessikDLL.dll.*.old").size())
            << "the old library, still in use, set aside";
        EXPECT_TRUE(Listing(folder + "\\*.new").empty());
        EXPECT_EQ(0u, ReadWholeFile(folder + "\\README.txt").find("\xEF\xBB\xBF"));
        EXPECT_EQ(1u, GetPrivateProfileIntA("Main", "Count", 0, murvel.File("Tessik.dat").c_str()));
        EXPECT_TRUE(Exists(folder + "\\Tessik.ini"));
        EXPECT_EQ("\"" + program + "\"", Reg(kRunKey, "Velatrix"));
        EXPECT_TRUE(WaitFor(QorvaneRunning));
        // Started as the shell starts programs, not by setup itself.
        EXPECT_TRUE(WaitFor([] { return ParentOfProgram() != 0; }));
        EXPECT_NE(setupId, ParentOfProgram());
    }

    const std::string aside = TempFolder() + "Qorvane-TessikDLL.dll.*.old";
    const size_t nAside = Listing(aside).size();
    ASSERT_TRUE(UninstallQuietly(folder));
    // The library this process holds went to the temporary folder; silently,
    // the list and the settings stay for a later installation.
    const std::set<std::string> kept = {"Tessik.dat", "Tessik.ini"};
    EXPECT_EQ(kept, Listing(folder + "\\*"));
    EXPECT_FALSE(Exists(shortcut));
    EXPECT_EQ("-", Reg(kRunKey, "Velatrix"));
    EXPECT_LT(nAside, Listing(aside).size());
    FreeLibrary(hLibraryInUse);
}

// A library nothing has mapped goes without anything set aside. The user's
// files stay, beside the program and in the user's own folder (where the
// program keeps them when its folder cannot be written), unless the user
// answers that they should go.
TEST(Installer, UninstallsAnInstallationNothingUses) {
    const char* pszSetup = std::getenv("QV_INSTALLER");
    ASSERT_NE(nullptr, pszSetup) << "run through tools/installer-test.sh";
    const std::string folder = KnownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Qorvane Unused";
    const std::string setup = std::string("\"") + pszSetup + "\" /S /D=" + folder;
    const std::string userFolder = KnownFolder(CSIDL_APPDATA) + "\\Qorvane";
    const std::set<std::string> kept = {"Tessik.dat", "Tessik.ini"};
    const std::set<std::string> aside = Listing(TempFolder() + "Qorvane-*");
    ASSERT_EQ(0, RunCommand(setup));
    CreateDirectoryA(userFolder.c_str(), nullptr);
    for (const std::string& name : kept) {
        ASSERT_TRUE(WriteWholeFile(folder + "\\" + name, "[Main]\r\n"));
        ASSERT_TRUE(WriteWholeFile(userFolder + "\\" + name, "[Main]\r\n"));
    }
    ASSERT_TRUE(UninstallQuietly(folder));
    EXPECT_EQ(kept, Listing(folder + "\\*"));
    EXPECT_EQ(kept, Listing(userFolder + "\\*"));
    EXPECT_EQ(aside, Listing(TempFolder() + "Qorvane-*"));

    ASSERT_EQ(0, RunCommand(setup));
    EXPECT_EQ(0, UninstallAnswering(folder, IDYES));
    for (const std::string& name : kept)
        EXPECT_FALSE(Exists(folder + "\\" + name)) << name;
    EXPECT_FALSE(Exists(userFolder));
}

// Neither setup nor the uninstaller changes anything under a program they
// cannot close: one started as administrator, or one whose exit is held up,
// which setup gives back once it has ended.
TEST(Installer, ChangesNothingUnderAProgramItCannotClose) {
    const char* pszSetup = std::getenv("QV_INSTALLER");
    ASSERT_NE(nullptr, pszSetup) << "run through tools/installer-test.sh";
    const std::string folder = KnownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Qorvane Held";
    const std::string setup = std::string("\"") + pszSetup + "\" /S /D=" + folder;
    ASSERT_EQ(0, RunCommand(setup));
    MakeOlder(folder);
    {
        const MutexOutOfReach mutex(kMurvelMutexName);
        ASSERT_NE(nullptr, mutex.Get());
        EXPECT_EQ(2, RunCommand(setup));
        EXPECT_TRUE(HoldsOlder(folder));
        // Run in place, the uninstaller's exit code is its own.
        EXPECT_EQ(2, RunCommand("\"" + folder + "\\Uninstall.exe\" /S _?=" + folder));
        EXPECT_TRUE(Exists(folder + "\\TessikDLL.dll"));
        EXPECT_EQ("Qorvane", Reg(kEntry, "DisplayName"));
    }

    // Its exit waits on the box that says the list could not be saved,
    // answered after setup gave up waiting (15 s) and before its second wait
    // ends.
    MurvelProcess murvel(folder);
    ASSERT_TRUE(
        murvel.PutFile("Tessik.dat", "[Main]\r\nCount=1\r\n[Record_0]\r\nFileName=C:\\a.exe\r\n"));
    SetFileAttributesA(murvel.File("Tessik.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(murvel.Start());
    HANDLE hSetup = StartCommand(setup);
    HWND hBox = murvel.WaitForDialog("Qorvane");
    EXPECT_NE(nullptr, hBox);
    Sleep(20000);
    MurvelProcess::Click(hBox, IDOK);
    EXPECT_EQ(2, ExitCode(hSetup));
    EXPECT_TRUE(murvel.HasExited());
    EXPECT_TRUE(HoldsOlder(folder));
    EXPECT_TRUE(WaitFor(QorvaneRunning)) << "given back";
    SetFileAttributesA(murvel.File("Tessik.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(UninstallQuietly(folder));
}

// Installed for all users (Wine runs every process as an elevated
// administrator, so /ALLUSERS is allowed here): into Program Files of the
// setup's bitness, with the machine's entries and the mark, beside an
// installation for one user whose folder and entries neither mode takes for
// its own. The program from there keeps each user's files in the user's own
// folder, never in its own nor from it, and leaves the machine's start with
// Windows to the administrator.
TEST(Installer, InstallsForAllUsersBesideAnInstallationForOneUser) {
    const char* pszSetup = std::getenv("QV_INSTALLER");
    ASSERT_NE(nullptr, pszSetup) << "run through tools/installer-test.sh";
    const std::string setup = std::string("\"") + pszSetup + "\" /S";
    const std::string folder = KnownFolder(CSIDL_PROGRAM_FILES) + "\\Qorvane";
    const std::string quotedProgram = "\"" + folder + "\\Murvel.exe\"";
    const std::string mine = KnownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Qorvane Mine";
    const std::string userFolder = KnownFolder(CSIDL_APPDATA) + "\\Qorvane";
    const std::string shortcut = KnownFolder(CSIDL_COMMON_PROGRAMS) + "\\Qorvane.lnk";
    const std::set<std::string> userFiles = {"Tessik.dat", "Tessik.ini"};
    ASSERT_FALSE(Exists(folder)) << "not a fresh prefix";
    const auto clearUserFolder = [&] {
        for (const std::string& name : userFiles)
            DeleteFileA((userFolder + "\\" + name).c_str());
        RemoveDirectoryA(userFolder.c_str());
    };
    clearUserFolder();

    ASSERT_EQ(0, RunCommand(setup + " /D=" + mine));
    ASSERT_EQ(0, RunCommand(setup + " /ALLUSERS /AUTORUN"));
    for (const char* name :
         {"Murvel.exe", "TessikDLL.dll", "README.txt", "Uninstall.exe", "AllUsers.mark"})
        EXPECT_TRUE(Exists(folder + "\\" + name)) << name;
    EXPECT_TRUE(Exists(shortcut));
    EXPECT_EQ(folder, Reg(kEntry, "InstallLocation", HKEY_LOCAL_MACHINE));
    EXPECT_EQ(mine, Reg(kEntry, "InstallLocation"));
    EXPECT_EQ(quotedProgram, Reg(kRunKey, "Velatrix", HKEY_LOCAL_MACHINE));
    EXPECT_EQ("-", Reg(kRunKey, "Velatrix"));

    // Each upgrade finds its own installation; neither mode takes the other's
    // folder.
    MakeOlder(folder);
    MakeOlder(mine);
    EXPECT_EQ(0, RunCommand(setup));
    EXPECT_FALSE(HoldsOlder(mine));
    EXPECT_TRUE(HoldsOlder(folder));
    EXPECT_EQ(2, RunCommand(setup + " /D=" + folder));
    EXPECT_TRUE(HoldsOlder(folder));
    MakeOlder(mine);
    EXPECT_EQ(2, RunCommand(setup + " /ALLUSERS /D=" + mine));
    EXPECT_TRUE(HoldsOlder(mine));
    EXPECT_FALSE(Exists(mine + "\\AllUsers.mark"));

    {
        MurvelProcess murvel(folder);
        // Another user's list, as if it lay beside the program: not this
        // user's to see.
        const std::string othersList = "[Main]\r\nCount=1\r\n[Record_0]\r\nFileName=C:\\a.exe\r\n";
        ASSERT_TRUE(murvel.PutFile("Tessik.dat", othersList));
        ASSERT_TRUE(murvel.Start());
        EXPECT_EQ(0, murvel.RowCount());
        EXPECT_EQ(static_cast<UINT>(MF_CHECKED), murvel.MenuState(32780) & MF_CHECKED);
        murvel.PostCommand(32780);
        EXPECT_NE(std::string::npos, murvel.AnswerBox(murvel.MainWindow(), IDOK).find("管理员"));
        EXPECT_EQ(static_cast<UINT>(MF_CHECKED), murvel.MenuState(32780) & MF_CHECKED);
        EXPECT_EQ(quotedProgram, Reg(kRunKey, "Velatrix", HKEY_LOCAL_MACHINE));
        murvel.Command(32779); // the icon off: a change of the settings

        // The upgrade over the running program, which saves on its way out.
        ASSERT_EQ(0, RunCommand(setup + " /ALLUSERS"));
        EXPECT_TRUE(murvel.HasExited());
        EXPECT_FALSE(HoldsOlder(folder));
        EXPECT_EQ(quotedProgram, Reg(kRunKey, "Velatrix", HKEY_LOCAL_MACHINE));
        EXPECT_TRUE(WaitFor(QorvaneRunning));
        EXPECT_EQ(othersList, ReadWholeFile(murvel.File("Tessik.dat")));
        EXPECT_FALSE(Exists(murvel.File("Tessik.ini")));
    }
    EXPECT_EQ(userFiles, Listing(userFolder + "\\*"));
    EXPECT_EQ(0, static_cast<int>(GetPrivateProfileIntA("Config", "ShowTrayIcon", -1,
                                                        (userFolder + "\\Tessik.ini").c_str())));
    EXPECT_EQ(0, static_cast<int>(GetPrivateProfileIntA("Main", "Count", -1,
                                                        (userFolder + "\\Tessik.dat").c_str())));

    ASSERT_TRUE(DeleteFileA((folder + "\\Tessik.dat").c_str()));
    ASSERT_TRUE(UninstallQuietly(folder, HKEY_LOCAL_MACHINE));
    EXPECT_FALSE(Exists(folder));
    EXPECT_FALSE(Exists(shortcut));
    EXPECT_EQ("-", Reg(kRunKey, "Velatrix", HKEY_LOCAL_MACHINE));
    EXPECT_EQ(userFiles, Listing(userFolder + "\\*")) << "each user's own, out of its reach";
    EXPECT_EQ(mine, Reg(kEntry, "InstallLocation"));
    EXPECT_TRUE(Exists(mine + "\\Murvel.exe"));
    EXPECT_TRUE(UninstallQuietly(mine));
    clearUserFolder();
}

// Run by tools/installer-test.sh after the tests above and a restart of Wine,
// when nothing maps the library any more and the system has deleted what setup
// left to it.
TEST(Installer, NothingOfTheProgramIsLeftAfterARestart) {
    if (!std::getenv("QV_AFTER_RESTART"))
        GTEST_SKIP() << "run through tools/installer-test.sh";
    const std::string folder = KnownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Qorvane";
    const std::set<std::string> kept = {"Tessik.dat", "Tessik.ini"};
    EXPECT_EQ(kept, Listing(folder + "\\*"));
    EXPECT_TRUE(Listing(TempFolder() + "Qorvane-*").empty());
}
