#include "AfxLanguage.h"
#include "AfxText.h"
#include "CFileDialog.h"

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

} // namespace
