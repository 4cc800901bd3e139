#include "AfxLanguage.h"
#include "AfxText.h"
#include "CFileDialog.h"
#include "CPathName.h"
#include "WideText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FormatStrings, ReplacesNumberedMarkersThatHaveATextOnly) {
    const char* args[] = {"alias", "two"};
    struct Case {
        const char* format;
        int nArgs;
        const char* expected;
    } cases[] = {
        {"delete \"%1\"?", 1, "delete \"alias\"?"},
        {"%1%1", 1, "aliasalias"},
        {"%2 after %1", 2, "two after alias"},
        {"%2 has no text", 1, "%2 has no text"},
        {"100% and %0 and %", 2, "100% and %0 and %"},
        // GBK: the quotation marks around %1 are double-byte characters.
        {"\xa1\xb0%1\xa1\xb1", 1,
         "\xa1\xb0"
         "alias\xa1\xb1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        CString out("old contents");
        AfxFormatStrings(out, c.format, args, c.nArgs);
        EXPECT_STREQ(c.expected, out);
    }
}

TEST(ParseUnsigned, AcceptsDecimalNumbersThatFitInThirtyTwoBits) {
    struct Case {
        const char* text;
        bool ok;
        UINT value;
    } cases[] = {
        {"0", true, 0},
        {"60", true, 60},
        {" 007\t", true, 7},
        {"2147483648", true, 2147483648u},
        {"4294967295", true, 4294967295u},
        {"4294967296", false, 0},
        {"99999999999999999999999", false, 0},
        {"", false, 0},
        {"  ", false, 0},
        {"-1", false, 0},
        {"+1", false, 0},
        {"12a", false, 0},
        {"1 2", false, 0},
        {"0x10", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        UINT value = 12345;
        EXPECT_EQ(c.ok, AfxParseUnsigned(c.text, value));
        // A failed conversion leaves the member as it was.
        EXPECT_EQ(c.ok ? c.value : 12345u, value);
    }
}

TEST(FileDialogFilter, BarsBecomeZerosOutsideDoubleByteCharacters) {
    using namespace std::string_literals;
    // GBK "应用程序"; 0x81 0x7C is one character whose second byte is a bar.
    EXPECT_EQ("\xd3\xa6\xd3\xc3\xb3\xcc\xd0\xf2(*.EXE)\0*.EXE\0\0\0"s,
              CFileDialog::MakeFilter("\xd3\xa6\xd3\xc3\xb3\xcc\xd0\xf2(*.EXE)|*.EXE||", 936));
    EXPECT_EQ("A\x81|\0*.a\0"s, CFileDialog::MakeFilter("A\x81||*.a", 936));
    EXPECT_EQ("A\x81\0\0*.a\0"s, CFileDialog::MakeFilter("A\x81||*.a", 1252));
}

TEST(InterfaceLanguage, ChineseOnlyWhereCodePage936CanShowIt) {
    const LANGID zhCN = 0x0804, zhTW = 0x0404, enUS = 0x0409, jaJP = 0x0411;
    const LANGID zh = AFX_LANG_CHINESE, en = AFX_LANG_ENGLISH;
    const struct {
        LANGID ui;
        UINT acp;
        const char* override;
        LANGID expected;
    } cases[] = {
        {zhCN, 936, nullptr, zh}, {zhTW, 936, "", zh},        {zhCN, 1252, nullptr, en},
        {enUS, 936, nullptr, en}, {enUS, 1252, nullptr, en},  {jaJP, 932, nullptr, en},
        {zhTW, 950, nullptr, en}, {zhCN, 936, "en", en},      {zhCN, 936, "EN", en},
        {enUS, 936, "zh", zh},    {enUS, 936, "Zh", zh},      {enUS, 1252, "zh", en},
        {enUS, 936, "fr", en},    {zhCN, 936, "chinese", zh}, {zhCN, 936, "e", zh},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, AfxChooseLanguage(c.ui, c.acp, c.override))
            << c.ui << " " << c.acp << " " << (c.override ? c.override : "(none)");
    }
}

// The program's own paths to and from the code pages it meets: which ones a
// code page holds, and that none is cut, whatever its bytes per character.
TEST(WideText, PathsThatACodePageHoldsComeBackWhole) {
    const std::wstring chinese = L"C:\\\x7a0b\x5e8f\\Murvel.exe"; // 程序
    const std::wstring hindi = L"C:\\\x0939\x093f\\Murvel.exe";   // हि
    const std::wstring accented = L"C:\\Caf\x00e9\\Murvel.exe";   // é
    const std::wstring pair = L"C:\\\xd83d\xde00\\Murvel.exe";    // a character beyond 0xFFFF
    const struct {
        const std::wstring& path;
        UINT codePage;
        bool held;
        size_t bytes;
    } cases[] = {
        {chinese, 936, true, 18}, {chinese, 1252, false, 16}, {chinese, 65001, true, 20},
        {hindi, 936, false, 16},  {hindi, 65001, true, 20},   {accented, 1252, true, 18},
        {pair, 65001, true, 18},  {pair, 1252, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.codePage) + " " + std::to_string(c.path.size()));
        std::string bytes;
        EXPECT_EQ(c.held, CodePageFromWide(c.path.c_str(), c.codePage, &bytes));
        if (c.bytes != 0) {
            EXPECT_EQ(c.bytes, bytes.size());
        }
        EXPECT_EQ(c.held, c.path == WideFromCodePage(bytes.c_str(), c.codePage));
    }
    std::string empty = "x";
    EXPECT_TRUE(CodePageFromWide(L"", 1252, &empty));
    EXPECT_EQ("", empty);
    EXPECT_EQ(L"", WideFromCodePage(nullptr, 936));
}

TEST(WideText, APathOfMaxPathChineseCharactersUnderUtf8IsNeverCut) {
    // "C:\" and a folder of Chinese characters up to MAX_PATH - 1 units: 3 + 256.
    const std::wstring folder(MAX_PATH - 1 - 3 - 9, L'\x7a0b');
    const std::wstring path = L"C:\\" + folder + L"\\prog.exe";
    ASSERT_EQ(static_cast<size_t>(MAX_PATH - 1), path.size());
    std::string bytes;
    ASSERT_TRUE(CodePageFromWide(path.c_str(), 65001, &bytes));
    EXPECT_EQ(3 + 3 * folder.size() + 9, bytes.size());
    EXPECT_LT(bytes.size(), static_cast<size_t>(kMaxPathBytes));
    EXPECT_EQ(path, WideFromCodePage(bytes.c_str(), 65001));

    CPathName split(bytes.c_str(), 65001);
    EXPECT_EQ(bytes, split.GetFullPath());
    EXPECT_EQ(bytes.substr(0, bytes.size() - 8), split.GetDirectory());
    EXPECT_STREQ("prog", split.GetTitle());
    std::string title;
    CodePageFromWide(folder.c_str(), 65001, &title);
    CPathName folderOnly(("C:\\" + title).c_str(), 65001);
    EXPECT_EQ(title, folderOnly.GetTitle()) << "no byte of a character read as a separator";
    EXPECT_EQ(L"C:\\" + folder + L"\\", FolderOfPath(path));
    EXPECT_EQ(L"", FolderOfPath(L"prog.exe"));
}

} // namespace
