// The main window and the notification-area icon as a user meets them, on the
// real program in a folder of its own.
#include "MurvelProcess.h"

#include "TestPaths.h"

#include <gtest/gtest.h>

#include <sddl.h>
#include <shellapi.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

const char kThreeItems[] = "[Main]\r\nCount=3\r\n"
                           "[Record_0]\r\nFileName=C:\\Apps\\播放器.exe\r\nTitle=播放器\r\n"
                           "ValidCondition=1\r\nMonitorEffec=3\r\n"
                           "[Record_1]\r\nFileName=C:\\Games\\game.exe\r\nTitle=游戏\r\n"
                           "ValidCondition=2\r\nMonitorEffec=1\r\n"
                           "[Record_2]\r\nFileName=present.exe\r\nTitle=演示\r\n"
                           "ValidCondition=0\r\nMonitorEffec=2\r\n";

int IniInt(const MurvelProcess& murvel, const char* section, const char* key) {
    return static_cast<int>(
        GetPrivateProfileIntA(section, key, -12345, murvel.File("Tessik.ini").c_str()));
}

bool Visible(const MurvelProcess& murvel) {
    return WaitFor([&] { return murvel.IsVisible(); }, 5000);
}

RECT PrimaryWorkArea() {
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

void ExpectCentred(const RECT& r) {
    RECT work = PrimaryWorkArea();
    EXPECT_NEAR((work.left + work.right) / 2, (r.left + r.right) / 2, 1);
    EXPECT_NEAR((work.top + work.bottom) / 2, (r.top + r.bottom) / 2, 1);
}

// A notification area that is not ready yet, as at logon: a "Shell_TrayWnd"
// above the shell's own, on a thread of this process, that refuses every icon
// until it goes.
class RefusingTray {
public:
    RefusingTray() : m_thread([this] { Run(); }) {
        WaitFor([&] { return m_threadId.load() != 0; });
    }
    RefusingTray(const RefusingTray&) = delete;
    RefusingTray& operator=(const RefusingTray&) = delete;
    ~RefusingTray() { Remove(); }
    void Remove() {
        if (m_thread.joinable()) {
            PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
            m_thread.join();
        }
    }

private:
    static LRESULT CALLBACK Refuse(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return message == WM_COPYDATA ? FALSE : DefWindowProcA(hwnd, message, wParam, lParam);
    }
    void Run() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Refuse;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "Shell_TrayWnd";
        RegisterClassA(&wc);
        HWND hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "",
                                    WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        m_threadId = GetCurrentThreadId();
        while (GetMessageA(&msg, nullptr, 0, 0) > 0)
            DispatchMessageA(&msg);
        DestroyWindow(hwnd);
        UnregisterClassA(wc.lpszClassName, wc.hInstance);
    }

    std::atomic<DWORD> m_threadId{0};
    std::thread m_thread;
};

} // namespace

