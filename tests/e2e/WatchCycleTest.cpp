// The program's main job on the real Murvel.exe: a watched helper program
// runs, the program guards, the helper's screen-saver command is swallowed;
// the helper ends and everything returns to normal. Also one instance at a
// time and the uninstall prompt.
#include "CSingleInstance.h"
#include "HookTargetProcess.h"
#include "MurvelProcess.h"
#include "MutexOutOfReach.h"
#include "ProgramHooks.h"
#include "ShareSection.h"
#include "TestPaths.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char kGuarding[] = "Qorvane (守护中...)";
const char kComputerAwake[] = "Qorvane (保持电脑唤醒...)";

std::string Record(int n, const std::string& path, int condition, int effect) {
    return "[Record_" + std::to_string(n) + "]\r\nFileName=" + path + "\r\nTitle=helper" +
           std::to_string(n) + "\r\nValidCondition=" + std::to_string(condition) +
           "\r\nMonitorEffec=" + std::to_string(effect) + "\r\n";
}

std::string List(const std::string& records, int count) {
    return "[Main]\r\nCount=" + std::to_string(count) + "\r\n" + records;
}

} // namespace

TEST(WatchCycle, EmptyListGuardsNothing) {
    MurvelProcess murvel;
    ASSERT_TRUE(murvel.Start());
    murvel.RunWatchCycle();
    EXPECT_EQ("Qorvane", murvel.Title());
    ProgramHooks hooks(murvel);
    EXPECT_TRUE(hooks.None());
}

TEST(WatchCycle, RunningProgramIsGuardedUntilItEnds) {
    HookTargetProcess helper;
    ASSERT_NE(nullptr, helper.Window());
    const std::string path = SiblingProgram("HookTarget.exe");
    MurvelProcess murvel;
    murvel.PutFile("Tessik.dat", List(Record(0, path, 1, 1) + Record(1, path, 1, 2), 2));
    ASSERT_TRUE(murvel.Start());
    murvel.RunWatchCycle();
    EXPECT_EQ(kGuarding, murvel.Title());

    ProgramHooks hooks(murvel);
    EXPECT_TRUE(hooks.Installed());
    // Cycles that find things as they are change nothing on screen.
    const int changes = murvel.ShownChanges();
    murvel.RunWatchCycle();
    murvel.RunWatchCycle();
    EXPECT_EQ(changes, murvel.ShownChanges());
    EXPECT_TRUE(hooks.Installed());
    EXPECT_EQ(1, hooks.Saver()) << "effects 1 and 2 together prevent both";
    EXPECT_EQ(1, hooks.PowerOff());
    // A screen-saver command that reaches the helper arrives as nothing.
    EXPECT_EQ(WM_NULL, helper.PostAndReceive(WM_SYSCOMMAND, SC_SCREENSAVE));
    EXPECT_EQ(WM_NULL, helper.PostSysCommandAndReceive(SC_MONITORPOWER, 2));
    EXPECT_EQ(WM_NULL, helper.PostSysCommandAndReceive(SC_MONITORPOWER | 2, 1));
    EXPECT_EQ(WM_NULL, helper.PostAndReceive(WM_SYSCOMMAND, SC_SCREENSAVE));

    helper.Kill();
    murvel.RunWatchCycle();
    EXPECT_EQ("Qorvane", murvel.Title());
    EXPECT_TRUE(hooks.None());
}

// Any process that maps the library can write its shared block: the program
// finds its slot gone in the next cycle and takes one again.
TEST(WatchCycle, ASharedBlockZeroedByAnotherProcessIsTakenAgainWithinTwoCycles) {
    HookTargetProcess helper;
    ASSERT_NE(nullptr, helper.Window());
    MurvelProcess murvel;
    murvel.PutFile("Tessik.dat", List(Record(0, SiblingProgram("HookTarget.exe"), 1, 1), 1));
    ASSERT_TRUE(murvel.Start());
    murvel.RunWatchCycle();
    ProgramHooks hooks(murvel);
    ASSERT_TRUE(hooks.Installed());
    ASSERT_EQ(WM_NULL, helper.PostAndReceive(WM_SYSCOMMAND, SC_SCREENSAVE));

    hooks.ZeroBlock();
    EXPECT_EQ(WM_SYSCOMMAND, helper.PostAndReceive(WM_SYSCOMMAND, SC_SCREENSAVE));
    murvel.RunWatchCycle();
    murvel.RunWatchCycle();
    EXPECT_TRUE(hooks.Installed());
    EXPECT_EQ(1, hooks.Saver());
    EXPECT_EQ(WM_NULL, helper.PostAndReceive(WM_SYSCOMMAND, SC_SCREENSAVE));
    EXPECT_EQ(kGuarding, murvel.Title());
}

