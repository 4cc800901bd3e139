#include "AfxResource.h"
#include "AfxText.h"
#include "BandLayout.h"
#include "CKeepAwakeOptionsDlg.h"
#include "DialogDriver.h"
#include "TestPaths.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using D = DialogDriver;

const std::string kFullFile = "[Config]\r\nShowTrayIcon=0\r\n"
                              "[Schedule]\r\nDays=1111100\r\nStart=08:30\r\nEnd=01:15\r\n"
                              "ComputerOnly=1\r\nNote=mine\r\n"
                              "[Power]\r\nBatteryFloor=20\r\nEndOnLock=1\r\n"
                              "[AreaBlack]\r\nWaitTime=15\r\n";

std::string ShownDays(HWND hDlg) {
    std::string days;
    for (int i = 0; i < 7; ++i) {
        days += D::IsChecked(hDlg, IDC_DAY_MONDAY + i) ? '1' : '0';
    }
    return days;
}

// The dialog keeps its settings beside the running program: here, the test.
class KeepAwakeOptionsDlg : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(1010, 750);
        DeleteFileA(m_path.c_str());
    }
    void TearDown() override {
        SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(m_path.c_str());
    }

    // Runs the dialog on the settings file; script plays the user.
    INT_PTR RunDialog(const std::function<void(D&, HWND)>& script, bool bModernStandby = false) {
        CKeepAwakeOptionsDlg dlg;
        dlg.m_bModernStandby = bModernStandby;
        return D::Run([&] { return dlg.DoModal(); },
                      [&](D& d) {
                          HWND hDlg = d.WaitForDialog();
                          ASSERT_NE(nullptr, hDlg);
                          script(d, hDlg);
                      });
    }

    std::string m_path = SiblingProgram("Tessik.ini");
};

