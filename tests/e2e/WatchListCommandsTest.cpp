// Editing the watch list through the real program's dialogs, driven as a
// user's clicks arrive: commands to the main window, clicks and texts to the
// dialogs' controls, answers to the message boxes. The dialogs' own rules
// (mapping, enabling, number checks) are tested closer in dialogs_tests.
#include "HookTargetProcess.h"
#include "MurvelProcess.h"
#include "ProgramHooks.h"
#include "TestPaths.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const char kAddTitle[] = "新增应用程序监视项";
const char kPropTitle[] = "监视项属性";

int DatInt(const MurvelProcess& murvel, const char* section, const char* key) {
    return static_cast<int>(
        GetPrivateProfileIntA(section, key, -1, murvel.File("Tessik.dat").c_str()));
}

std::string DatString(const MurvelProcess& murvel, const char* section, const char* key) {
    char text[512] = "";
    GetPrivateProfileStringA(section, key, "", text, sizeof text,
                             murvel.File("Tessik.dat").c_str());
    return text;
}

// One radio of a group checked, the others cleared, as a click leaves them.
void CheckRadio(HWND hDlg, int nFirst, int nLast, int nChosen) {
    for (int id = nFirst; id <= nLast; ++id)
        SendMessageA(GetDlgItem(hDlg, id), BM_SETCHECK, id == nChosen ? BST_CHECKED : BST_UNCHECKED,
                     0);
}

std::string EditText(HWND hDlg, int nID) {
    char text[512] = "";
    SendMessageA(GetDlgItem(hDlg, nID), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return Utf8(text);
}

const std::string kTwoItems = "[Main]\r\nCount=2\r\n[Record_0]\r\nFileName=C:\\Tools\\one.exe\r\n"
                              "Title=one\r\n[Record_1]\r\nFileName=C:\\Tools\\two.exe\r\n"
                              "Title=two\r\n";

const std::string kOneItem = "[Main]\r\nCount=1\r\n[Record_0]\r\nFileName=C:\\Tools\\one.exe\r\n"
                             "Title=one\r\nValidCondition=1\r\nMonitorEffec=3\r\n";

} // namespace