// Programs of the other bitness call back into the thread that installed the
// hooks: that is a thread of the program's own, not the main window's.
TEST(WatchCycle, HooksComeFromAThreadOfTheirOwnThatRemovesThemAtTheEnd) {
    MurvelProcess murvel;
    murvel.PutFile("Tessik.dat", List(Record(0, SiblingProgram("e2e_tests.exe"), 1, 3), 1));
    ASSERT_TRUE(murvel.Start());
    murvel.RunWatchCycle();
    ProgramHooks hooks(murvel);
    const DWORD installer = hooks.InstallThread();
    ASSERT_NE(0u, installer);
    EXPECT_NE(GetWindowThreadProcessId(murvel.MainWindow(), nullptr), installer);
    HANDLE hThread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, installer);
    ASSERT_NE(nullptr, hThread);
    EXPECT_EQ(murvel.ProcessId(), GetProcessIdOfThread(hThread));
    CloseHandle(hThread);

    DWORD_PTR result;
    SendMessageTimeoutA(murvel.MainWindow(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 10000, &result);
    EXPECT_TRUE(hooks.None()) << "the session ends";
    murvel.RunWatchCycle();
    EXPECT_EQ(installer, hooks.InstallThread());
    ASSERT_TRUE(murvel.Close());
    EXPECT_TRUE(hooks.None()) << "the program has ended";
}

TEST(WatchCycle, ForegroundConditionFollowsTheForegroundWindow) {
    HookTargetProcess helper;
    ASSERT_NE(nullptr, helper.Window());
    MurvelProcess murvel;
    murvel.PutFile("Tessik.dat", List(Record(0, SiblingProgram("HookTarget.exe"), 2, 1), 1));
    ASSERT_TRUE(murvel.Start());

    SetForegroundWindow(helper.Window());
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == helper.Window(); }, 5000));
    murvel.RunWatchCycle();
    EXPECT_EQ(kGuarding, murvel.Title());

    SetForegroundWindow(murvel.MainWindow());
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == murvel.MainWindow(); }, 5000));
    murvel.RunWatchCycle();
    EXPECT_EQ("Qorvane", murvel.Title());
}

// A change of the foreground shows within a second wherever in the 5-second
// cycle it comes: the cycle's timer started with the window, and each change
// comes more than a second before its next tick.
TEST(WatchCycle, AForegroundChangeShowsAtOnceAnywhereInTheCycle) {
    HookTargetProcess helper;
    MurvelProcess murvel;
    murvel.PutFile("Tessik.dat", List(Record(0, SiblingProgram("HookTarget.exe"), 2, 1), 1));
    ASSERT_TRUE(murvel.Start());
    const DWORD cycleStart = GetTickCount();
    ASSERT_TRUE(BringToFront(murvel.MainWindow()));
    murvel.RunWatchCycle(); // finds the helper and starts watching the foreground
    for (DWORD offset : {500u, 2000u, 3400u}) {
        Sleep(cycleStart + offset - std::min(GetTickCount(), cycleStart + offset));
        ASSERT_TRUE(BringToFront(helper.Window()));
        DWORD t = GetTickCount();
        EXPECT_TRUE(WaitFor([&] { return murvel.Title() == kGuarding; }, 1000)) << offset;
        const DWORD toGuarding = GetTickCount() - t;
        ASSERT_TRUE(BringToFront(murvel.MainWindow()));
        t = GetTickCount();
        EXPECT_TRUE(WaitFor([&] { return murvel.Title() == "Qorvane"; }, 1000)) << offset;
        std::printf("at %lu ms: guarding after %lu ms, normal %lu ms after leaving\n", offset,
                    toGuarding, GetTickCount() - t);
    }
}