TEST(MainWindow, FirstStartShowsTheDefaultsAndWritesBothFiles) {
    MurvelProcess murvel;
    // What setup set aside while it was in use goes at the next start.
    const char* const setAside[] = {"TessikDLL.dll.42.old", "Murvel.exe.43.old"};
    for (const char* name : setAside)
        murvel.PutFile(name, "old");
    murvel.PutFile("notes.old", "the user's");
    ASSERT_TRUE(murvel.Start());
    ASSERT_TRUE(Visible(murvel));
    EXPECT_EQ("Qorvane", murvel.Title());
    for (const char* name : setAside)
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(murvel.File(name).c_str())) << name;
    EXPECT_EQ("the user's", ReadWholeFile(murvel.File("notes.old")));

    // With no saved position the template's size is centred.
    RECT r = murvel.WindowRect();
    ExpectCentred(r);

    // Each column shows its longest text whole (the alias giving up some of
    // its design width for that), and the file names take the rest of the
    // list's width (room left for a scroll bar).
    const char* headings[] = {"应用程序别名", "应用程序执行文件名", "有效条件", "监视效果"};
    const char* longest[] = {"应用程序别名", "应用程序执行文件名", "永远无效(禁止)",
                             "防止屏保和关显示器，防睡眠"};
    const int least[] = {0, 0, 70, 70};
    int widths[4], total = 0;
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(headings[n], murvel.HeadingText(n));
        widths[n] = murvel.ColumnWidth(n);
        total += widths[n];
        EXPECT_GE(widths[n], least[n]) << n;
        EXPECT_GT(widths[n], murvel.StringWidth(longest[n]) + 8) << n;
    }
    RECT list;
    GetClientRect(GetDlgItem(murvel.MainWindow(), 1000), &list);
    EXPECT_EQ(list.right - GetSystemMetrics(SM_CXVSCROLL), total);
    EXPECT_EQ(0, murvel.RowCount());
    EXPECT_TRUE(murvel.HasTrayIcon());
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), murvel.MenuState(32776) & MF_GRAYED);
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), murvel.MenuState(32777) & MF_GRAYED);
    EXPECT_EQ(0u, murvel.MenuState(32774) & MF_GRAYED);
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), murvel.MenuState(32779) & MF_CHECKED);
    EXPECT_FALSE(murvel.IsControlEnabled(1002));
    EXPECT_FALSE(murvel.IsControlEnabled(1003));
    EXPECT_TRUE(murvel.IsControlEnabled(1001));
    EXPECT_TRUE(murvel.IsControlEnabled(1013));

    // Enter and Esc do nothing; the close button ends the program.
    PostMessageA(murvel.MainWindow(), WM_COMMAND, IDOK, 0);
    PostMessageA(murvel.MainWindow(), WM_COMMAND, IDCANCEL, 0);
    murvel.Sync();
    EXPECT_FALSE(murvel.HasExited());
    ASSERT_TRUE(murvel.Close());

    EXPECT_EQ(-12345, IniInt(murvel, "Main", "Count")) << "the list has a file of its own";
    EXPECT_EQ(0, static_cast<int>(GetPrivateProfileIntA("Main", "Count", -1,
                                                        murvel.File("Tessik.dat").c_str())));
    const char* keys[] = {"Col0", "Col1", "Col2", "Col3"};
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(widths[n], IniInt(murvel, "Dialog", keys[n]));
    EXPECT_EQ(r.left, IniInt(murvel, "Dialog", "Left"));
    EXPECT_EQ(r.top, IniInt(murvel, "Dialog", "Top"));
    EXPECT_EQ(r.right - r.left, IniInt(murvel, "Dialog", "Width"));
    EXPECT_EQ(r.bottom - r.top, IniInt(murvel, "Dialog", "Height"));
    EXPECT_EQ(1, IniInt(murvel, "Dialog", "Visible"));
    EXPECT_EQ(1, IniInt(murvel, "Config", "ShowTrayIcon"));
}

TEST(MainWindow, PreparedFilesRestoreRowsPlacementAndColumns) {
    MurvelProcess murvel;
    murvel.PutFile("Tessik.dat", kThreeItems);
    murvel.PutFile("Tessik.ini", "[Dialog]\r\nCol0=120\r\nCol1=200\r\nCol2=80\r\nCol3=90\r\n"
                                 "Left=40\r\nTop=30\r\nWidth=600\r\nHeight=300\r\n");
    ASSERT_TRUE(murvel.Start());
    ASSERT_TRUE(Visible(murvel));

    const char* expected[3][4] = {
        {"播放器", "C:\\Apps\\播放器.exe", "运行就有效", "防止屏保和关显示器"},
        {"游戏", "C:\\Games\\game.exe", "前台才有效", "防止屏保"},
        {"演示", "present.exe", "永远无效(禁止)", "防止关显示器"},
    };
    ASSERT_EQ(3, murvel.RowCount());
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(expected[row][column], murvel.CellText(row, column)) << row << "," << column;

    RECT r = murvel.WindowRect();
    EXPECT_EQ(40, r.left);
    EXPECT_EQ(30, r.top);
    EXPECT_EQ(600, r.right - r.left);
    EXPECT_EQ(300, r.bottom - r.top);
    EXPECT_EQ(120, murvel.ColumnWidth(0));
    EXPECT_EQ(200, murvel.ColumnWidth(1));
    EXPECT_EQ(80, murvel.ColumnWidth(2));
    EXPECT_EQ(90, murvel.ColumnWidth(3));
}