TEST(WatchListCommands, AddPicksARunningProgramAndGuardsAtOnce) {
    HookTargetProcess helper;
    ASSERT_NE(nullptr, helper.Window());
    const std::string path = SiblingProgram("HookTarget.exe");
    MurvelProcess murvel;
    ASSERT_TRUE(murvel.Start());

    murvel.PostCommand(IDC_ADD_WATCH);
    HWND hAdd = murvel.WaitForDialog(kAddTitle);
    ASSERT_NE(nullptr, hAdd);
    HWND hList = GetDlgItem(hAdd, IDC_RUNNING_LIST);
    int index = static_cast<int>(SendMessageA(hList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(path.c_str())));
    ASSERT_GE(index, 0) << "the running helper is listed";
    SendMessageA(hList, LB_SETCURSEL, index, 0);
    SendMessageA(hAdd, WM_COMMAND, MAKEWPARAM(IDC_RUNNING_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(hList));
    EXPECT_EQ(path, EditText(hAdd, IDC_FILE_NAME));
    MurvelProcess::Click(hAdd, IDOK);

    HWND hProp = murvel.WaitForDialog(kPropTitle);
    ASSERT_NE(nullptr, hProp);
    EXPECT_EQ("HookTarget", EditText(hProp, IDC_ALIAS)) << "an empty alias shows the file title";
    CheckRadio(hProp, IDC_VALID_NEVER, IDC_VALID_FOREGROUND, IDC_VALID_RUNNING);
    CheckRadio(hProp, IDC_EFFECT_SAVER, IDC_EFFECT_BOTH, IDC_EFFECT_POWER);
    MurvelProcess::Click(hProp, IDOK);
    ASSERT_TRUE(murvel.WaitForClosed(hProp));

    ASSERT_TRUE(WaitFor([&] { return murvel.Title() == "Qorvane (守护中...)"; }, 5000))
        << "a watch cycle runs at once";
    ASSERT_EQ(1, murvel.RowCount());
    EXPECT_EQ("HookTarget", murvel.CellText(0, 0));
    EXPECT_EQ(path, murvel.CellText(0, 1));
    EXPECT_EQ("运行就有效", murvel.CellText(0, 2));
    EXPECT_EQ("防止关显示器", murvel.CellText(0, 3));
    EXPECT_EQ(0, murvel.SelectedRow());
    EXPECT_TRUE(murvel.IsControlEnabled(IDC_DELETE_WATCH));
    EXPECT_EQ(1, DatInt(murvel, "Main", "Count"));
    EXPECT_EQ(path, DatString(murvel, "Record_0", "FileName"));
    EXPECT_EQ(1, DatInt(murvel, "Record_0", "ValidCondition"));
    EXPECT_EQ(2, DatInt(murvel, "Record_0", "MonitorEffec"));
}

TEST(WatchListCommands, CancelAtEitherStepAddsNothing) {
    MurvelProcess murvel;
    ASSERT_TRUE(murvel.Start());
    murvel.PostCommand(ID_ADD_WATCH);
    HWND hAdd = murvel.WaitForDialog(kAddTitle);
    ASSERT_NE(nullptr, hAdd);
    MurvelProcess::Click(hAdd, IDCANCEL);
    ASSERT_TRUE(murvel.WaitForClosed(hAdd));

    murvel.PostCommand(ID_ADD_WATCH);
    hAdd = murvel.WaitForDialog(kAddTitle);
    ASSERT_NE(nullptr, hAdd);
    SendMessageA(GetDlgItem(hAdd, IDC_FILE_NAME), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>("C:\\Tools\\two.exe"));
    MurvelProcess::Click(hAdd, IDOK);
    EXPECT_NE(std::string::npos, murvel.AnswerBox(hAdd, IDYES).find("C:\\Tools\\two.exe"))
        << "no such file: kept all the same";
    HWND hProp = murvel.WaitForDialog(kPropTitle);
    ASSERT_NE(nullptr, hProp);
    MurvelProcess::Click(hProp, IDCANCEL);
    ASSERT_TRUE(murvel.WaitForClosed(hProp));
    murvel.Sync();
    EXPECT_EQ(0, murvel.RowCount());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(murvel.File("Tessik.dat").c_str()))
        << "nothing was saved";
}

TEST(WatchListCommands, PropertiesStoreTheMappedValuesAndRefuseABadWait) {
    MurvelProcess murvel;
    murvel.PutFile("Tessik.dat", kOneItem);
    ASSERT_TRUE(murvel.Start());
    murvel.SelectRow(0);
    murvel.Sync();

    // A wait time beyond 2147483647: the range message, the dialog stays open.
    murvel.PostCommand(ID_WATCH_PROPERTIES);
    HWND hProp = murvel.WaitForDialog(kPropTitle);
    ASSERT_NE(nullptr, hProp);
    CheckRadio(hProp, IDC_BLACK_OFF, IDC_BLACK_OWN, IDC_BLACK_OWN);
    SendMessageA(hProp, WM_COMMAND, MAKEWPARAM(IDC_BLACK_OWN, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hProp, IDC_BLACK_OWN)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hProp, IDC_WAIT_TIME)));
    SendMessageA(GetDlgItem(hProp, IDC_WAIT_TIME), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>("2147483648"));
    MurvelProcess::Click(hProp, IDOK);
    // Under the application's title, as every box of the program.
    HWND hBox = murvel.WaitForDialog("Qorvane");
    ASSERT_NE(nullptr, hBox) << "the framework's range message";
    MurvelProcess::Click(hBox, IDOK);
    ASSERT_TRUE(murvel.WaitForClosed(hBox));
    EXPECT_TRUE(IsWindow(hProp));
    MurvelProcess::Click(hProp, IDCANCEL);
    ASSERT_TRUE(murvel.WaitForClosed(hProp));
    EXPECT_EQ(-1, DatInt(murvel, "Record_0", "AreaBlack")) << "nothing written";

    // Effect and condition radios map to the stored values.
    murvel.PostCommand(ID_WATCH_PROPERTIES);
    hProp = murvel.WaitForDialog(kPropTitle);
    ASSERT_NE(nullptr, hProp);
    EXPECT_EQ("one", EditText(hProp, IDC_ALIAS));
    SendMessageA(GetDlgItem(hProp, IDC_ALIAS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("uno"));
    CheckRadio(hProp, IDC_EFFECT_SAVER, IDC_EFFECT_BOTH, IDC_EFFECT_SAVER);
    CheckRadio(hProp, IDC_VALID_NEVER, IDC_VALID_FOREGROUND, IDC_VALID_NEVER);
    MurvelProcess::Click(hProp, IDOK);
    ASSERT_TRUE(murvel.WaitForClosed(hProp));
    murvel.Sync();
    EXPECT_EQ("uno", murvel.CellText(0, 0));
    EXPECT_EQ("永远无效(禁止)", murvel.CellText(0, 2));
    EXPECT_EQ("防止屏保", murvel.CellText(0, 3));
    EXPECT_EQ(1, DatInt(murvel, "Record_0", "MonitorEffec"));
    EXPECT_EQ(0, DatInt(murvel, "Record_0", "ValidCondition"));
    EXPECT_EQ("uno", DatString(murvel, "Record_0", "Title"));
}