TEST(SingleInstance, SecondStartBringsTheHiddenWindowBack) {
    MurvelProcess murvel;
    murvel.PutFile("Tessik.ini", "[Dialog]\r\nVisible=0\r\n");
    ASSERT_TRUE(murvel.Start());
    Sleep(300);
    ASSERT_FALSE(murvel.IsVisible());
    EXPECT_EQ(0, murvel.RunAgain(""));
    EXPECT_TRUE(WaitFor([&] { return murvel.IsVisible(); }, 5000));
    EXPECT_FALSE(murvel.HasExited());
}

TEST(SingleInstance, UninstallWithoutARunningInstance) {
    MurvelProcess murvel;
    murvel.PutFile("Tessik.dat", "[Main]\r\nCount=0\r\n");
    murvel.PutFile("Tessik.ini", "[Dialog]\r\nVisible=1\r\n");
    EXPECT_EQ(0, murvel.RunAndAnswer("/uninstall", IDNO));
    EXPECT_FALSE(ReadWholeFile(murvel.File("Tessik.dat")).empty());
    EXPECT_FALSE(ReadWholeFile(murvel.File("Tessik.ini")).empty());
    EXPECT_EQ(0, murvel.RunAndAnswer("-q /Uninstall", IDYES));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(murvel.File("Tessik.dat").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(murvel.File("Tessik.ini").c_str()));
}

