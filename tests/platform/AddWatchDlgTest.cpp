#include "CAddWatchDlg.h"
#include "DialogDriver.h"
#include "TestPaths.h"
#include "WideText.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using D = DialogDriver;

// The file-open dialog's file name box and file type list.
const int kFileNameBox = 0x047C;
const int kFileTypeList = 0x0470;

// A helper program running for the life of the object.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& path) {
        std::string cmd = "\"" + path + "\"";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        if (CreateProcessA(path.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                           &m_pi)) {
            WaitForInputIdle(m_pi.hProcess, 10000);
        }
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    ~RunningProgram() {
        if (!m_pi.hProcess) {
            return;
        }
        TerminateProcess(m_pi.hProcess, 9);
        WaitForSingleObject(m_pi.hProcess, 10000);
        CloseHandle(m_pi.hThread);
        CloseHandle(m_pi.hProcess);
    }
    bool Started() const { return m_pi.hProcess != nullptr; }

private:
    PROCESS_INFORMATION m_pi = {};
};

// The line of the running list that shows path; -1 when none does.
int LineOf(HWND hDlg, const std::string& path) {
    HWND hList = GetDlgItem(hDlg, IDC_RUNNING_LIST);
    int count = static_cast<int>(SendMessageA(hList, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char line[MAX_PATH + 1] = "";
        SendMessageA(hList, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
        if (path == line) {
            return i;
        }
    }
    return -1;
}

int LinesOf(HWND hDlg, const std::string& path) {
    HWND hList = GetDlgItem(hDlg, IDC_RUNNING_LIST);
    int count = static_cast<int>(SendMessageA(hList, LB_GETCOUNT, 0, 0)), found = 0;
    for (int i = 0; i < count; ++i) {
        char line[MAX_PATH + 1] = "";
        SendMessageA(hList, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
        found += lstrcmpiA(path.c_str(), line) == 0 ? 1 : 0;
    }
    return found;
}

// Scrolls the line into view and clicks it with the mouse, once or twice.
void ClickLine(HWND hDlg, int line, bool bDouble) {
    HWND hList = GetDlgItem(hDlg, IDC_RUNNING_LIST);
    SendMessageA(hList, LB_SETTOPINDEX, static_cast<WPARAM>(line), 0);
    RECT r;
    SendMessageA(hList, LB_GETITEMRECT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(hList, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(hList, WM_LBUTTONUP, 0, at);
    if (bDouble) {
        SendNotifyMessageA(hList, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendNotifyMessageA(hList, WM_LBUTTONUP, 0, at);
    }
}

// The question about a file that does not exist, as its box shows it.
std::string Missing(const std::string& path) {
    const std::wstring wide = WideFromAnsi(path.c_str());
    const wchar_t* args[] = {wide.c_str()};
    std::string text;
    CodePageFromWide(FormatWideString(IDS_NO_SUCH_PROGRAM, args, 1).c_str(), CP_ACP, &text);
    return text;
}

class AddWatchDlg : public ::testing::Test {
protected:
    void SetUp() override { SetCursorPos(1010, 750); }

    std::string m_watched = SiblingProgram("WatchedApp.exe");
};

TEST_F(AddWatchDlg, RunningProgramPickedFromTheListIsTheResult) {
    RunningProgram app(m_watched), secondCopy(m_watched);
    ASSERT_TRUE(app.Started() && secondCopy.Started());
    char ownPath[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, ownPath, MAX_PATH);
    enum Step {
        kClickThenOk,
        kClickEditThenOk,
        kDoubleClick,
        kEmptyOk,
        kQuotedOk,
        kTypeThenCancel
    };
    const struct {
        Step step;
        INT_PTR result;
        std::string fileName;
    } cases[] = {
        {kClickThenOk, IDOK, m_watched}, {kClickEditThenOk, IDOK, m_watched + ".edited"},
        {kDoubleClick, IDOK, m_watched}, {kEmptyOk, IDCANCEL, ""},
        {kQuotedOk, IDOK, m_watched},    {kTypeThenCancel, IDCANCEL, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        CAddWatchDlg dlg;
        INT_PTR result =
            D::Run([&] { return dlg.DoModal(); },
                   [&](D& d) {
                       HWND hDlg = d.WaitForDialog();
                       ASSERT_NE(nullptr, hDlg);
                       HWND hEdit = GetDlgItem(hDlg, IDC_FILE_NAME);
                       EXPECT_EQ(hEdit, d.Focus());
                       int line = LineOf(hDlg, m_watched);
                       ASSERT_GE(line, 0) << "the helper is not among the running programs";
                       EXPECT_EQ(1, LinesOf(hDlg, m_watched)) << "two copies, one line";
                       EXPECT_EQ(0, LinesOf(hDlg, ownPath)) << "the program itself is left out";
                       switch (c.step) {
                       case kClickThenOk:
                       case kClickEditThenOk:
                           ClickLine(hDlg, line, false);
                           EXPECT_EQ(m_watched, D::Text(hEdit));
                           EXPECT_TRUE(D::IsAllSelected(hEdit));
                           if (c.step == kClickEditThenOk) {
                               D::SetText(hDlg, IDC_FILE_NAME, (m_watched + ".edited").c_str());
                           }
                           D::Click(hDlg, IDOK);
                           if (c.step == kClickEditThenOk) {
                               // No such file: kept since the user says so.
                               HWND hBox = d.WaitForMessageBox(hDlg);
                               ASSERT_NE(nullptr, hBox);
                               EXPECT_EQ(Missing(c.fileName), D::AnswerMessageBox(hBox, IDYES));
                           }
                           break;
                       case kDoubleClick:
                           ClickLine(hDlg, line, true);
                           break;
                       case kEmptyOk: {
                           // Refused: the dialog stays until the user cancels it.
                           D::SetText(hDlg, IDC_FILE_NAME, "  ");
                           D::Click(hDlg, IDOK);
                           HWND hBox = d.WaitForMessageBox(hDlg);
                           ASSERT_NE(nullptr, hBox);
                           EXPECT_FALSE(D::AnswerMessageBox(hBox).empty());
                           EXPECT_TRUE(IsWindowVisible(hDlg));
                           D::Click(hDlg, IDCANCEL);
                           break;
                       }
                       case kQuotedOk:
                           D::SetText(hDlg, IDC_FILE_NAME, (" \"" + m_watched + "\" ").c_str());
                           D::Click(hDlg, IDOK);
                           break;
                       case kTypeThenCancel:
                           D::SetText(hDlg, IDC_FILE_NAME, "typed.exe");
                           D::Click(hDlg, IDCANCEL);
                           break;
                       }
                       EXPECT_TRUE(d.WaitForClose());
                   });
        EXPECT_EQ(c.result, result);
        if (result == IDOK) {
            EXPECT_EQ(c.fileName, dlg.m_strFileName.GetString());
        }
    }
}

TEST_F(AddWatchDlg, BrowseStartsFromTheTypedNameAndShowsTheChosenPath) {
    CString filter;
    filter.LoadString(IDS_EXE_FILTER);
    const std::string firstType = std::string(filter).substr(0, std::string(filter).find('|'));
    CAddWatchDlg dlg;
    INT_PTR result = D::Run([&] { return dlg.DoModal(); },
                            [&](D& d) {
                                HWND hDlg = d.WaitForDialog();
                                ASSERT_NE(nullptr, hDlg);
                                D::SetText(hDlg, IDC_FILE_NAME, "typed.exe");

                                // Cancelled: the typed text stays.
                                D::Click(hDlg, IDC_BROWSE);
                                HWND hOpen = d.WaitForDialog(hDlg);
                                ASSERT_NE(nullptr, hOpen);
                                EXPECT_EQ("typed.exe", D::Text(hOpen, kFileNameBox));
                                EXPECT_EQ(firstType, D::Text(hOpen, kFileTypeList));
                                PostMessageA(hOpen, WM_COMMAND, IDCANCEL, 0);
                                EXPECT_TRUE(d.WaitUntil([&] { return !IsWindow(hOpen); }));
                                D::Sync(hDlg);
                                EXPECT_EQ("typed.exe", D::Text(hDlg, IDC_FILE_NAME));

                                // Confirmed: the full path replaces it, selected.
                                D::Click(hDlg, IDC_BROWSE);
                                hOpen = d.WaitForDialog(hDlg);
                                ASSERT_NE(nullptr, hOpen);
                                D::SetText(hOpen, kFileNameBox, m_watched.c_str());
                                PostMessageA(hOpen, WM_COMMAND, IDOK, 0);
                                EXPECT_TRUE(d.WaitUntil([&] { return !IsWindow(hOpen); }));
                                D::Sync(hDlg);
                                HWND hEdit = GetDlgItem(hDlg, IDC_FILE_NAME);
                                EXPECT_EQ(0, lstrcmpiA(m_watched.c_str(), D::Text(hEdit).c_str()))
                                    << D::Text(hEdit);
                                EXPECT_TRUE(D::IsAllSelected(hEdit));
                                D::Click(hDlg, IDOK);
                            });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(0, lstrcmpiA(m_watched.c_str(), dlg.m_strFileName));
}

TEST_F(AddWatchDlg, AVersionFolderOffersAPatternThatOkStoresWhenChosen) {
    const std::string star = [] {
        CString text;
        text.LoadString(IDS_WILDCARD_IN_FILE_NAME);
        return std::string(text);
    }();
    const char kVersioned[] = "C:\\Chat\\app-1.2.3\\Chat.exe";
    const char kPattern[] = "C:\\Chat\\app-*\\Chat.exe";
    const struct {
        const char* typed;
        const char* offered; // empty: the box is disabled
        bool check;
        const char* result; // nullptr: refused
    } cases[] = {
        {kVersioned, kPattern, true, kPattern},
        {kVersioned, kPattern, false, kVersioned},
        {"C:/Chat/app-1.2.3/Chat.exe", kPattern, true, kPattern},
        {"C:\\Chat\\app-1.2.3\\*.exe", "C:\\Chat\\app-*\\*.exe", true, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        CAddWatchDlg dlg;
        INT_PTR result =
            D::Run([&] { return dlg.DoModal(); },
                   [&](D& d) {
                       HWND hDlg = d.WaitForDialog();
                       ASSERT_NE(nullptr, hDlg);
                       EXPECT_FALSE(D::IsEnabled(hDlg, IDC_ANY_VERSION));
                       EXPECT_EQ("", D::Text(hDlg, IDC_VERSION_PATTERN));
                       // A box checked for another path is cleared when the
                       // path has no version any more.
                       D::SetText(hDlg, IDC_FILE_NAME, kVersioned);
                       D::Click(hDlg, IDC_ANY_VERSION);
                       D::Sync(hDlg);
                       EXPECT_TRUE(D::IsChecked(hDlg, IDC_ANY_VERSION));
                       D::SetText(hDlg, IDC_FILE_NAME, "C:\\x.exe");
                       EXPECT_FALSE(D::IsChecked(hDlg, IDC_ANY_VERSION));
                       EXPECT_FALSE(D::IsEnabled(hDlg, IDC_ANY_VERSION));

                       D::SetText(hDlg, IDC_FILE_NAME, c.typed);
                       EXPECT_EQ(*c.offered != '\0', D::IsEnabled(hDlg, IDC_ANY_VERSION));
                       EXPECT_EQ(c.offered, D::Text(hDlg, IDC_VERSION_PATTERN));
                       if (c.check) {
                           D::Click(hDlg, IDC_ANY_VERSION);
                       }
                       D::Click(hDlg, IDOK);
                       if (c.result && !c.check) {
                           // Only a plain path is looked for on the disk.
                           HWND hBox = d.WaitForMessageBox(hDlg);
                           ASSERT_NE(nullptr, hBox);
                           EXPECT_EQ(Missing(c.result), D::AnswerMessageBox(hBox, IDYES));
                       }
                       if (c.result) {
                           EXPECT_TRUE(d.WaitForClose());
                           return;
                       }
                       HWND hBox = d.WaitForMessageBox(hDlg);
                       ASSERT_NE(nullptr, hBox);
                       EXPECT_EQ(star, D::AnswerMessageBox(hBox));
                       EXPECT_TRUE(IsWindowVisible(hDlg));
                       D::Click(hDlg, IDCANCEL);
                   });
        EXPECT_EQ(c.result ? IDOK : IDCANCEL, result);
        if (c.result) {
            EXPECT_STREQ(c.result, dlg.m_strFileName);
        }
    }
}

} // namespace