TEST(WatchListCommands, DeleteAsksAndOnYesRemovesSavesAndUnhooks) {
    HookTargetProcess helper;
    ASSERT_NE(nullptr, helper.Window());
    MurvelProcess murvel;
    murvel.PutFile("Tessik.dat", "[Main]\r\nCount=2\r\n[Record_0]\r\nFileName=" +
                                     SiblingProgram("HookTarget.exe") +
                                     "\r\nTitle=helper\r\nValidCondition=1\r\nMonitorEffec=3\r\n"
                                     "[Record_1]\r\nFileName=C:\\Tools\\one.exe\r\nTitle=one\r\n"
                                     "ValidCondition=1\r\nMonitorEffec=3\r\n");
    ASSERT_TRUE(murvel.Start());
    ASSERT_EQ(2, murvel.RowCount());
    murvel.RunWatchCycle();
    ASSERT_EQ("Qorvane (守护中...)", murvel.Title());
    murvel.SelectRow(0);
    murvel.Sync();

    murvel.PostCommand(IDC_DELETE_WATCH);
    HWND hBox = murvel.WaitForDialog("确认删除");
    ASSERT_NE(nullptr, hBox);
    MurvelProcess::Click(hBox, IDNO);
    ASSERT_TRUE(murvel.WaitForClosed(hBox));
    murvel.Sync();
    EXPECT_EQ(2, murvel.RowCount());

    murvel.PostCommand(ID_DELETE_WATCH);
    hBox = murvel.WaitForDialog("确认删除");
    ASSERT_NE(nullptr, hBox);
    MurvelProcess::Click(hBox, IDYES);
    ASSERT_TRUE(murvel.WaitForClosed(hBox));
    murvel.Sync();
    ASSERT_EQ(1, murvel.RowCount());
    EXPECT_EQ("one", murvel.CellText(0, 0));
    EXPECT_EQ(1, DatInt(murvel, "Main", "Count"));
    EXPECT_EQ("one", DatString(murvel, "Record_0", "Title"));

    EXPECT_TRUE(ProgramHooks(murvel).None()) << "the hooks are removed until the next cycle";
    EXPECT_FALSE(murvel.IsControlEnabled(IDC_DELETE_WATCH));
    EXPECT_FALSE(murvel.IsControlEnabled(IDC_WATCH_PROPERTIES));
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), murvel.MenuState(ID_DELETE_WATCH) & MF_GRAYED);
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), murvel.MenuState(ID_WATCH_PROPERTIES) & MF_GRAYED);
}