TEST(SingleInstance, UninstallClosesTheRunningInstanceFirst) {
    MurvelProcess murvel;
    murvel.PutFile("Tessik.dat", List(Record(0, "C:\\x.exe", 1, 3), 1));
    ASSERT_TRUE(murvel.Start());
    murvel.Command(32780); // start with Windows: the uninstall leaves it alone
    // An open dialog goes as if cancelled and writes nothing back afterwards.
    murvel.SelectRow(0);
    murvel.PostCommand(ID_WATCH_PROPERTIES);
    ASSERT_NE(nullptr, murvel.WaitForDialog("监视项属性"));
    EXPECT_EQ(0, murvel.RunAndAnswer("/UNINSTALL", IDYES));
    EXPECT_TRUE(murvel.HasExited());
    // The running instance saved both files on its way out; they are gone.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(murvel.File("Tessik.dat").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(murvel.File("Tessik.ini").c_str()));

    HKEY hKey;
    ASSERT_EQ(
        ERROR_SUCCESS,
        RegOpenKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", &hKey));
    EXPECT_EQ(ERROR_SUCCESS,
              RegQueryValueExA(hKey, "Velatrix", nullptr, nullptr, nullptr, nullptr));
    RegDeleteValueA(hKey, "Velatrix");
    RegCloseKey(hKey);
}

// Any process that maps Murvel.exe as an image can write its shared section.
// A window published there counts only when a process running the same
// program file owns it: no hand-over to another program's window, and no
// close of it by /UNINSTALL.
TEST(SingleInstance, AWindowOfAnotherProgramInTheSharedSectionIsIgnored) {
    HookTargetProcess other;
    ASSERT_NE(nullptr, other.Window());
    MurvelProcess murvel;
    HANDLE hRunning = CreateMutexA(nullptr, TRUE, kMurvelMutexName);
    HMODULE image =
        LoadLibraryExA(murvel.File("Murvel.exe").c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    using Slot = CSingleInstance::MainWndSlot;
    auto slots =
        static_cast<volatile Slot*>(FindShareSection(image, sizeof(Slot) * SessionSlots::kCount));
    ASSERT_NE(nullptr, slots);
    slots[0].owner.nTicket = SessionSlots::MakeTicket(OwnSessionKey(), 1);
    SessionSlots::Stamp(slots[0].owner.process, {other.ProcessId(), 0, 0});
    slots[0].hMainWnd = other.Window();

    EXPECT_EQ(0, murvel.RunAgain(""));
    EXPECT_EQ(0, murvel.RunAgain("/UNINSTALL"));
    // A hold it cannot hand over is not lost without a word.
    EXPECT_EQ(2, murvel.RunAndAnswer("/KEEPAWAKE:30", IDOK, "Qorvane"));
    EXPECT_TRUE(IsWindow(other.Window())) << "closed by /UNINSTALL";
    EXPECT_EQ(-1, other.TakePosted());
    FreeLibrary(image);
    CloseHandle(hRunning);
}

// An instance started as administrator leaves a mutex that a standard user's
// programs may not open: a start says so instead of running a second instance.
TEST(SingleInstance, AnInstanceOutOfReachIsToldOfNotJoined) {
    const MutexOutOfReach elevated(kMurvelMutexName);
    ASSERT_NE(nullptr, elevated.Get());
    MurvelProcess murvel;
    EXPECT_EQ(2, murvel.RunAndAnswer("", IDOK, "Qorvane"));
    EXPECT_EQ(2, murvel.RunAndAnswer("/KEEPAWAKE:30", IDOK, "Qorvane"));
}

// A portable copy while the installed one runs (or the other way round):
// they share no section, only the session's mutex, and a start reaches the
// one that runs all the same.
TEST(SingleInstance, AStartReachesACopyRunningFromAnotherFolder) {
    MurvelProcess installed;
    ASSERT_TRUE(installed.Start());
    installed.Command(ID_HIDE_MAIN_WND);
    MurvelProcess portable;
    EXPECT_EQ(0, portable.RunAgain("/KEEPAWAKE:30"));
    EXPECT_TRUE(WaitFor([&] { return installed.Title() == kGuarding; }, 5000));
    EXPECT_EQ(0, portable.RunAgain(""));
    EXPECT_TRUE(WaitFor([&] { return installed.IsVisible(); }, 5000)) << "its window shown";
}

TEST(KeepAwake, AHoldAskedForWhileTheFirstInstanceStartsReachesIt) {
    MurvelProcess murvel;
    EXPECT_EQ(0, murvel.StartRacedBy("/KEEPAWAKE:30"));
    EXPECT_TRUE(WaitFor([&] { return murvel.Title() == kGuarding; }, 5000));
}

TEST(KeepAwake, FromTheMenuAndTheCommandLineWithAndWithoutAWatchedProgram) {
    HookTargetProcess helper;
    ASSERT_NE(nullptr, helper.Window());
    MurvelProcess murvel;
    // Watched for the screen saver only, and not valid yet.
    murvel.PutFile("Tessik.dat", List(Record(0, SiblingProgram("HookTarget.exe"), 0, 1), 1));
    ASSERT_TRUE(murvel.Start());
    ProgramHooks hooks(murvel);
    EXPECT_EQ(static_cast<UINT>(-1), murvel.MenuState(ID_KEEPAWAKE_STOP)) << "no hold, no stop";

    // Nothing watched: a hold guards as an item with both effects would.
    murvel.Command(ID_KEEPAWAKE_30);
    EXPECT_EQ(kGuarding, murvel.Title());
    EXPECT_TRUE(hooks.Installed());
    EXPECT_EQ(1, hooks.Saver());
    EXPECT_EQ(1, hooks.PowerOff()) << "and with it the display power request";
    EXPECT_EQ(0, hooks.Counting()) << "a hold arms no blackout";
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), murvel.MenuState(ID_KEEPAWAKE_30) & MF_CHECKED);
    EXPECT_NE(static_cast<UINT>(-1), murvel.MenuState(ID_KEEPAWAKE_STOP));
    murvel.RunWatchCycle();
    EXPECT_EQ(kGuarding, murvel.Title()) << "the hold lasts";
    murvel.Command(ID_KEEPAWAKE_STOP);
    EXPECT_EQ("Qorvane", murvel.Title());
    EXPECT_TRUE(hooks.None());

    // From a later start; a bad number changes nothing.
    EXPECT_EQ(0, murvel.RunAgain("/KEEPAWAKE:30"));
    EXPECT_TRUE(WaitFor([&] { return murvel.Title() == kGuarding; }, 5000));
    EXPECT_EQ(1, murvel.RunAndAnswer("/keepawake:1h", IDOK, "Qorvane"));
    EXPECT_EQ(kGuarding, murvel.Title());
    EXPECT_EQ(0, murvel.RunAgain("/KeepAwake:0"));
    EXPECT_TRUE(WaitFor([&] { return murvel.Title() == "Qorvane"; }, 5000));

    // The computer alone, with the screen saver and display left alone: the
    // title does not promise the screen.
    EXPECT_EQ(0, murvel.RunAgain("/KEEPAWAKE:SYSTEM"));
    EXPECT_TRUE(WaitFor([&] { return murvel.Title() == kComputerAwake; }, 5000));
    EXPECT_TRUE(hooks.None());
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED),
              murvel.MenuState(ID_KEEPAWAKE_COMPUTER_ONLY) & MF_CHECKED);
    // For as long as a job runs: its end is seen at once, not at the next cycle.
    DWORD jobId = 0;
    {
        HookTargetProcess job;
        jobId = job.ProcessId();
        EXPECT_EQ(0, murvel.RunAgain("/KEEPAWAKE:PID=" + std::to_string(jobId)));
        EXPECT_TRUE(WaitFor([&] { return hooks.PowerOff() == 1; }, 5000)) << "the screen";
        EXPECT_EQ(kGuarding, murvel.Title());
        job.Kill();
        EXPECT_TRUE(WaitFor([&] { return murvel.Title() == "Qorvane"; }, 1000));
        // Handed a process that has ended already (its handle still open
        // here), the hold ends as soon as it starts; one that names no
        // process is refused.
        const UINT uKeepAwake = RegisterWindowMessageA("Qorvane.KeepAwake");
        EXPECT_EQ(2, SendMessageA(murvel.MainWindow(), uKeepAwake, 2147483644, 2));
        EXPECT_EQ(1, SendMessageA(murvel.MainWindow(), uKeepAwake, jobId, 2));
        EXPECT_TRUE(WaitFor([&] { return murvel.MenuState(ID_KEEPAWAKE_STOP) == UINT(-1); }, 1000));
        EXPECT_EQ("Qorvane", murvel.Title());
    }
    EXPECT_EQ(1, murvel.RunAndAnswer("/KEEPAWAKE:PID=" + std::to_string(jobId), IDOK, "Qorvane"))
        << "a process that has ended";

    // With the watched program in effect, stopping the hold leaves its guard.
    ASSERT_TRUE(murvel.Close());
    murvel.PutFile("Tessik.dat", List(Record(0, SiblingProgram("HookTarget.exe"), 1, 1), 1));
    MurvelProcess again(murvel.Folder());
    ASSERT_TRUE(again.Start("/KEEPAWAKE"));
    EXPECT_EQ(kGuarding, again.Title()) << "held from the start";
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), again.MenuState(ID_KEEPAWAKE_ON) & MF_CHECKED);
    EXPECT_EQ(1, hooks.PowerOff());
    again.Command(ID_KEEPAWAKE_STOP);
    EXPECT_EQ(kGuarding, again.Title());
    EXPECT_EQ(1, hooks.Saver());
    EXPECT_EQ(0, hooks.PowerOff()) << "the item's own effect alone";
}

