#include "AfxResource.h"
#include "AfxText.h"
#include "CString.h"
#include "CWinApp.h"
#include "CWatchPropDlg.h"
#include "DialogDriver.h"
#include "WideText.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

using D = DialogDriver;

struct ItemValues {
    const char* fileName;
    const char* title;
    int validCondition, monitorEffec, areaBlack, waitTime, identify, keepSystemAwake;
};

void Fill(CWatchItem& item, const ItemValues& v) {
    item.m_strFileName = v.fileName;
    item.m_strTitle = v.title;
    item.m_nValidCondition = v.validCondition;
    item.m_nMonitorEffec = v.monitorEffec;
    item.m_nAreaBlack = v.areaBlack;
    item.m_nWaitTime = v.waitTime;
    item.m_nIdentify = v.identify;
    item.m_nKeepSystemAwake = v.keepSystemAwake;
}

void ExpectItem(const ItemValues& v, const CWatchItem& item) {
    EXPECT_STREQ(v.fileName, item.m_strFileName);
    EXPECT_STREQ(v.title, item.m_strTitle);
    EXPECT_EQ(v.validCondition, item.m_nValidCondition);
    EXPECT_EQ(v.monitorEffec, item.m_nMonitorEffec);
    EXPECT_EQ(v.areaBlack, item.m_nAreaBlack);
    EXPECT_EQ(v.waitTime, item.m_nWaitTime);
    EXPECT_EQ(v.identify, item.m_nIdentify);
    EXPECT_EQ(v.keepSystemAwake, item.m_nKeepSystemAwake);
}

// The radio button of each group that is checked; 0 when none is.
int CheckedOf(HWND hDlg, std::initializer_list<int> group) {
    int checked = 0;
    for (int id : group) {
        if (D::IsChecked(hDlg, id)) {
            EXPECT_EQ(0, checked) << "two buttons checked in one group";
            checked = id;
        }
    }
    return checked;
}

struct Shown {
    int condition, effect, blackout, area;
};

Shown ShownChoices(HWND hDlg) {
    return {CheckedOf(hDlg, {IDC_VALID_NEVER, IDC_VALID_RUNNING, IDC_VALID_FOREGROUND}),
            CheckedOf(hDlg, {IDC_EFFECT_SAVER, IDC_EFFECT_POWER, IDC_EFFECT_BOTH}),
            CheckedOf(hDlg, {IDC_BLACK_OFF, IDC_BLACK_DEFAULTS, IDC_BLACK_OWN}),
            CheckedOf(hDlg, {IDC_AREA_WINDOW, IDC_AREA_CLIENT})};
}

// The wait time edit and the two active-area buttons share one state.
bool WaitControlsEnabled(HWND hDlg) {
    bool edit = D::IsEnabled(hDlg, IDC_WAIT_TIME);
    EXPECT_EQ(edit, D::IsEnabled(hDlg, IDC_AREA_WINDOW));
    EXPECT_EQ(edit, D::IsEnabled(hDlg, IDC_AREA_CLIENT));
    return edit;
}

std::string LoadText(UINT nID) {
    CString text;
    text.LoadString(nID);
    return text.GetString();
}

std::string RangeMessage() {
    CString text;
    AfxFormatString2(text, AFX_IDP_PARSE_INT_RANGE, "0", "2147483647");
    return text.GetString();
}

class WatchPropDlg : public ::testing::Test {
protected:
    void SetUp() override { SetCursorPos(1010, 750); }
};

// "编辑器" in code page 936.
#define EDITOR "\xb1\xe0\xbc\xad\xc6\xf7"