TEST(WatchListCommands, BlackoutDefaultsAndAbout) {
    MurvelProcess murvel;
    ASSERT_TRUE(murvel.Start());
    const char kTitle[] = "静区黑屏缺省设置";
    murvel.PostCommand(ID_BLACKOUT_DEFAULTS);
    HWND hDlg = murvel.WaitForDialog(kTitle);
    ASSERT_NE(nullptr, hDlg);
    EXPECT_EQ("60", EditText(hDlg, IDC_WAIT_TIME));
    EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(hDlg, IDC_AREA_CLIENT), BM_GETCHECK, 0, 0));
    SendMessageA(GetDlgItem(hDlg, IDC_WAIT_TIME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("90"));
    MurvelProcess::Click(hDlg, IDCANCEL);
    ASSERT_TRUE(murvel.WaitForClosed(hDlg));
    const std::string ini = murvel.File("Tessik.ini");
    EXPECT_EQ(-1,
              static_cast<int>(GetPrivateProfileIntA("AreaBlack", "WaitTime", -1, ini.c_str())));

    murvel.PostCommand(ID_BLACKOUT_DEFAULTS);
    hDlg = murvel.WaitForDialog(kTitle);
    ASSERT_NE(nullptr, hDlg);
    SendMessageA(GetDlgItem(hDlg, IDC_WAIT_TIME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("90"));
    MurvelProcess::Click(hDlg, IDOK);
    ASSERT_TRUE(murvel.WaitForClosed(hDlg));
    EXPECT_EQ(90,
              static_cast<int>(GetPrivateProfileIntA("AreaBlack", "WaitTime", -1, ini.c_str())));
    EXPECT_EQ(1, static_cast<int>(GetPrivateProfileIntA("AreaBlack", "Identify", -1, ini.c_str())));

    // The About box from the menu and from the system command; Esc closes it.
    for (int from = 0; from < 2; ++from) {
        if (from == 0)
            murvel.PostCommand(ID_APP_ABOUT);
        else
            PostMessageA(murvel.MainWindow(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        HWND hAbout = murvel.WaitForDialog("关于 Qorvane");
        ASSERT_NE(nullptr, hAbout) << from;
        PostMessageA(hAbout, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(murvel.WaitForClosed(hAbout)) << from;
    }
    EXPECT_FALSE(murvel.HasExited());
}

TEST(WatchListCommands, AnOpenDialogHoldsTheWindowAndEndsWithTheProgram) {
    MurvelProcess murvel;
    murvel.PutFile("Tessik.dat", kTwoItems);
    ASSERT_TRUE(murvel.Start());
    HWND hMain = murvel.MainWindow();

    // Enter on a clicked row opens its properties over a disabled window.
    murvel.ClickRow(1);
    ASSERT_TRUE(WaitFor([&] { return murvel.SelectedRow() == 1; }, 5000));
    murvel.PressKey(VK_RETURN);
    HWND hProp = murvel.WaitForDialog(kPropTitle);
    ASSERT_NE(nullptr, hProp);
    EXPECT_EQ("two", EditText(hProp, IDC_ALIAS));
    EXPECT_FALSE(IsWindowEnabled(hMain));
    EXPECT_EQ(hMain, GetWindow(hProp, GW_OWNER));

    // What other programs, the popup menu or a button send meanwhile opens
    // nothing and changes nothing; a second start brings the dialog forward.
    murvel.PostCommand(ID_DELETE_WATCH);
    PostMessageA(hMain, WM_COMMAND, MAKEWPARAM(IDC_ADD_WATCH, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hMain, IDC_ADD_WATCH)));
    PostMessageA(murvel.TrayWindow(), WM_USER + 122, 0, WM_LBUTTONDBLCLK);
    EXPECT_EQ(0, murvel.RunAgain(""));
    murvel.Sync();
    EXPECT_EQ(nullptr, murvel.TopWindow(Ansi("确认删除").c_str()));
    EXPECT_EQ(nullptr, murvel.TopWindow(Ansi(kAddTitle).c_str()));
    EXPECT_EQ(2, murvel.RowCount());
    EXPECT_EQ(hProp, GetForegroundWindow());

    SendMessageA(GetDlgItem(hProp, IDC_ALIAS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("deux"));
    MurvelProcess::Click(hProp, IDOK);
    ASSERT_TRUE(murvel.WaitForClosed(hProp));
    murvel.Sync();
    EXPECT_TRUE(IsWindowEnabled(hMain));
    EXPECT_EQ("deux", murvel.CellText(1, 0));
    EXPECT_EQ("one", DatString(murvel, "Record_0", "Title"));
    EXPECT_EQ("deux", DatString(murvel, "Record_1", "Title"));

    // The second click of a double-click on a button does not run it again.
    SendMessageA(hMain, WM_COMMAND, MAKEWPARAM(IDC_ADD_WATCH, BN_DOUBLECLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hMain, IDC_ADD_WATCH)));
    EXPECT_EQ(nullptr, murvel.TopWindow(Ansi(kAddTitle).c_str()));

    // Delete on the row asks first.
    murvel.PressKey(VK_DELETE);
    HWND hBox = murvel.WaitForDialog("确认删除");
    ASSERT_NE(nullptr, hBox);
    MurvelProcess::Click(hBox, IDNO);
    ASSERT_TRUE(murvel.WaitForClosed(hBox));

    // An empty file name is refused; exit from the popup menu with the add
    // dialog and the refusal open ends both and the program.
    murvel.PostCommand(ID_ADD_WATCH);
    HWND hAdd = murvel.WaitForDialog(kAddTitle);
    ASSERT_NE(nullptr, hAdd);
    MurvelProcess::Click(hAdd, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(hAdd); })) << "the refusal is up";
    murvel.PostCommand(ID_APP_EXIT);
    EXPECT_TRUE(WaitFor([&] { return murvel.HasExited(); }, 5000));
    EXPECT_EQ(2, DatInt(murvel, "Main", "Count"));
}

TEST(WatchListCommands, AnyVersionChosenWhenAddingKeepsGuardingAfterAnUpdate) {
    MurvelProcess murvel;
    const std::string helper = SiblingProgram("HookTarget.exe");
    const std::string before = murvel.PutProgram("Chat\\app-1.2.3", helper);
    const std::string after = murvel.PutProgram("Chat\\app-1.2.4", helper);
    ASSERT_FALSE(before.empty() || after.empty());
    const std::string pattern = murvel.Folder() + "\\Chat\\app-*\\HookTarget.exe";
    auto app = std::make_unique<HookTargetProcess>("", before);
    ASSERT_NE(nullptr, app->Window());
    ASSERT_TRUE(murvel.Start());

    murvel.PostCommand(ID_ADD_WATCH);
    HWND hAdd = murvel.WaitForDialog(kAddTitle);
    ASSERT_NE(nullptr, hAdd);
    HWND hList = GetDlgItem(hAdd, IDC_RUNNING_LIST);
    int index = static_cast<int>(SendMessageA(hList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(before.c_str())));
    ASSERT_GE(index, 0) << "the helper in its version folder is listed";
    SendMessageA(hList, LB_SETCURSEL, index, 0);
    SendMessageA(hAdd, WM_COMMAND, MAKEWPARAM(IDC_RUNNING_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(hList));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hAdd, IDC_ANY_VERSION)));
    EXPECT_EQ(pattern, EditText(hAdd, IDC_VERSION_PATTERN));
    SendMessageA(GetDlgItem(hAdd, IDC_ANY_VERSION), BM_SETCHECK, BST_CHECKED, 0);
    MurvelProcess::Click(hAdd, IDOK);

    HWND hProp = murvel.WaitForDialog(kPropTitle);
    ASSERT_NE(nullptr, hProp);
    EXPECT_EQ(pattern, EditText(hProp, IDC_FILE_NAME)) << "the pattern is shown as text";
    CheckRadio(hProp, IDC_VALID_NEVER, IDC_VALID_FOREGROUND, IDC_VALID_RUNNING);
    MurvelProcess::Click(hProp, IDOK);
    ASSERT_TRUE(murvel.WaitForClosed(hProp));
    ASSERT_TRUE(WaitFor([&] { return murvel.Title() == "Qorvane (守护中...)"; }, 5000));
    EXPECT_EQ(pattern, murvel.CellText(0, 1));
    EXPECT_EQ(pattern, DatString(murvel, "Record_0", "FileName"));

    // The update: the old folder's program ends, the new folder's starts.
    app.reset();
    murvel.RunWatchCycle();
    EXPECT_EQ("Qorvane", murvel.Title());
    app = std::make_unique<HookTargetProcess>("", after);
    ASSERT_NE(nullptr, app->Window());
    murvel.RunWatchCycle();
    EXPECT_EQ("Qorvane (守护中...)", murvel.Title());
    EXPECT_TRUE(ProgramHooks(murvel).Installed());
}