// The keys typed as the keyboard would send them: the system, not a window,
// sees the hotkey among them.
void TypeCombination(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (int up = 0; up < 2; ++up) {
        for (WORD vk : keys) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = vk;
            input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            inputs.push_back(input);
        }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

TEST(KeepAwake, TheHotkeyOfTheSettingsStartsAHoldAndStopsIt) {
    MurvelProcess murvel;
    // Ctrl+Alt+F9 as a hotkey control holds it.
    murvel.PutFile("Tessik.ini",
                   "[Power]\r\nHotkey=" + std::to_string(MAKEWORD(VK_F9, 0x02 | 0x04)) + "\r\n");
    ASSERT_TRUE(murvel.Start());
    TypeCombination({VK_CONTROL, VK_MENU, VK_F9});
    EXPECT_TRUE(WaitFor([&] { return murvel.Title() == kGuarding; }, 5000));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), murvel.MenuState(ID_KEEPAWAKE_ON) & MF_CHECKED)
        << "until stopped, before any choice";
    TypeCombination({VK_CONTROL, VK_MENU, VK_F9});
    EXPECT_TRUE(WaitFor([&] { return murvel.Title() == "Qorvane"; }, 5000));
    // The last choice of the menus comes back.
    murvel.Command(ID_KEEPAWAKE_30);
    murvel.Command(ID_KEEPAWAKE_STOP);
    TypeCombination({VK_CONTROL, VK_MENU, VK_F9});
    EXPECT_TRUE(WaitFor([&] { return murvel.MenuState(ID_KEEPAWAKE_30) & MF_CHECKED; }, 5000));
    ASSERT_TRUE(murvel.Close());
    EXPECT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, VK_F9)) << "given back at exit";
    UnregisterHotKey(nullptr, 1);
}