TEST_F(KeepAwakeOptionsDlg, ShowsTheFileAndOkWritesItsSixKeysKeepingTheRest) {
    struct Case {
        const char* name;
        std::string before; // the settings file; empty: none
        // What the dialog shows.
        const char* days;
        int start, end;
        bool computerOnly;
        const char* floor;
        bool endOnLock;
        bool change; // Saturday on, start 07:45, floor 100, both check boxes flipped
        std::string after;
    } cases[] = {
        {"no file", "", "0000000", 9 * 60, 17 * 60, false, "0", false, false,
         "[Schedule]\r\nDays=0000000\r\nStart=09:00\r\nEnd=17:00\r\nComputerOnly=0\r\n"
         "[Power]\r\nBatteryFloor=0\r\nEndOnLock=0\r\n"},
        {"every value, other keys kept", kFullFile, "1111100", 8 * 60 + 30, 75, true, "20", true,
         true,
         "[Config]\r\nShowTrayIcon=0\r\n"
         "[Schedule]\r\nDays=1111110\r\nStart=07:45\r\nEnd=01:15\r\nComputerOnly=0\r\n"
         "Note=mine\r\n[Power]\r\nBatteryFloor=100\r\nEndOnLock=0\r\n[AreaBlack]\r\nWaitTime="
         "15\r\n"},
        // Days that parse count for nothing beside a start that does not.
        {"values that do not parse",
         "[Schedule]\r\nDays=1010101\r\nStart=9:5\r\nEnd=17:00\r\nComputerOnly=1\r\n"
         "[Power]\r\nBatteryFloor=150\r\nEndOnLock=yes\r\n",
         "0000000", 9 * 60, 17 * 60, true, "0", false, false,
         "[Schedule]\r\nDays=0000000\r\nStart=09:00\r\nEnd=17:00\r\nComputerOnly=1\r\n"
         "[Power]\r\nBatteryFloor=0\r\nEndOnLock=0\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(m_path.c_str());
        if (!c.before.empty()) {
            ASSERT_TRUE(WriteWholeFile(m_path, c.before));
        }
        const INT_PTR result = RunDialog([&](D& d, HWND hDlg) {
            EXPECT_EQ(c.days, ShownDays(hDlg));
            EXPECT_EQ(c.start, D::PickerMinute(hDlg, IDC_WORK_START));
            EXPECT_EQ(c.end, D::PickerMinute(hDlg, IDC_WORK_END));
            EXPECT_EQ(c.computerOnly, D::IsChecked(hDlg, IDC_COMPUTER_ONLY));
            EXPECT_EQ(c.floor, D::Text(hDlg, IDC_BATTERY_FLOOR));
            EXPECT_EQ(c.endOnLock, D::IsChecked(hDlg, IDC_END_ON_LOCK));
            if (c.change) {
                D::Click(hDlg, IDC_DAY_SATURDAY);
                D::ChoosePickerMinute(hDlg, IDC_WORK_START, 7 * 60 + 45);
                D::SetText(hDlg, IDC_BATTERY_FLOOR, "100");
                D::Click(hDlg, IDC_COMPUTER_ONLY);
                D::Click(hDlg, IDC_END_ON_LOCK);
            }
            D::Click(hDlg, IDOK);
            EXPECT_TRUE(d.WaitForClose());
        });
        EXPECT_EQ(IDOK, result);
        EXPECT_EQ(c.after, ReadWholeFile(m_path));
    }
}

TEST_F(KeepAwakeOptionsDlg, CancelAndEscChangeNothing) {
    for (const bool bEsc : {false, true}) {
        SCOPED_TRACE(bEsc ? "Esc" : "Cancel");
        ASSERT_TRUE(WriteWholeFile(m_path, kFullFile));
        const INT_PTR result = RunDialog([&](D& d, HWND hDlg) {
            D::Click(hDlg, IDC_DAY_SUNDAY);
            D::ChoosePickerMinute(hDlg, IDC_WORK_END, 18 * 60);
            D::SetText(hDlg, IDC_BATTERY_FLOOR, "50");
            D::Sync(hDlg);
            if (bEsc) {
                d.PressKey(VK_ESCAPE);
            } else {
                D::Click(hDlg, IDCANCEL);
            }
            EXPECT_TRUE(d.WaitForClose());
        });
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ(kFullFile, ReadWholeFile(m_path));
    }
}

TEST_F(KeepAwakeOptionsDlg, BatteryFloorOutOfRangeGetsTheRangeMessageAndWritesNothing) {
    CString message;
    AfxFormatString2(message, AFX_IDP_PARSE_INT_RANGE, "0", "100");
    for (const char* typed : {"101", ""}) {
        SCOPED_TRACE(typed);
        ASSERT_TRUE(WriteWholeFile(m_path, kFullFile));
        const INT_PTR result = RunDialog([&](D& d, HWND hDlg) {
            D::SetText(hDlg, IDC_BATTERY_FLOOR, typed);
            D::Click(hDlg, IDOK);
            HWND hBox = d.WaitForMessageBox(hDlg);
            ASSERT_NE(nullptr, hBox);
            EXPECT_EQ(std::string(message), D::AnswerMessageBox(hBox));
            HWND hFloor = GetDlgItem(hDlg, IDC_BATTERY_FLOOR);
            EXPECT_TRUE(d.WaitUntil([&] { return d.Focus() == hFloor; }));
            EXPECT_TRUE(IsWindowVisible(hDlg));
            EXPECT_EQ(kFullFile, ReadWholeFile(m_path));
            D::Click(hDlg, IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ(kFullFile, ReadWholeFile(m_path));
    }
}

// The program reads the options from the file: a save that fails is told
// of, and the dialog stays open with the change, to try again or cancel.
TEST_F(KeepAwakeOptionsDlg, AFailedSaveIsToldAndKeepsTheDialogOpen) {
    ASSERT_TRUE(WriteWholeFile(m_path, kFullFile));
    SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_READONLY);
    const INT_PTR result = RunDialog([&](D& d, HWND hDlg) {
        D::Click(hDlg, IDC_DAY_SUNDAY);
        D::Click(hDlg, IDOK);
        HWND hBox = d.WaitForMessageBox(hDlg);
        ASSERT_NE(nullptr, hBox);
        EXPECT_NE(std::string::npos, D::AnswerMessageBox(hBox).find("Tessik.ini"));
        EXPECT_TRUE(IsWindowVisible(hDlg));
        EXPECT_EQ("1111101", ShownDays(hDlg));
        D::Click(hDlg, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, result);
    SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(kFullFile, ReadWholeFile(m_path));
}

// Where the note does not apply its rows go, and no gap is left in their place.
TEST_F(KeepAwakeOptionsDlg, TheModernStandbyNoteShowsOnlyWhereItApplies) {
    struct Seen {
        bool bNoteVisible = false;
        LONG nNoteHeight = 0;
        LONG nOkTop = 0; // in the dialog's client area
        LONG nClientHeight = 0;
    } seen[2];
    for (const bool bModernStandby : {false, true}) {
        Seen& s = seen[bModernStandby];
        RunDialog(
            [&](D&, HWND hDlg) {
                HWND hNote = GetDlgItem(hDlg, IDC_MODERN_STANDBY_NOTE);
                s.bNoteVisible = IsWindowVisible(hNote) != 0;
                RECT rect = {};
                GetWindowRect(hNote, &rect);
                s.nNoteHeight = rect.bottom - rect.top;
                GetWindowRect(GetDlgItem(hDlg, IDOK), &rect);
                MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rect), 2);
                s.nOkTop = rect.top;
                GetClientRect(hDlg, &rect);
                s.nClientHeight = rect.bottom;
                D::Click(hDlg, IDCANCEL);
            },
            bModernStandby);
    }
    EXPECT_FALSE(seen[0].bNoteVisible);
    EXPECT_TRUE(seen[1].bNoteVisible);
    const LONG nTakenOut = seen[1].nOkTop - seen[0].nOkTop;
    EXPECT_GE(nTakenOut, seen[1].nNoteHeight);
    EXPECT_EQ(nTakenOut, seen[1].nClientHeight - seen[0].nClientHeight);
}

TEST(BandLayout, BelowMovesUpSpanningShrinksAboveStays) {
    // The band runs from row 50 to row 80.
    const struct {
        RECT rect, expected;
    } cases[] = {
        {{10, 90, 60, 100}, {10, 60, 60, 70}}, // below: up by 30
        {{10, 80, 60, 90}, {10, 50, 60, 60}},  // right below
        {{5, 10, 200, 120}, {5, 10, 200, 90}}, // a group box around it: shorter
        {{10, 20, 60, 50}, {10, 20, 60, 50}},  // above, touching it
        {{10, 20, 60, 70}, {10, 20, 60, 70}},  // reaching into it, not across
    };
    for (const auto& c : cases) {
        const RECT r = RectWithoutBand(c.rect, 50, 80);
        EXPECT_EQ(c.expected.left, r.left);
        EXPECT_EQ(c.expected.top, r.top);
        EXPECT_EQ(c.expected.right, r.right);
        EXPECT_EQ(c.expected.bottom, r.bottom) << c.rect.top << ".." << c.rect.bottom;
    }
}

} // namespace