namespace {

// Types the path into a new add dialog and presses OK.
HWND TypeIntoAddDialog(const MurvelProcess& murvel, const std::string& path) {
    murvel.PostCommand(ID_ADD_WATCH);
    HWND hAdd = murvel.WaitForDialog(kAddTitle);
    if (hAdd) {
        SendMessageA(GetDlgItem(hAdd, IDC_FILE_NAME), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(path.c_str()));
        MurvelProcess::Click(hAdd, IDOK);
    }
    return hAdd;
}

} // namespace

TEST(WatchListCommands, TypedPathsAreStoredInTheirLongFormAndGuard) {
    MurvelProcess murvel;
    const std::string program =
        murvel.PutProgram("Long Folder Name", SiblingProgram("HookTarget.exe"));
    ASSERT_FALSE(program.empty());
    wchar_t shortFolder[MAX_PATH] = L"";
    ASSERT_NE(0u, GetShortPathNameW(Wide(murvel.File("Long Folder Name")).c_str(), shortFolder,
                                    MAX_PATH));
    std::string shortName = Utf8FromWide(shortFolder);
    shortName.erase(0, shortName.find_last_of('\\') + 1);
    ASSERT_NE("Long Folder Name", shortName) << "the system made an 8.3 name";
    HookTargetProcess app("", program);
    ASSERT_NE(nullptr, app.Window());
    ASSERT_TRUE(murvel.Start());

    // Forward slashes, a doubled one, a folder that is left again, the short
    // name, and the dots and blanks a name cannot end with.
    std::string typed = murvel.Folder() + "//sub/../" + shortName + "/./HookTarget.exe. ";
    for (char& c : typed)
        c = c == '\\' ? '/' : c;
    HWND hAdd = TypeIntoAddDialog(murvel, typed);
    ASSERT_NE(nullptr, hAdd);
    HWND hProp = murvel.WaitForDialog(kPropTitle);
    ASSERT_NE(nullptr, hProp) << "the file exists: no question";
    CheckRadio(hProp, IDC_VALID_NEVER, IDC_VALID_FOREGROUND, IDC_VALID_RUNNING);
    MurvelProcess::Click(hProp, IDOK);
    ASSERT_TRUE(murvel.WaitForClosed(hProp));
    ASSERT_TRUE(WaitFor([&] { return murvel.Title() == "Qorvane (守护中...)"; }, 5000));
    EXPECT_EQ(program, DatString(murvel, "Record_0", "FileName"));
}

