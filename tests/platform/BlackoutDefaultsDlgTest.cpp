#include "AfxResource.h"
#include "AfxText.h"
#include "CBlackoutDefaultsDlg.h"
#include "DialogDriver.h"
#include "TestPaths.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using D = DialogDriver;

// The dialog keeps its settings beside the running program: here, the test.
class BlackoutDefaultsDlg : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(1010, 750);
        DeleteFileA(m_path.c_str());
    }
    void TearDown() override { DeleteFileA(m_path.c_str()); }

    std::string m_path = SiblingProgram("Tessik.ini");
};

TEST_F(BlackoutDefaultsDlg, ShowsTheStoredDefaultsAndWritesBothKeysOnOkOnly) {
    const std::string other = "[Config]\r\nShowTrayIcon=0\r\n";
    struct Case {
        const char* name;
        std::string before;  // the settings file; empty: none
        const char* shown;   // the wait time shown
        int shownArea;       // the checked button
        const char* typed;   // typed over the wait time, or none
        int areaClick;       // a button clicked, or 0
        int close;           // OK or Cancel
        const char* waitKey; // the keys afterwards; none: file unchanged
        const char* identifyKey;
    } cases[] = {
        {"no file", "", "60", IDC_AREA_CLIENT, nullptr, 0, IDOK, "60", "1"},
        {"no section", other, "60", IDC_AREA_CLIENT, "0", IDC_AREA_WINDOW, IDOK, "0", "0"},
        {"identify out of range", other + "[AreaBlack]\r\nWaitTime=15\r\nIdentify=5\r\n", "15",
         IDC_AREA_WINDOW, "2147483647", IDC_AREA_CLIENT, IDOK, "2147483647", "1"},
        {"cancel after changes", other + "[AreaBlack]\r\nWaitTime=15\r\nIdentify=0\r\n", "15",
         IDC_AREA_WINDOW, "99", IDC_AREA_CLIENT, IDCANCEL, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(m_path.c_str());
        if (!c.before.empty()) {
            ASSERT_TRUE(WriteWholeFile(m_path, c.before));
        }
        CBlackoutDefaultsDlg dlg;
        INT_PTR result = D::Run([&] { return dlg.DoModal(); },
                                [&](D& d) {
                                    HWND hDlg = d.WaitForDialog();
                                    ASSERT_NE(nullptr, hDlg);
                                    EXPECT_EQ(c.shown, D::Text(hDlg, IDC_WAIT_TIME));
                                    EXPECT_TRUE(D::IsChecked(hDlg, c.shownArea));
                                    EXPECT_EQ(1, D::IsChecked(hDlg, IDC_AREA_WINDOW) +
                                                     D::IsChecked(hDlg, IDC_AREA_CLIENT));
                                    if (c.typed) {
                                        D::SetText(hDlg, IDC_WAIT_TIME, c.typed);
                                    }
                                    if (c.areaClick) {
                                        D::Click(hDlg, c.areaClick);
                                    }
                                    D::Click(hDlg, c.close);
                                    EXPECT_TRUE(d.WaitForClose());
                                });
        EXPECT_EQ(c.close, result);
        if (!c.waitKey) {
            EXPECT_EQ(c.before, ReadWholeFile(m_path));
            continue;
        }
        char value[64];
        GetPrivateProfileStringA("AreaBlack", "WaitTime", "", value, sizeof value, m_path.c_str());
        EXPECT_STREQ(c.waitKey, value);
        GetPrivateProfileStringA("AreaBlack", "Identify", "", value, sizeof value, m_path.c_str());
        EXPECT_STREQ(c.identifyKey, value);
    }
}

TEST_F(BlackoutDefaultsDlg, WaitTimeThatIsNoNumberOrTooLargeWritesNothing) {
    const std::string before = "[AreaBlack]\r\nWaitTime=15\r\nIdentify=0\r\n";
    // Not a number or out of range, the message gives the range.
    CString outOfRange;
    AfxFormatString2(outOfRange, AFX_IDP_PARSE_INT_RANGE, "0", "2147483647");
    const CString& notANumber = outOfRange;
    const struct {
        const char* typed;
        const CString& message;
    } cases[] = {{"", notANumber}, {"2147483648", outOfRange}, {"12345678901", notANumber}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ASSERT_TRUE(WriteWholeFile(m_path, before));
        CBlackoutDefaultsDlg dlg;
        INT_PTR result = D::Run([&] { return dlg.DoModal(); },
                                [&](D& d) {
                                    HWND hDlg = d.WaitForDialog();
                                    ASSERT_NE(nullptr, hDlg);
                                    D::SetText(hDlg, IDC_WAIT_TIME, c.typed);
                                    D::Click(hDlg, IDC_AREA_CLIENT);
                                    D::Click(hDlg, IDOK);
                                    HWND hBox = d.WaitForMessageBox(hDlg);
                                    ASSERT_NE(nullptr, hBox);
                                    EXPECT_EQ(std::string(c.message), D::AnswerMessageBox(hBox));
                                    HWND hWait = GetDlgItem(hDlg, IDC_WAIT_TIME);
                                    EXPECT_TRUE(d.WaitUntil([&] { return d.Focus() == hWait; }));
                                    EXPECT_TRUE(IsWindowVisible(hDlg));
                                    EXPECT_EQ(before, ReadWholeFile(m_path));
                                    D::Click(hDlg, IDCANCEL);
                                });
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ(before, ReadWholeFile(m_path));
    }
}

// The defaults hold only in the file: a save that fails is told of, and the
// dialog stays open with the change, to try again or cancel.
TEST_F(BlackoutDefaultsDlg, AFailedSaveIsToldAndKeepsTheDialogOpen) {
    const std::string before = "[AreaBlack]\r\nWaitTime=15\r\nIdentify=0\r\n";
    ASSERT_TRUE(WriteWholeFile(m_path, before));
    SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_READONLY);
    CBlackoutDefaultsDlg dlg;
    INT_PTR result =
        D::Run([&] { return dlg.DoModal(); },
               [&](D& d) {
                   HWND hDlg = d.WaitForDialog();
                   ASSERT_NE(nullptr, hDlg);
                   D::SetText(hDlg, IDC_WAIT_TIME, "99");
                   D::Click(hDlg, IDOK);
                   HWND hBox = d.WaitForMessageBox(hDlg);
                   ASSERT_NE(nullptr, hBox);
                   EXPECT_NE(std::string::npos, D::AnswerMessageBox(hBox).find("Tessik.ini"));
                   EXPECT_TRUE(IsWindowVisible(hDlg));
                   EXPECT_EQ("99", D::Text(hDlg, IDC_WAIT_TIME));
                   D::Click(hDlg, IDCANCEL);
               });
    EXPECT_EQ(IDCANCEL, result);
    SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(before, ReadWholeFile(m_path));
}

} // namespace
