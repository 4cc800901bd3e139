// Where the program keeps its files when its own folder cannot be written,
// and what the user is told when a save fails.
#include "MurvelProcess.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string UserFolder() {
    char appData[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    return std::string(appData) + "\\Qorvane";
}

void ClearUserFolder() {
    DeleteFileA((UserFolder() + "\\Tessik.dat").c_str());
    DeleteFileA((UserFolder() + "\\Tessik.ini").c_str());
    RemoveDirectoryA(UserFolder().c_str());
}

// The longest text among the box's controls: its message.
std::string BoxText(HWND hBox) {
    std::string longest;
    for (HWND h = GetWindow(hBox, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        char text[1024] = "";
        SendMessageA(h, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        if (strlen(text) > longest.size())
            longest = text;
    }
    return longest;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

// Run by tools/readonly-folder-test.sh, which prepares a program folder that
// nobody may write (not even root: the folder is immutable) and names it in
// QV_READONLY_APP_DIR; elsewhere there is no such folder to test with.
TEST(DataFolder, ReadOnlyProgramFolderKeepsChangesInTheUserFolder) {
    const char* pszFolder = std::getenv("QV_READONLY_APP_DIR");
    if (!pszFolder || !*pszFolder)
        GTEST_SKIP() << "runs from tools/readonly-folder-test.sh";
    ClearUserFolder();
    const std::string user = UserFolder();
    {
        MurvelProcess murvel(pszFolder);
        ASSERT_TRUE(murvel.Start());
        EXPECT_EQ(1, murvel.RowCount()) << "the list found beside the program is carried over";
        murvel.Command(32779); // the icon off: a change of the settings
        ASSERT_TRUE(murvel.Close()) << "no save failed, so nothing held the exit up";
    }
    EXPECT_EQ(1, static_cast<int>(
                     GetPrivateProfileIntA("Main", "Count", -1, (user + "\\Tessik.dat").c_str())));
    EXPECT_EQ(0, static_cast<int>(GetPrivateProfileIntA("Config", "ShowTrayIcon", -1,
                                                        (user + "\\Tessik.ini").c_str())));
    {
        MurvelProcess again(pszFolder);
        ASSERT_TRUE(again.Start());
        EXPECT_FALSE(again.HasTrayIcon()) << "the change survived the restart";
        ASSERT_TRUE(again.Close());
    }
    MurvelProcess uninstall(pszFolder);
    EXPECT_EQ(0, uninstall.RunAndAnswer("/UNINSTALL", IDYES));
    EXPECT_FALSE(Exists(user + "\\Tessik.dat"));
    EXPECT_FALSE(Exists(user + "\\Tessik.ini"));
    ClearUserFolder();
}

// Every edit whose save fails is told of, also after a log-off that another
// program cancelled; the exit's saves of both files are told of once.
TEST(DataFolder, EveryFailedSaveOfAnEditIsToldAndTheExitsOnce) {
    MurvelProcess murvel;
    ASSERT_TRUE(murvel.PutFile("Tessik.dat", "[Main]\r\nCount=2\r\n"
                                             "[Record_0]\r\nFileName=C:\\a.exe\r\nTitle=a\r\n"
                                             "[Record_1]\r\nFileName=C:\\b.exe\r\nTitle=b\r\n"));
    ASSERT_TRUE(SetFileAttributesA(murvel.File("Tessik.dat").c_str(), FILE_ATTRIBUTE_READONLY));
    // The settings cannot be written either: their name is taken by a folder.
    ASSERT_TRUE(CreateDirectoryA(murvel.File("Tessik.ini").c_str(), nullptr));
    ASSERT_TRUE(murvel.Start());
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(murvel.MainWindow(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &answer);
    EXPECT_EQ(static_cast<DWORD_PTR>(TRUE), answer) << "saved without a question";
    SendMessageTimeoutA(murvel.MainWindow(), WM_ENDSESSION, FALSE, 0, SMTO_NORMAL, 10000, &answer);
    for (int row = 0; row < 2; ++row) {
        SCOPED_TRACE(row);
        murvel.SelectRow(0);
        murvel.PostCommand(32776);
        HWND hAsk = murvel.WaitForDialog("确认删除");
        ASSERT_NE(nullptr, hAsk);
        MurvelProcess::Click(hAsk, IDYES);
        HWND hBox = murvel.WaitForDialog("Qorvane");
        ASSERT_NE(nullptr, hBox) << "the user is told";
        EXPECT_NE(std::string::npos, BoxText(hBox).find("Tessik.dat")) << Utf8(BoxText(hBox));
        MurvelProcess::Click(hBox, IDOK);
        ASSERT_TRUE(murvel.WaitForClosed(hBox));
    }
    PostMessageA(murvel.MainWindow(), WM_CLOSE, 0, 0);
    HWND hBox = murvel.WaitForDialog("Qorvane");
    ASSERT_NE(nullptr, hBox);
    MurvelProcess::Click(hBox, IDOK);
    EXPECT_TRUE(WaitFor([&] { return murvel.HasExited(); }, 10000)) << "one box, not two";
    SetFileAttributesA(murvel.File("Tessik.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The folder is chosen once, at the start: a probe that would fail later
// (a virus scanner holding the folder for a moment) sends no save elsewhere.
TEST(DataFolder, TheFolderChosenAtTheStartIsKeptForTheRun) {
    ClearUserFolder();
    MurvelProcess murvel;
    ASSERT_TRUE(murvel.Start());
    const std::string probe = murvel.File("Tessik.probe-") + std::to_string(murvel.ProcessId());
    ASSERT_TRUE(CreateDirectoryA(probe.c_str(), nullptr)) << "the name a probe takes";
    murvel.PostCommand(32782);
    HWND hDlg = murvel.WaitForDialog("静区黑屏缺省设置");
    ASSERT_NE(nullptr, hDlg);
    SetDlgItemTextA(hDlg, 1024, "42");
    MurvelProcess::Click(hDlg, IDOK);
    ASSERT_TRUE(murvel.WaitForClosed(hDlg));
    EXPECT_EQ(42u,
              GetPrivateProfileIntA("AreaBlack", "WaitTime", 0, murvel.File("Tessik.ini").c_str()));
    EXPECT_FALSE(Exists(UserFolder() + "\\Tessik.ini"));
    ASSERT_TRUE(murvel.Close());
    RemoveDirectoryA(probe.c_str());
    ClearUserFolder();
}