TEST(WatchListCommands, AddingAWatchedProgramAgainAsksWhatToDo) {
    MurvelProcess murvel;
    murvel.PutFile("Tessik.dat", "[Main]\r\nCount=1\r\n[Record_0]\r\n"
                                 "FileName=C:\\Tools\\app-*\\one.exe\r\nTitle=tools\r\n");
    ASSERT_TRUE(murvel.Start());
    const std::string typed = "c:\\tools\\APP-2.0\\one.exe";
    // Yes opens the item that watches it; No adds the new one; Cancel nothing.
    for (int answer : {IDYES, IDCANCEL, IDNO}) {
        SCOPED_TRACE(answer);
        HWND hAdd = TypeIntoAddDialog(murvel, typed);
        ASSERT_NE(nullptr, hAdd);
        ASSERT_FALSE(murvel.AnswerBox(hAdd, IDYES).empty()) << "no such file";
        ASSERT_TRUE(murvel.WaitForClosed(hAdd));
        const std::string question = murvel.AnswerBox(murvel.MainWindow(), answer);
        EXPECT_EQ(0u, question.find("“tools”")) << question;
        if (answer == IDCANCEL)
            continue;
        HWND hProp = murvel.WaitForDialog(kPropTitle);
        ASSERT_NE(nullptr, hProp);
        EXPECT_EQ(answer == IDYES ? "C:\\Tools\\app-*\\one.exe" : "C:\\tools\\APP-2.0\\one.exe",
                  EditText(hProp, IDC_FILE_NAME));
        EXPECT_EQ(answer == IDYES ? "tools" : "one", EditText(hProp, IDC_ALIAS));
        MurvelProcess::Click(hProp, IDOK);
        ASSERT_TRUE(murvel.WaitForClosed(hProp));
        murvel.Sync();
        EXPECT_EQ(answer == IDYES ? 1 : 2, murvel.RowCount());
        EXPECT_EQ(answer == IDYES ? 0 : 1, murvel.SelectedRow());
    }
    EXPECT_EQ("C:\\tools\\APP-2.0\\one.exe", DatString(murvel, "Record_1", "FileName"));
}