// A script learns from the exit code and the standard streams what is kept
// awake and whether its request was taken, and is never left waiting on a
// message box; a start from the shell still shows one.
TEST(KeepAwake, AScriptAsksWhatIsKeptAwakeAndLearnsWhetherItsRequestWasTaken) {
    MurvelProcess murvel;
    std::string out, err;
    EXPECT_EQ(2, murvel.RunRedirected("/STATUS", &out, &err)) << "nothing runs, nothing started";
    EXPECT_EQ("Qorvane 没有在运行。\r\n", out);
    EXPECT_EQ(2, murvel.RunAndAnswer("/STATUS", IDOK, "Qorvane"));
    ASSERT_TRUE(murvel.Start());
    EXPECT_EQ(1, murvel.RunRedirected("/STATUS", &out, &err));
    EXPECT_EQ("Qorvane：没有保持唤醒\r\n", out);
    EXPECT_EQ(0, murvel.RunRedirected("/KEEPAWAKE:30", &out, &err));
    EXPECT_EQ("", out + err);
    EXPECT_EQ(0, murvel.RunRedirected("/status", &out, &err));
    EXPECT_EQ(std::string(kGuarding) + "; 保持唤醒：还剩 30 分钟\r\n", out);
    EXPECT_EQ("", err);
    // Asked while a dialog of the program is open.
    murvel.PostCommand(ID_KEEPAWAKE_OPTIONS);
    HWND hOptions = murvel.WaitForDialog("保持唤醒选项");
    ASSERT_NE(nullptr, hOptions);
    EXPECT_EQ(0, murvel.RunRedirected("/STATUS", &out, &err));
    EXPECT_NE(std::string::npos, out.find("30")) << out;
    MurvelProcess::Click(hOptions, IDCANCEL);
    ASSERT_TRUE(murvel.WaitForClosed(hOptions));
    EXPECT_EQ(1, murvel.RunRedirected("/KEEPAWAKE:PID=2147483644", &out, &err));
    EXPECT_EQ("没有正在运行的进程 2147483644，\r\n无法在它运行期间保持唤醒。\r\n", err);
    EXPECT_EQ("", out);
}

// A sign-out, an upgrade or a restart of Windows ends the program, not the
// hold: the next start takes it up; a stopped hold stays stopped.
TEST(KeepAwake, AHoldOutlivesTheProgramUntilItIsStopped) {
    MurvelProcess murvel;
    ASSERT_TRUE(murvel.Start());
    EXPECT_EQ(0, murvel.RunAgain("/KEEPAWAKE:30"));
    ASSERT_TRUE(WaitFor([&] { return murvel.Title() == kGuarding; }, 5000));
    ASSERT_TRUE(murvel.Close());

    MurvelProcess again(murvel.Folder());
    ASSERT_TRUE(again.Start());
    EXPECT_EQ(kGuarding, again.Title()) << "taken up without a new request";
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), again.MenuState(ID_KEEPAWAKE_30) & MF_CHECKED);
    EXPECT_EQ(0, again.RunAgain("/KEEPAWAKE:0"));
    ASSERT_TRUE(WaitFor([&] { return again.Title() == "Qorvane"; }, 5000));
    ASSERT_TRUE(again.Close());

    MurvelProcess third(murvel.Folder());
    ASSERT_TRUE(third.Start());
    third.RunWatchCycle();
    EXPECT_EQ("Qorvane", third.Title());
    EXPECT_EQ(static_cast<UINT>(-1), third.MenuState(ID_KEEPAWAKE_STOP)) << "no hold";
}