// A damaged settings file must not collapse a column to nothing or stretch it
// out of sight: such widths count as none.
TEST(MainWindow, DamagedColumnWidthsFallBackToTheDefaults) {
    const std::string place = "Left=40\r\nTop=30\r\nWidth=600\r\nHeight=300\r\n";
    int defaults[4] = {};
    {
        MurvelProcess fresh;
        fresh.PutFile("Tessik.ini", "[Dialog]\r\n" + place);
        ASSERT_TRUE(fresh.Start());
        for (int n = 0; n < 4; ++n)
            defaults[n] = fresh.ColumnWidth(n);
        ASSERT_TRUE(fresh.Close());
    }
    MurvelProcess damaged;
    damaged.PutFile("Tessik.ini",
                    "[Dialog]\r\nCol0=-50\r\nCol1=abc\r\nCol2=3\r\nCol3=65636\r\n" + place);
    ASSERT_TRUE(damaged.Start());
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(defaults[n], damaged.ColumnWidth(n)) << n;
}

TEST(MainWindow, HiddenStartNeverShowsAndNoIconWhenTurnedOff) {
    MurvelProcess murvel;
    murvel.PutFile("Tessik.ini", "[Dialog]\r\nVisible=0\r\n[Config]\r\nShowTrayIcon=0\r\n");
    ASSERT_TRUE(murvel.Start());
    // Watch through the first idle moments, when the dialog manager shows it.
    DWORD start = GetTickCount();
    bool everShown = false;
    while (GetTickCount() - start < 1500) {
        everShown = everShown || murvel.IsVisible();
        Sleep(5);
    }
    EXPECT_FALSE(everShown);
    EXPECT_FALSE(murvel.HasTrayIcon());
    EXPECT_EQ(0u, murvel.MenuState(32779) & MF_CHECKED);

    // A second start's hand-over command brings it back.
    murvel.Command(32781);
    EXPECT_TRUE(Visible(murvel));
}

TEST(MainWindow, MinimiseHidesAndTheRestoredRectangleIsSaved) {
    MurvelProcess murvel;
    murvel.PutFile("Tessik.ini", "[Dialog]\r\nLeft=50\r\nTop=60\r\nWidth=560\r\nHeight=260\r\n");
    ASSERT_TRUE(murvel.Start());
    ASSERT_TRUE(Visible(murvel));
    PostMessageA(murvel.MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitFor([&] { return !murvel.IsVisible(); }, 5000));
    ASSERT_TRUE(murvel.Close());
    EXPECT_EQ(0, IniInt(murvel, "Dialog", "Visible"));
    EXPECT_EQ(50, IniInt(murvel, "Dialog", "Left"));
    EXPECT_EQ(60, IniInt(murvel, "Dialog", "Top"));
    EXPECT_EQ(560, IniInt(murvel, "Dialog", "Width"));
    EXPECT_EQ(260, IniInt(murvel, "Dialog", "Height"));

    // Without the icon a hidden window would be out of reach: it stays
    // minimised on the taskbar.
    MurvelProcess noIcon;
    noIcon.PutFile("Tessik.ini", "[Config]\r\nShowTrayIcon=0\r\n");
    ASSERT_TRUE(noIcon.Start());
    ASSERT_TRUE(Visible(noIcon));
    PostMessageA(noIcon.MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitFor([&] { return IsIconic(noIcon.MainWindow()) != FALSE; }, 5000));
    noIcon.Sync();
    EXPECT_TRUE(noIcon.IsVisible());
    ASSERT_TRUE(noIcon.Close());
    EXPECT_EQ(1, IniInt(noIcon, "Dialog", "Visible"));
}