namespace {

// Opens the first row's properties, checks that the choice shows as
// expected, sets it and presses OK.
void ChooseKeepSystemAwake(MurvelProcess& murvel, LRESULT shown, int chosen) {
    murvel.SelectRow(0);
    murvel.Sync();
    murvel.PostCommand(ID_WATCH_PROPERTIES);
    HWND hProp = murvel.WaitForDialog(kPropTitle);
    ASSERT_NE(nullptr, hProp);
    HWND hCheck = GetDlgItem(hProp, IDC_KEEP_SYSTEM_AWAKE);
    EXPECT_EQ(shown, SendMessageA(hCheck, BM_GETCHECK, 0, 0));
    SendMessageA(hCheck, BM_SETCHECK, static_cast<WPARAM>(chosen), 0);
    MurvelProcess::Click(hProp, IDOK);
    ASSERT_TRUE(murvel.WaitForClosed(hProp));
    murvel.Sync();
}

} // namespace

TEST(WatchListCommands, KeepSystemAwakeRoundTripsThroughThePropertiesAndTheFile) {
    const char kBoth[] = "防止屏保和关显示器";
    const char kBothAwake[] = "防止屏保和关显示器，防睡眠";
    MurvelProcess murvel;
    murvel.PutFile("Tessik.dat", kOneItem);
    ASSERT_TRUE(murvel.Start());
    EXPECT_EQ(kBoth, murvel.CellText(0, 3)) << "a list from before the choice";
    ChooseKeepSystemAwake(murvel, BST_UNCHECKED, BST_CHECKED);
    EXPECT_EQ(kBothAwake, murvel.CellText(0, 3));
    EXPECT_EQ(1, DatInt(murvel, "Record_0", "KeepSystemAwake"));
    EXPECT_EQ(3, DatInt(murvel, "Record_0", "MonitorEffec"));
    EXPECT_EQ("C:\\Tools\\one.exe", DatString(murvel, "Record_0", "FileName"));

    // The choice comes back from the file.
    ASSERT_TRUE(murvel.Close());
    MurvelProcess again(murvel.Folder());
    ASSERT_TRUE(again.Start());
    EXPECT_EQ(kBothAwake, again.CellText(0, 3));
    ChooseKeepSystemAwake(again, BST_CHECKED, BST_UNCHECKED);
    EXPECT_EQ(kBoth, again.CellText(0, 3));
    EXPECT_EQ(0, DatInt(again, "Record_0", "KeepSystemAwake"));
}
