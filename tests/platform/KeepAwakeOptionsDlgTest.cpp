#include "AfxResource.h"
#include "AfxText.h"
#include "BandLayout.h"
#include "CKeepAwakeOptionsDlg.h"
#include "DialogDriver.h"
#include "KeepAwakeOptions.h"
#include "TestPaths.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using D = DialogDriver;

const std::string kFile =
    "[Config]\r\nShowTrayIcon=0\r\n[Schedule]\r\nDays=1111100\r\nStart=08:30\r\n"
    "End=01:15\r\nComputerOnly=1\r\nNote=mine\r\n[Power]\r\nBatteryFloor=20\r\n"
    "EndOnLock=1\r\nHotkey=1611\r\n";

// Ctrl+Alt+K, and Ctrl+Shift+J, as hotkey controls hold them.
const WORD kCtrlAltK = MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT);
const WORD kCtrlShiftJ = MAKEWORD('J', HOTKEYF_CONTROL | HOTKEYF_SHIFT);

WORD ShownHotkey(HWND hDlg) {
    return LOWORD(SendDlgItemMessageA(hDlg, IDC_HOTKEY, HKM_GETHOTKEY, 0, 0));
}

// Days, hours, computer only, battery floor, end at the lock, hotkey and
// notifications, as shown.
std::string Shown(HWND hDlg) {
    std::string shown;
    for (int i = 0; i < 7; ++i) {
        shown += D::IsChecked(hDlg, IDC_DAY_MONDAY + i) ? '1' : '0';
    }
    return shown + " " + std::string(FormatTimeOfDay(D::PickerMinute(hDlg, IDC_WORK_START))) + "-" +
           std::string(FormatTimeOfDay(D::PickerMinute(hDlg, IDC_WORK_END))) +
           (D::IsChecked(hDlg, IDC_COMPUTER_ONLY) ? " 1 " : " 0 ") +
           D::Text(hDlg, IDC_BATTERY_FLOOR) + (D::IsChecked(hDlg, IDC_END_ON_LOCK) ? " 1 " : " 0 ") +
           std::to_string(ShownHotkey(hDlg)) + (D::IsChecked(hDlg, IDC_NOTIFY) ? " 1" : " 0");
}

// Takes what the system would take: anything but the combination another
// program holds.
struct FakeTaker : CKeepAwakeOptionsDlg::HotkeyTaker {
    WORD wHeldElsewhere = 0;
    std::vector<WORD> asked;
    bool TakeHotkey(WORD wHotkey) override {
        asked.push_back(wHotkey);
        return wHotkey != wHeldElsewhere;
    }
};

// The dialog keeps its settings beside the running program: here, the test.
class KeepAwakeOptionsDlg : public ::testing::Test {
protected:
    // The mouse out of the dialog's way, as in the other dialog tests.
    void SetUp() override {
        SetCursorPos(1010, 750);
        DeleteFileA(m_path.c_str());
    }
    void TearDown() override {
        SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(m_path.c_str());
    }
    INT_PTR RunDialog(const std::function<void(D&, HWND)>& script, bool bModernStandby = false) {
        CKeepAwakeOptionsDlg dlg;
        dlg.m_bModernStandby = bModernStandby;
        dlg.m_pHotkeyTaker = &m_taker;
        return D::Run([&] { return dlg.DoModal(); },
                      [&](D& d) {
                          HWND hDlg = d.WaitForDialog();
                          ASSERT_NE(nullptr, hDlg);
                          script(d, hDlg);
                      });
    }
    std::string m_path = SiblingProgram("Tessik.ini");
    FakeTaker m_taker;
};