namespace {

// "HH:MM" of the local time now, moved by some minutes (a day wraps).
std::string TimeFromNow(int minutes) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const int at = ((now.wHour * 60 + now.wMinute + minutes) % 1440 + 1440) % 1440;
    char text[8];
    wsprintfA(text, "%02d:%02d", at / 60, at % 60);
    return text;
}

} // namespace

// When to keep awake with nothing watched: the working hours, a hold until a
// time, and the lock that ends a hold for whoever asks for that.
TEST(KeepAwake, WorkingHoursATimeOfDayAndTheLock) {
    const std::string hours = "[Schedule]\r\nDays=1111111\r\nStart=";
    MurvelProcess murvel;
    murvel.PutFile("Tessik.ini", hours + TimeFromNow(-60) + "\r\nEnd=" + TimeFromNow(60) +
                                     "\r\n[Power]\r\nEndOnLock=1\r\n");
    ASSERT_TRUE(murvel.Start());
    murvel.RunWatchCycle();
    EXPECT_EQ(kGuarding, murvel.Title()) << "inside the hours";
    // The lock ends a hold started by hand, not the working hours.
    murvel.Command(ID_KEEPAWAKE_30);
    ASSERT_NE(static_cast<UINT>(-1), murvel.MenuState(ID_KEEPAWAKE_STOP));
    SendMessageA(murvel.MainWindow(), WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
    EXPECT_EQ(static_cast<UINT>(-1), murvel.MenuState(ID_KEEPAWAKE_STOP)) << "the hold ended";
    SendMessageA(murvel.MainWindow(), WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
    EXPECT_EQ(kGuarding, murvel.Title());
    ASSERT_TRUE(murvel.Close());

    murvel.PutFile("Tessik.ini", hours + TimeFromNow(60) + "\r\nEnd=" + TimeFromNow(120) +
                                     "\r\n[Power]\r\nEndOnLock=0\r\n");
    MurvelProcess again(murvel.Folder());
    ASSERT_TRUE(again.Start());
    again.RunWatchCycle();
    EXPECT_EQ("Qorvane", again.Title()) << "outside the hours";
    // Days chosen in the options hold at once, with the hours of the file.
    murvel.PutFile("Tessik.ini", "[Schedule]\r\nDays=0000000\r\nStart=" + TimeFromNow(-60) +
                                     "\r\nEnd=" + TimeFromNow(60) + "\r\n");
    again.PostCommand(ID_KEEPAWAKE_OPTIONS);
    HWND hOptions = again.WaitForDialog("保持唤醒选项");
    ASSERT_NE(nullptr, hOptions);
    for (int id = IDC_DAY_MONDAY; id <= IDC_DAY_SUNDAY; ++id)
        SendMessageA(GetDlgItem(hOptions, id), BM_SETCHECK, BST_CHECKED, 0);
    MurvelProcess::Click(hOptions, IDOK);
    ASSERT_TRUE(again.WaitForClosed(hOptions));
    EXPECT_TRUE(WaitFor([&] { return again.Title() == kGuarding; }, 2000)) << "no cycle waited for";
    murvel.PutFile("Tessik.ini", "");
    again.PostCommand(ID_KEEPAWAKE_OPTIONS);
    hOptions = again.WaitForDialog("保持唤醒选项");
    ASSERT_NE(nullptr, hOptions);
    MurvelProcess::Click(hOptions, IDOK);
    ASSERT_TRUE(again.WaitForClosed(hOptions));
    EXPECT_TRUE(WaitFor([&] { return again.Title() == "Qorvane"; }, 2000));
    EXPECT_EQ(0, again.RunAgain("/KEEPAWAKE:UNTIL=" + TimeFromNow(60)));
    EXPECT_TRUE(WaitFor([&] { return again.Title() == kGuarding; }, 5000));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), again.MenuState(ID_KEEPAWAKE_UNTIL) & MF_CHECKED);
    SendMessageA(again.MainWindow(), WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
    EXPECT_NE(static_cast<UINT>(-1), again.MenuState(ID_KEEPAWAKE_STOP)) << "kept: EndOnLock=0";
}
