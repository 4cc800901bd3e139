// The English interface of the real program: chosen by the program itself on
// an English system (tools/english-test.sh), asked for by the settings file on
// the Chinese system of the other tests.
#include "HookTargetProcess.h"
#include "MurvelProcess.h"
#include "TestPaths.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