TEST_F(KeepAwakeOptionsDlg, ShowsTheFileOkWritesItsKeysKeepingTheRestCancelAndEscNothing) {
    const std::string kNew =
        "[Config]\r\nShowTrayIcon=0\r\n[Schedule]\r\nDays=1111110\r\n"
        "Start=07:45\r\nEnd=01:15\r\nComputerOnly=0\r\nNote=mine\r\n[Power]\r\n"
        "BatteryFloor=100\r\nEndOnLock=0\r\nHotkey=" + std::to_string(kCtrlShiftJ) +
        "\r\nNotify=0\r\n";
    const struct {
        std::string before, shown;
        bool change; // Saturday, start 07:45, floor 100, Ctrl+Shift+J, check boxes flipped
        UINT close;  // IDOK, or the key VK_ESCAPE, or IDCANCEL
        std::string after;
    } cases[] = {
        {"", "0000000 09:00-17:00 0 0 0 0 1", false, IDOK,
         "[Schedule]\r\nDays=0000000\r\nStart=09:00\r\nEnd=17:00\r\nComputerOnly=0\r\n"
         "[Power]\r\nBatteryFloor=0\r\nEndOnLock=0\r\nHotkey=0\r\nNotify=1\r\n"},
        {kFile, "1111100 08:30-01:15 1 20 1 1611 1", true, IDOK, kNew},
        {kFile, "1111100 08:30-01:15 1 20 1 1611 1", true, IDCANCEL, kFile},
        {kFile, "1111100 08:30-01:15 1 20 1 1611 1", true, VK_ESCAPE, kFile},
        // Days that parse count for nothing beside a start that does not.
        {"[Schedule]\r\nDays=1010101\r\nStart=9:5\r\nComputerOnly=1\r\n[Power]\r\nBatteryFloor="
         "150\r\n",
         "0000000 09:00-17:00 1 0 0 0 1", false, IDOK,
         "[Schedule]\r\nDays=0000000\r\nStart=09:00\r\nComputerOnly=1\r\nEnd=17:00\r\n"
         "[Power]\r\nBatteryFloor=0\r\nEndOnLock=0\r\nHotkey=0\r\nNotify=1\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown + " closed by " + std::to_string(c.close));
        DeleteFileA(m_path.c_str());
        ASSERT_TRUE(c.before.empty() || WriteWholeFile(m_path, c.before));
        const INT_PTR result = RunDialog([&](D& d, HWND hDlg) {
            EXPECT_EQ(c.shown, Shown(hDlg));
            if (c.change) {
                D::Click(hDlg, IDC_DAY_SATURDAY);
                D::ChoosePickerMinute(hDlg, IDC_WORK_START, 7 * 60 + 45);
                D::SetText(hDlg, IDC_BATTERY_FLOOR, "100");
                D::Click(hDlg, IDC_COMPUTER_ONLY);
                D::Click(hDlg, IDC_END_ON_LOCK);
                D::Click(hDlg, IDC_NOTIFY);
                SendDlgItemMessageA(hDlg, IDC_HOTKEY, HKM_SETHOTKEY, kCtrlShiftJ, 0);
                D::Sync(hDlg);
            }
            c.close == VK_ESCAPE ? d.PressKey(VK_ESCAPE)
                                 : D::Click(hDlg, static_cast<int>(c.close));
            EXPECT_TRUE(d.WaitForClose());
        });
        EXPECT_EQ(c.close == IDOK ? IDOK : IDCANCEL, result);
        EXPECT_EQ(c.after, ReadWholeFile(m_path));
    }
    // Only a new combination is asked of the system, and only at OK.
    EXPECT_EQ(std::vector<WORD>{kCtrlShiftJ}, m_taker.asked);
}

// A combination another program holds is told of by name; the old one stays
// in the control and in the file, and the dialog stays open. Cleared, the
// hotkey is given up.
TEST_F(KeepAwakeOptionsDlg, AHotkeyTheSystemRefusesIsToldAndTheOldOneStaysUntilCleared) {
    ASSERT_TRUE(WriteWholeFile(m_path, kFile));
    m_taker.wHeldElsewhere = kCtrlShiftJ;
    const INT_PTR result = RunDialog([&](D& d, HWND hDlg) {
        SendDlgItemMessageA(hDlg, IDC_HOTKEY, HKM_SETHOTKEY, kCtrlShiftJ, 0);
        D::Click(hDlg, IDOK);
        HWND hBox = d.WaitForMessageBox(hDlg);
        ASSERT_NE(nullptr, hBox);
        EXPECT_NE(std::string::npos, D::AnswerMessageBox(hBox).find("Ctrl+Shift+J"));
        EXPECT_TRUE(d.WaitUntil([&] { return IsWindowEnabled(hDlg) != 0; }));
        EXPECT_EQ(kCtrlAltK, ShownHotkey(hDlg));
        EXPECT_EQ(kFile, ReadWholeFile(m_path));
        D::Click(hDlg, IDC_HOTKEY_CLEAR);
        D::Sync(hDlg);
        EXPECT_EQ(0, ShownHotkey(hDlg));
        D::Click(hDlg, IDOK);
        EXPECT_TRUE(d.WaitForClose());
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ((std::vector<WORD>{kCtrlShiftJ, 0}), m_taker.asked);
    EXPECT_NE(std::string::npos, ReadWholeFile(m_path).find("Hotkey=0\r\n"));
}

// A floor out of range gets the framework's message, a save that fails is
// told of; either way nothing is written and the dialog stays, to correct
// or cancel.
TEST_F(KeepAwakeOptionsDlg, AFloorOutOfRangeOrAFailedSaveIsToldAndWritesNothing) {
    CString range;
    AfxFormatString2(range, AFX_IDP_PARSE_INT_RANGE, "0", "100");
    const struct {
        const char* floor;
        bool bReadOnly;
        std::string told;
    } cases[] = {{"101", false, std::string(range)},
                 {"", false, std::string(range)},
                 {"5", true, "Tessik.ini"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.told);
        ASSERT_TRUE(WriteWholeFile(m_path, kFile));
        SetFileAttributesA(m_path.c_str(),
                           c.bReadOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        const INT_PTR result = RunDialog([&](D& d, HWND hDlg) {
            D::SetText(hDlg, IDC_BATTERY_FLOOR, c.floor);
            D::Click(hDlg, IDOK);
            HWND hBox = d.WaitForMessageBox(hDlg);
            ASSERT_NE(nullptr, hBox);
            EXPECT_NE(std::string::npos, D::AnswerMessageBox(hBox).find(c.told));
            EXPECT_TRUE(d.WaitUntil([&] { return IsWindowEnabled(hDlg) != 0; }));
            EXPECT_EQ(c.floor, D::Text(hDlg, IDC_BATTERY_FLOOR));
        });
        EXPECT_EQ(IDCANCEL, result);
        SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(kFile, ReadWholeFile(m_path));
    }
}

// Where the note does not apply, its rows go with it: no gap is left.
TEST_F(KeepAwakeOptionsDlg, TheModernStandbyNoteShowsOnlyWhereItApplies) {
    RECT ok[2] = {}, note = {};
    for (const bool bModernStandby : {false, true}) {
        RunDialog(
            [&](D&, HWND hDlg) {
                HWND hNote = GetDlgItem(hDlg, IDC_MODERN_STANDBY_NOTE);
                EXPECT_EQ(bModernStandby, IsWindowVisible(hNote) != 0);
                GetWindowRect(hNote, &note);
                GetWindowRect(GetDlgItem(hDlg, IDOK), &ok[bModernStandby]);
                MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&ok[bModernStandby]), 2);
            },
            bModernStandby);
    }
    EXPECT_GE(ok[1].top - ok[0].top, note.bottom - note.top);
}

TEST(BandLayout, BelowMovesUpSpanningShrinksOthersStay) {
    // The band runs from row 50 to row 80.
    const struct {
        LONG top, bottom, movedTop, movedBottom;
    } cases[] = {{80, 90, 50, 60}, {10, 120, 10, 90}, {20, 50, 20, 50}, {20, 70, 20, 70}};
    for (const auto& c : cases) {
        const RECT moved = RectWithoutBand({5, c.top, 60, c.bottom}, 50, 80);
        EXPECT_EQ(c.movedTop, moved.top) << c.top;
        EXPECT_EQ(c.movedBottom, moved.bottom) << c.top;
    }
}

} // namespace
