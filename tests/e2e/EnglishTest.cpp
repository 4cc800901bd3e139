// The English interface of the real program: chosen by the program itself on
// an English system (tools/english-test.sh), asked for by the settings file on
// the Chinese system of the other tests.
#include "HookTargetProcess.h"
#include "MurvelProcess.h"
#include "TestPaths.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

BOOL CALLBACK AddText(HWND hWnd, LPARAM lParam) {
    char text[512] = "";
    GetWindowTextA(hWnd, text, sizeof text);
    *reinterpret_cast<std::string*>(lParam) += Utf8(text) + "\n";
    return TRUE;
}

// The texts of a window and its controls, one a line.
std::string AllTexts(HWND hWnd) {
    std::string texts;
    AddText(hWnd, reinterpret_cast<LPARAM>(&texts));
    EnumChildWindows(hWnd, AddText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

} // namespace

TEST(English, WindowMenusDialogAndQuestionsSpeakEnglish) {
    HookTargetProcess helper;
    ASSERT_NE(nullptr, helper.Window());
    MurvelProcess murvel;
    murvel.PutFile("Tessik.dat", "[Main]\r\nCount=1\r\n[Record_0]\r\nFileName=" +
                                     SiblingProgram("HookTarget.exe") +
                                     "\r\nTitle=helper\r\nValidCondition=1\r\nMonitorEffec=3\r\n");
    if (const char* acp = std::getenv("QV_EXPECT_ACP")) {
        ASSERT_EQ(static_cast<UINT>(std::atoi(acp)), GetACP()) << "another system";
    }
    if (GetACP() == 936)
        murvel.PutFile("Tessik.ini", "[Config]\r\nLanguage=en\r\n");
    ASSERT_TRUE(murvel.Start());
    murvel.RunWatchCycle();
    EXPECT_EQ("Qorvane (guarding...)", murvel.Title());
    const char* headings[] = {"Alias", "Program file", "In effect", "Effect"};
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(headings[n], murvel.HeadingText(n));
    EXPECT_EQ("While running", murvel.CellText(0, 2));
    EXPECT_EQ("Prevent both", murvel.CellText(0, 3));
    EXPECT_EQ("Watch &properties", murvel.MenuText(ID_WATCH_PROPERTIES));
    std::string first;
    int defaultItem = -1;
    ASSERT_TRUE(murvel.OpenTrayMenu(&first, &defaultItem));
    EXPECT_EQ("&Hide window", first);
    EXPECT_EQ(std::string::npos, AllTexts(murvel.MainWindow()).find('?'))
        << AllTexts(murvel.MainWindow());
    EXPECT_TRUE(murvel.ButtonsWholeAtMinimumSize());

    murvel.SelectRow(0);
    murvel.PostCommand(ID_WATCH_PROPERTIES);
    HWND hProps = murvel.WaitForDialog("Watch Item Properties");
    ASSERT_NE(nullptr, hProps);
    const std::string texts = AllTexts(hProps);
    EXPECT_NE(std::string::npos, texts.find("\nOnly in foreground\n")) << texts;
    EXPECT_EQ(std::string::npos, texts.find('?')) << texts;
    MurvelProcess::Click(hProps, IDCANCEL);
    ASSERT_TRUE(murvel.WaitForClosed(hProps));

    murvel.PostCommand(ID_DELETE_WATCH);
    HWND hBox = murvel.WaitForDialog("Confirm Deletion");
    ASSERT_NE(nullptr, hBox);
    EXPECT_NE(std::string::npos,
              AllTexts(hBox).find("Once deleted, the watch item cannot be restored.\n"
                                  "Do you really want to stop watching \"helper\"?"))
        << AllTexts(hBox);
    MurvelProcess::Click(hBox, IDNO);
    ASSERT_TRUE(murvel.WaitForClosed(hBox));

    // The uninstall asks in English too (and keeps the files on No).
    EXPECT_EQ(0, murvel.RunAndAnswer("/UNINSTALL", IDNO, "Uninstall"));
}

// Paths that the ANSI code page cannot hold: a Chinese folder under code page
// 1252 (tools/english-test.sh), and on any system a Hindi one.
namespace {

const wchar_t kForeignName[] = L"\x7a0b\x5e8f \x0939\x093f\x0928\x094d\x0926\x0940";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

bool WideExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int WideProfileInt(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
    return static_cast<int>(GetPrivateProfileIntW(section, key, -1, path.c_str()));
}

std::wstring UserAppData() {
    wchar_t appData[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    return appData;
}

std::wstring RunValue() {
    wchar_t data[1024] = L"";
    DWORD size = sizeof data;
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return L"";
    RegQueryValueExW(hKey, L"Velatrix", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(hKey);
    return data;
}

// The user's application data folder moved for the test's life, as a user
// whose profile folder has such a name has it.
class MovedAppData {
public:
    explicit MovedAppData(const std::wstring& folder) {
        RegCreateKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &m_hKey, nullptr);
        DWORD size = sizeof m_old;
        m_bHadOld = RegQueryValueExW(m_hKey, L"AppData", nullptr, &m_type,
                                     reinterpret_cast<BYTE*>(m_old), &size) == ERROR_SUCCESS;
        RegSetValueExW(m_hKey, L"AppData", 0, REG_EXPAND_SZ,
                       reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    }
    MovedAppData(const MovedAppData&) = delete;
    MovedAppData& operator=(const MovedAppData&) = delete;
    ~MovedAppData() {
        if (m_bHadOld)
            RegSetValueExW(m_hKey, L"AppData", 0, m_type, reinterpret_cast<const BYTE*>(m_old),
                           static_cast<DWORD>((wcslen(m_old) + 1) * sizeof(wchar_t)));
        else
            RegDeleteValueW(m_hKey, L"AppData");
        RegCloseKey(m_hKey);
    }

private:
    HKEY m_hKey = nullptr;
    bool m_bHadOld = false;
    DWORD m_type = REG_EXPAND_SZ;
    wchar_t m_old[MAX_PATH] = L"";
};

struct OwnedSearch {
    HWND hOwner;
    HWND hFound;
};

BOOL CALLBACK MatchOwned(HWND hWnd, LPARAM lParam) {
    OwnedSearch* search = reinterpret_cast<OwnedSearch*>(lParam);
    if (GetWindow(hWnd, GW_OWNER) != search->hOwner || !IsWindowVisible(hWnd))
        return TRUE;
    search->hFound = hWnd;
    return FALSE;
}

// A shown window that hOwner owns (a message box over a dialog), or null.
HWND OwnedWindow(HWND hOwner) {
    OwnedSearch search = {hOwner, nullptr};
    EnumWindows(MatchOwned, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

const char kOneTool[] =
    "[Main]\r\nCount=1\r\n[Record_0]\r\nFileName=C:\\Tools\\one.exe\r\nTitle=one\r\n";

} // namespace

TEST(English, ProgramFolderTheCodePageCannotHoldKeepsTheFilesBesideIt) {
    const std::wstring userList = UserAppData() + L"\\Qorvane\\Tessik.dat";
    DeleteFileW(userList.c_str());
    MurvelProcess murvel{std::wstring(kForeignName)};
    ASSERT_TRUE(murvel.PutFile("Tessik.dat", kOneTool));
    ASSERT_TRUE(murvel.Start());
    EXPECT_EQ(1, murvel.RowCount()) << "the list beside the program is loaded";
    murvel.Command(ID_TOGGLE_TRAY_ICON); // a change of the settings
    murvel.Command(ID_TOGGLE_AUTORUN);
    EXPECT_EQ(L"\"" + murvel.WideFile("Murvel.exe") + L"\"", RunValue())
        << Utf8FromWide(RunValue());
    murvel.Command(ID_TOGGLE_AUTORUN);
    EXPECT_EQ(L"", RunValue());
    ASSERT_TRUE(murvel.Close()) << "no save failed, so nothing held the exit up";

    EXPECT_EQ(1, WideProfileInt(murvel.WideFile("Tessik.dat"), L"Main", L"Count"));
    EXPECT_EQ(0, WideProfileInt(murvel.WideFile("Tessik.ini"), L"Config", L"ShowTrayIcon"));
    EXPECT_FALSE(WideExists(userList)) << "nothing moved to the user's folder";
    ASSERT_TRUE(murvel.Start());
    EXPECT_EQ(1, murvel.RowCount());
    EXPECT_FALSE(murvel.HasTrayIcon()) << "the settings came back";
}

// Run by tools/english-test.sh, which prepares a program folder nobody may
// write (QV_READONLY_APP_DIR) with a list of one item beside the program.
TEST(English, UserFolderTheCodePageCannotHoldTakesTheFiles) {
    const char* pszFolder = std::getenv("QV_READONLY_APP_DIR");
    if (!pszFolder || !*pszFolder)
        GTEST_SKIP() << "runs from tools/english-test.sh";
    TempDir base;
    const std::wstring appData = Wide(base.Path()) + L"\\" + kForeignName;
    const std::wstring user = appData + L"\\Qorvane\\";
    {
        MovedAppData moved(appData);
        MurvelProcess murvel{std::string(pszFolder)};
        ASSERT_TRUE(murvel.Start());
        EXPECT_EQ(1, murvel.RowCount()) << "the list found beside the program is carried over";
        murvel.Command(ID_TOGGLE_TRAY_ICON);
        ASSERT_TRUE(murvel.Close()) << "no save failed";
        EXPECT_EQ(1, WideProfileInt(user + L"Tessik.dat", L"Main", L"Count"));
        EXPECT_EQ(0, WideProfileInt(user + L"Tessik.ini", L"Config", L"ShowTrayIcon"));
        ASSERT_TRUE(murvel.Start());
        EXPECT_FALSE(murvel.HasTrayIcon()) << "a second start reads the same settings";
        ASSERT_TRUE(murvel.Close());
    }
    for (const wchar_t* name : {L"Tessik.dat", L"Tessik.ini"})
        DeleteFileW((user + name).c_str());
    RemoveDirectoryW(user.c_str());
    RemoveDirectoryW(appData.c_str());
}

TEST(English, AddRefusesAPathTheCodePageCannotHold) {
    MurvelProcess murvel;
    if (GetACP() == 936)
        murvel.PutFile("Tessik.ini", "[Config]\r\nLanguage=en\r\n");
    ASSERT_TRUE(murvel.Start());
    murvel.PostCommand(ID_ADD_WATCH);
    HWND hAdd = murvel.WaitForDialog("Add Watch Item");
    ASSERT_NE(nullptr, hAdd);
    const std::wstring typed = std::wstring(L"C:\\") + kForeignName + L"\\tool.exe";
    SendMessageW(GetDlgItem(hAdd, IDC_FILE_NAME), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(typed.c_str()));
    MurvelProcess::Click(hAdd, IDOK);
    HWND hBox = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (hBox = OwnedWindow(hAdd)) != nullptr; }));
    std::wstring text;
    for (HWND h = GetWindow(hBox, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        wchar_t part[1024] = L"";
        GetWindowTextW(h, part, 1024);
        text += part;
    }
    EXPECT_NE(std::wstring::npos, text.find(typed)) << "the path as the system spells it";
    EXPECT_NE(std::wstring::npos, text.find(L"code page (" + std::to_wstring(GetACP()) + L")"))
        << Utf8FromWide(text);
    MurvelProcess::Click(hBox, IDOK);
    ASSERT_TRUE(murvel.WaitForClosed(hBox));
    EXPECT_TRUE(IsWindow(hAdd)) << "the dialog stays for another path";
    MurvelProcess::Click(hAdd, IDCANCEL);
    ASSERT_TRUE(murvel.WaitForClosed(hAdd));
    murvel.Sync();
    EXPECT_EQ(0, murvel.RowCount());
    EXPECT_FALSE(WideExists(murvel.WideFile("Tessik.dat"))) << "nothing was stored";
}