TEST(MainWindow, TrayMenuAndIconToggle) {
    MurvelProcess murvel;
    ASSERT_TRUE(murvel.Start());
    ASSERT_TRUE(Visible(murvel));
    std::string first;
    int defaultItem = -2;
    ASSERT_TRUE(murvel.OpenTrayMenu(&first, &defaultItem));
    EXPECT_EQ("隐藏窗口(&H)", first);
    EXPECT_EQ(0, defaultItem);

    murvel.Command(32771); // the first item: hide
    EXPECT_TRUE(WaitFor([&] { return !murvel.IsVisible(); }, 5000));
    ASSERT_TRUE(murvel.OpenTrayMenu(&first, &defaultItem));
    EXPECT_EQ("显示窗口(&S)", first);
    EXPECT_EQ(0, defaultItem);

    // A double-click on the icon toggles the window back.
    PostMessageA(murvel.TrayWindow(), WM_USER + 122, 0, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Visible(murvel));

    murvel.Command(32779);
    EXPECT_FALSE(murvel.HasTrayIcon());
    EXPECT_EQ(0u, murvel.MenuState(32779) & MF_CHECKED);
    murvel.Command(32779);
    EXPECT_TRUE(murvel.HasTrayIcon());
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), murvel.MenuState(32779) & MF_CHECKED);
    ASSERT_TRUE(murvel.Close());
    EXPECT_EQ(1, IniInt(murvel, "Config", "ShowTrayIcon"));
}

TEST(MainWindow, MinimumSizeAndGrip) {
    MurvelProcess murvel;
    ASSERT_TRUE(murvel.Start());
    ASSERT_TRUE(Visible(murvel));
    // The limit comes from the dialog's own layout, in its font: no smaller
    // than the old fixed one, and every button whole at it.
    MINMAXINFO info = {};
    SendMessageA(murvel.MainWindow(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_GE(info.ptMinTrackSize.x, 437);
    EXPECT_GE(info.ptMinTrackSize.y, 209);
    EXPECT_TRUE(murvel.ButtonsWholeAtMinimumSize());

    RECT client;
    GetClientRect(murvel.MainWindow(), &client);
    POINT grip = {client.right - 2, client.bottom - 2};
    POINT elsewhere = {client.right / 2, client.bottom / 2};
    ClientToScreen(murvel.MainWindow(), &grip);
    ClientToScreen(murvel.MainWindow(), &elsewhere);
    EXPECT_EQ(HTBOTTOMRIGHT,
              SendMessageA(murvel.MainWindow(), WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)));
    EXPECT_NE(HTBOTTOMRIGHT, SendMessageA(murvel.MainWindow(), WM_NCHITTEST, 0,
                                          MAKELPARAM(elsewhere.x, elsewhere.y)));
}

TEST(MainWindow, PositionOnNoMonitorComesBackCentred) {
    MurvelProcess murvel;
    murvel.PutFile("Tessik.ini",
                   "[Dialog]\r\nLeft=5000\r\nTop=4000\r\nWidth=520\r\nHeight=280\r\n");
    ASSERT_TRUE(murvel.Start());
    ASSERT_TRUE(Visible(murvel));
    RECT r = murvel.WindowRect();
    EXPECT_EQ(520, r.right - r.left);
    EXPECT_EQ(280, r.bottom - r.top);
    ExpectCentred(r);
}

TEST(MainWindow, AnIconTheShellRefusesAtStartIsAddedByALaterTry) {
    RefusingTray notReady;
    MurvelProcess murvel;
    ASSERT_TRUE(murvel.Start());
    EXPECT_FALSE(murvel.HasTrayIcon());
    notReady.Remove();
    EXPECT_TRUE(WaitFor([&] { return murvel.HasTrayIcon(); }, 10000));
}

TEST(MainWindow, IconComesBackWhenTheTaskbarIsRecreated) {
    MurvelProcess murvel;
    ASSERT_TRUE(murvel.Start());
    ASSERT_TRUE(murvel.HasTrayIcon());
    // The shell forgets every icon when it restarts.
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = murvel.TrayWindow();
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
    ASSERT_FALSE(murvel.HasTrayIcon());
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitFor([&] { return murvel.HasTrayIcon(); }, 5000));

    // With the icon turned off, it stays away.
    murvel.Command(32779);
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    murvel.Sync();
    EXPECT_FALSE(murvel.HasTrayIcon());
}