TEST_F(WatchPropDlg, ChoicesMapToTheItemBothWays) {
    struct Case {
        const char* name;
        ItemValues in;
        const char* alias; // what the alias field shows
        Shown shown;
        const char* typedAlias; // typed over the alias, or none
        std::vector<int> clicks;
        ItemValues out;
    } cases[] = {
        {"new item: empty title shows the file title",
         {"C:\\Apps\\" EDITOR ".exe", "", 2, 3, 0, 60, 1, 0},
         EDITOR,
         {IDC_VALID_FOREGROUND, IDC_EFFECT_BOTH, IDC_BLACK_OFF, IDC_AREA_CLIENT},
         nullptr,
         {IDC_EFFECT_SAVER, IDC_VALID_NEVER, IDC_KEEP_SYSTEM_AWAKE},
         {"C:\\Apps\\" EDITOR ".exe", EDITOR, 0, 1, 0, 60, 1, 1}},
        {"own blackout settings, then the defaults",
         {"D:\\x.exe", "Mine", 0, 1, 2, 300, 0, 1},
         "Mine",
         {IDC_VALID_NEVER, IDC_EFFECT_SAVER, IDC_BLACK_OWN, IDC_AREA_WINDOW},
         "Renamed",
         {IDC_EFFECT_POWER, IDC_VALID_RUNNING, IDC_AREA_CLIENT, IDC_BLACK_DEFAULTS,
          IDC_KEEP_SYSTEM_AWAKE},
         {"D:\\x.exe", "Renamed", 1, 2, 1, 300, 1, 0}},
        {"a wait beyond the range kept where the user cannot edit it; a cleared alias",
         {"x.exe", "", 1, 2, 1, -1, 1, 1},
         "x",
         {IDC_VALID_RUNNING, IDC_EFFECT_POWER, IDC_BLACK_DEFAULTS, IDC_AREA_CLIENT},
         "",
         {IDC_EFFECT_BOTH},
         {"x.exe", "x", 1, 3, 1, -1, 1, 1}},
        {"an alias of blanks is none",
         {"C:\\Apps\\" EDITOR ".exe", "Mine", 1, 1, 0, 60, 1, 0},
         "Mine",
         {IDC_VALID_RUNNING, IDC_EFFECT_SAVER, IDC_BLACK_OFF, IDC_AREA_CLIENT},
         "  \t ",
         {},
         {"C:\\Apps\\" EDITOR ".exe", EDITOR, 1, 1, 0, 60, 1, 0}},
        {"largest wait and the own settings chosen",
         {"x.exe", "t", 2, 3, 0, 2147483647, 0, 0},
         "t",
         {IDC_VALID_FOREGROUND, IDC_EFFECT_BOTH, IDC_BLACK_OFF, IDC_AREA_WINDOW},
         nullptr,
         {IDC_BLACK_OWN, IDC_AREA_CLIENT},
         {"x.exe", "t", 2, 3, 2, 2147483647, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CWatchPropDlg dlg;
        Fill(dlg.m_item, c.in);
        INT_PTR result = D::Run([&] { return dlg.DoModal(); },
                                [&](D& d) {
                                    HWND hDlg = d.WaitForDialog();
                                    ASSERT_NE(nullptr, hDlg);
                                    EXPECT_EQ(c.in.fileName, D::Text(hDlg, IDC_FILE_NAME));
                                    EXPECT_EQ(c.alias, D::Text(hDlg, IDC_ALIAS));
                                    EXPECT_EQ(std::to_string(static_cast<UINT>(c.in.waitTime)),
                                              D::Text(hDlg, IDC_WAIT_TIME));
                                    Shown shown = ShownChoices(hDlg);
                                    EXPECT_EQ(c.shown.condition, shown.condition);
                                    EXPECT_EQ(c.shown.effect, shown.effect);
                                    EXPECT_EQ(c.shown.blackout, shown.blackout);
                                    EXPECT_EQ(c.shown.area, shown.area);
                                    EXPECT_EQ(c.in.keepSystemAwake == 1,
                                              D::IsChecked(hDlg, IDC_KEEP_SYSTEM_AWAKE));
                                    EXPECT_EQ(c.in.areaBlack == 2, WaitControlsEnabled(hDlg));
                                    // The alias has the focus with all of its text selected.
                                    EXPECT_EQ(GetDlgItem(hDlg, IDC_ALIAS), d.Focus());
                                    EXPECT_TRUE(D::IsAllSelected(GetDlgItem(hDlg, IDC_ALIAS)));

                                    if (c.typedAlias) {
                                        D::SetText(hDlg, IDC_ALIAS, c.typedAlias);
                                    }
                                    for (int id : c.clicks) {
                                        D::Click(hDlg, id);
                                    }
                                    D::Click(hDlg, IDOK);
                                    EXPECT_TRUE(d.WaitForClose());
                                });
        EXPECT_EQ(IDOK, result);
        ExpectItem(c.out, dlg.m_item);
    }
}

TEST_F(WatchPropDlg, BlackoutChoiceEnablesTheItemsOwnWaitControls) {
    CWatchPropDlg dlg;
    Fill(dlg.m_item, {"x.exe", "", 2, 3, 1, 45, 0, 0});
    D::Run([&] { return dlg.DoModal(); },
           [&](D& d) {
               HWND hDlg = d.WaitForDialog();
               ASSERT_NE(nullptr, hDlg);
               EXPECT_FALSE(WaitControlsEnabled(hDlg));
               // Disabled, yet showing the item's own values.
               EXPECT_EQ("45", D::Text(hDlg, IDC_WAIT_TIME));
               EXPECT_TRUE(D::IsChecked(hDlg, IDC_AREA_WINDOW));
               const struct {
                   int click;
                   bool enabled;
               } steps[] = {{IDC_BLACK_OWN, true},
                            {IDC_BLACK_OFF, false},
                            {IDC_BLACK_OWN, true},
                            {IDC_BLACK_DEFAULTS, false}};
               for (const auto& step : steps) {
                   D::Click(hDlg, step.click);
                   D::Sync(hDlg);
                   EXPECT_EQ(step.enabled, WaitControlsEnabled(hDlg)) << "after " << step.click;
               }
               D::Click(hDlg, IDCANCEL);
           });
}

// Whatever was typed, the message says what the field takes, under the
// application's title as every message of the framework.
TEST_F(WatchPropDlg, WaitTimeThatIsNoNumberOrTooLargeIsRefused) {
    const std::string notANumber = RangeMessage();
    const std::string outOfRange = RangeMessage();
    ASSERT_NE(std::string::npos, outOfRange.find("2147483647"));
    const ItemValues original = {"x.exe", "t", 2, 3, 2, 60, 1, 0};
    struct Case {
        const char* typed;
        int click; // OK or a blackout button
        const std::string& message;
    } cases[] = {
        {"", IDOK, notANumber},
        {"4294967296", IDOK, notANumber},
        {"2147483648", IDOK, outOfRange},
        {"4294967295", IDOK, outOfRange},
        // The exchange stops before the blackout group: the enabling stays.
        {"", IDC_BLACK_OFF, notANumber},
        {"3000000000", IDC_BLACK_DEFAULTS, outOfRange},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " then " + std::to_string(c.click));
        CWatchPropDlg dlg;
        Fill(dlg.m_item, original);
        INT_PTR result = D::Run([&] { return dlg.DoModal(); },
                                [&](D& d) {
                                    HWND hDlg = d.WaitForDialog();
                                    ASSERT_NE(nullptr, hDlg);
                                    D::SetText(hDlg, IDC_WAIT_TIME, c.typed);
                                    D::SetText(hDlg, IDC_ALIAS, "changed");
                                    D::Click(hDlg, c.click);
                                    HWND hBox = d.WaitForMessageBox(hDlg);
                                    ASSERT_NE(nullptr, hBox);
                                    EXPECT_FALSE(IsWindowEnabled(hDlg))
                                        << "the box is modal to the dialog";
                                    char caption[64] = "";
                                    GetWindowTextA(hBox, caption, sizeof caption);
                                    EXPECT_STREQ(AfxGetAppName(), caption);
                                    EXPECT_EQ(c.message, D::AnswerMessageBox(hBox));
                                    HWND hWait = GetDlgItem(hDlg, IDC_WAIT_TIME);
                                    EXPECT_TRUE(d.WaitUntil([&] { return d.Focus() == hWait; }));
                                    EXPECT_TRUE(D::IsAllSelected(hWait));
                                    EXPECT_TRUE(IsWindowVisible(hDlg));
                                    EXPECT_TRUE(WaitControlsEnabled(hDlg));
                                    D::Click(hDlg, IDCANCEL);
                                });
        EXPECT_EQ(IDCANCEL, result);
        ExpectItem(original, dlg.m_item);
    }
}

TEST_F(WatchPropDlg, FileNameShowsItsEndAndTakesALongPath) {
    std::string longPath = "C:\\" + std::string(200, 'd') + "\\end.exe";
    CWatchPropDlg dlg;
    dlg.m_item.m_strFileName = longPath.c_str();
    for (int i = 0; i < 150; ++i)
        longPath += "\\" + std::string(200, 'd');
    D::Run([&] { return dlg.DoModal(); },
           [&](D& d) {
               HWND hDlg = d.WaitForDialog();
               ASSERT_NE(nullptr, hDlg);
               // A single-line edit answers with its first visible character.
               HWND hEdit = GetDlgItem(hDlg, IDC_FILE_NAME);
               EXPECT_GT(SendMessageA(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0), 100);
               // Pasting stops at the edit's limit, 30,000 characters unless told.
               SendMessageA(hEdit, EM_SETSEL, 0, -1);
               SendMessageA(hEdit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(longPath.c_str()));
               EXPECT_EQ(static_cast<int>(longPath.size()), GetWindowTextLengthA(hEdit));
               D::Click(hDlg, IDCANCEL);
           });
}

TEST_F(WatchPropDlg, PathIsEditedAsTextAndRefusedEmptyWithAStarInItsFileNameOrOutOfTheCodePage) {
    const ItemValues original = {"C:\\Chat\\app-1.2\\Chat.exe", "Chat", 1, 3, 0, 60, 1, 0};
    const std::string empty = LoadText(IDS_FILE_NAME_EMPTY);
    const std::string star = LoadText(IDS_WILDCARD_IN_FILE_NAME);
    ASSERT_FALSE(empty.empty() || star.empty());
    auto message = [](UINT nIDS, const wchar_t* arg, const wchar_t* arg2 = nullptr) {
        const wchar_t* args[] = {arg, arg2};
        std::string text;
        CodePageFromWide(FormatWideString(nIDS, args, 2).c_str(), CP_ACP, &text);
        return text;
    };
    // Devanagari, which no code page but UTF-8 holds: shown as the system spells it.
    const wchar_t* const hindi = L"C:\\\x0939\x093f\\Chat.exe";
    const std::wstring codePage = std::to_wstring(GetACP());
    const std::string outside = message(IDS_PATH_NOT_IN_CODE_PAGE, hindi, codePage.c_str());
    const wchar_t* const ghost = L"C:\\Nowhere\\ghost.exe";
    const std::string missing = message(IDS_NO_SUCH_PROGRAM, ghost);
    const struct {
        const wchar_t* typed;
        std::string message; // empty: none
        int answer;
        const char* stored; // nullptr: the item keeps its path
    } cases[] = {
        {L" \"C:\\Chat\\app-*\\Chat.exe\" ", "", IDOK, "C:\\Chat\\app-*\\Chat.exe"},
        {L"c:/Chat/./app-*//Chat.exe", "", IDOK, "C:\\Chat\\app-*\\Chat.exe"},
        // Left as it was, the path is neither looked for nor changed.
        {L"C:\\Chat\\app-1.2\\Chat.exe", "", IDOK, "C:\\Chat\\app-1.2\\Chat.exe"},
        {ghost, missing, IDYES, "C:\\Nowhere\\ghost.exe"},
        {ghost, missing, IDNO, nullptr},
        {L"  ", empty, IDOK, nullptr},
        {L"C:\\Chat\\app-1.2\\*.exe", star, IDOK, nullptr},
        {hindi, outside, IDOK, nullptr},
        {L"Chat.exe", message(IDS_PATH_NOT_FULL, L"Chat.exe"), IDOK, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        CWatchPropDlg dlg;
        Fill(dlg.m_item, original);
        INT_PTR result = D::Run([&] { return dlg.DoModal(); },
                                [&](D& d) {
                                    HWND hDlg = d.WaitForDialog();
                                    ASSERT_NE(nullptr, hDlg);
                                    SetWindowTextW(GetDlgItem(hDlg, IDC_FILE_NAME), c.typed);
                                    D::Click(hDlg, IDOK);
                                    if (!c.message.empty()) {
                                        HWND hBox = d.WaitForMessageBox(hDlg);
                                        ASSERT_NE(nullptr, hBox);
                                        EXPECT_EQ(c.message, D::AnswerMessageBox(hBox, c.answer));
                                    }
                                    if (c.stored) {
                                        EXPECT_TRUE(d.WaitForClose());
                                        return;
                                    }
                                    HWND hEdit = GetDlgItem(hDlg, IDC_FILE_NAME);
                                    EXPECT_TRUE(d.WaitUntil([&] { return d.Focus() == hEdit; }));
                                    EXPECT_TRUE(IsWindowVisible(hDlg));
                                    D::Click(hDlg, IDCANCEL);
                                });
        ItemValues expected = original;
        if (c.stored) {
            EXPECT_EQ(IDOK, result);
            expected.fileName = c.stored;
        } else {
            EXPECT_EQ(IDCANCEL, result);
        }
        ExpectItem(expected, dlg.m_item);
    }
}

} // namespace