namespace {

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// The data of the Velatrix value under the root's Run key; "-" when absent.
std::string Velatrix(HKEY hRoot) {
    char data[1024] = "";
    DWORD size = sizeof data;
    if (RegGetValueA(hRoot, kRunKey, "Velatrix", RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return "-";
    return data;
}

// The machine-wide Run key as a standard user has it, with a value that an
// administrator put there: readable, not writable. Wine enforces a key's
// access list, also for root.
class AdministratorsRunValue {
public:
    AdministratorsRunValue() {
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, kRunKey, "Velatrix", REG_SZ, "C:\\Old\\Murvel.exe", 18);
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        DWORD size = sizeof m_saved;
        m_applied =
            RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, READ_CONTROL | WRITE_DAC, &m_hKey) ==
                ERROR_SUCCESS &&
            RegGetKeySecurity(m_hKey, DACL_SECURITY_INFORMATION, m_saved, &size) == ERROR_SUCCESS &&
            ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                 &readOnly, nullptr) &&
            RegSetKeySecurity(m_hKey, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
        LocalFree(readOnly);
    }
    AdministratorsRunValue(const AdministratorsRunValue&) = delete;
    AdministratorsRunValue& operator=(const AdministratorsRunValue&) = delete;
    // The key becomes writable again; the value stays.
    ~AdministratorsRunValue() {
        if (m_applied)
            RegSetKeySecurity(m_hKey, DACL_SECURITY_INFORMATION, m_saved);
        RegCloseKey(m_hKey);
    }
    bool Applied() const { return m_applied; }

private:
    HKEY m_hKey = nullptr;
    alignas(void*) BYTE m_saved[4096] = {};
    bool m_applied = false;
};

} // namespace

TEST(MainWindow, AutoRunMarkShowsWhatTheRegistryHolds) {
    MurvelProcess murvel;
    ASSERT_EQ("-", Velatrix(HKEY_CURRENT_USER));
    ASSERT_EQ("-", Velatrix(HKEY_LOCAL_MACHINE));
    {
        AdministratorsRunValue registered;
        ASSERT_TRUE(registered.Applied());
        ASSERT_TRUE(murvel.Start());
        EXPECT_EQ(static_cast<UINT>(MF_CHECKED), murvel.MenuState(32780) & MF_CHECKED);
        murvel.PostCommand(32780);
        HWND hBox = murvel.WaitForDialog("Qorvane");
        ASSERT_NE(nullptr, hBox) << "the user is told why the mark stays";
        EXPECT_NE(0, GetWindowTextLengthA(GetDlgItem(hBox, 0xFFFF)));
        MurvelProcess::Click(hBox, IDOK);
        ASSERT_TRUE(murvel.WaitForClosed(hBox));
        EXPECT_EQ(static_cast<UINT>(MF_CHECKED), murvel.MenuState(32780) & MF_CHECKED);
        EXPECT_EQ("C:\\Old\\Murvel.exe", Velatrix(HKEY_LOCAL_MACHINE));
    }
    // An administrator's own click removes it.
    murvel.Command(32780);
    EXPECT_EQ("-", Velatrix(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(0u, murvel.MenuState(32780) & MF_CHECKED);

    murvel.Command(32780);
    EXPECT_EQ("\"" + murvel.File("Murvel.exe") + "\"", Velatrix(HKEY_CURRENT_USER));
    EXPECT_EQ("-", Velatrix(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), murvel.MenuState(32780) & MF_CHECKED);
    murvel.Command(32780);
    EXPECT_EQ("-", Velatrix(HKEY_CURRENT_USER));
    EXPECT_EQ(0u, murvel.MenuState(32780) & MF_CHECKED);
}
