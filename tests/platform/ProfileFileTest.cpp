#include "CProfileFile.h"
#include "TempDir.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ProfileFile, ReadsDefaultsForWhatIsMissing) {
    TempDir dir;
    CProfileFile f(Wide(dir.File("none.ini")).c_str());
    EXPECT_STREQ("dflt", f.GetString("S", "K", "dflt"));
    EXPECT_EQ(42, f.GetInt("S", "K", 42));

    ASSERT_TRUE(f.WriteString("S", "Other", "v"));
    EXPECT_EQ(7, f.GetInt("S", "K", 7)) << "absent key in a present section";
    EXPECT_STREQ("x", f.GetString("T", "Other", "x")) << "absent section";
}

TEST(ProfileFile, WritesAreSeenByTheNextReadThroughAnyObject) {
    TempDir dir;
    std::string path = dir.File("a.ini");
    CProfileFile writer(Wide(path).c_str());
    CProfileFile reader(Wide(path).c_str());
    writer.WriteInt("S", "N", -5);
    EXPECT_EQ(-5, reader.GetInt("S", "N", 0));
    EXPECT_NE(std::string::npos, ReadWholeFile(path).find("N=-5"));
    writer.WriteInt("S", "N", 12);
    EXPECT_EQ(12, reader.GetInt("S", "N", 0));
    writer.WriteString("S", "T", "中文 text");
    EXPECT_STREQ("中文 text", reader.GetString("S", "T", ""));
}

// A path as long as the system allows is read whole; what is longer is cut there.
TEST(ProfileFile, LongValuesAreReadWholeUpToTheLongestPath) {
    TempDir dir;
    CProfileFile f(Wide(dir.File("long.ini")).c_str());
    for (size_t length : {size_t{2047}, size_t{3000}, CProfileFile::kMaxValueUnits}) {
        f.WriteString("S", "K", std::string(length, 'v').c_str());
        EXPECT_EQ(length, std::string(f.GetString("S", "K", "")).size());
    }
    f.WriteString("S", "K", std::string(CProfileFile::kMaxValueUnits + 10, 'v').c_str());
    EXPECT_EQ(CProfileFile::kMaxValueUnits, std::string(f.GetString("S", "K", "")).size());
}

TEST(ProfileFile, ACutDoubleByteValueKeepsNoByteOfThePreviousRead) {
    TempDir dir;
    CProfileFile f(Wide(dir.File("wide.ini")).c_str());
    std::string zhong = "\xd6\xd0"; // 中 in GBK
    std::string wide;
    for (size_t i = 0; i < CProfileFile::kMaxValueUnits + 500; ++i)
        wide += zhong;
    f.WriteString("S", "Ascii", std::string(CProfileFile::kMaxValueUnits * 2, 'x').c_str());
    f.WriteString("S", "Wide", wide.c_str());
    f.GetString("S", "Ascii", "");
    std::string read = f.GetString("S", "Wide", "");
    EXPECT_EQ(wide.substr(0, 2 * CProfileFile::kMaxValueUnits), read);
}

// The path crosses as UTF-16, whatever the code page holds; the file itself
// stays in the ANSI code page, new or old, as other programs read it.
TEST(ProfileFile, FilesStayInTheAnsiCodePageWhateverTheirName) {
    if (GetACP() != 936)
        GTEST_SKIP() << "needs code page 936";
    TempDir dir;
    const std::wstring path = Wide(dir.Path()) + L"\\\x0939\x093f.ini"; // हि.ini
    auto raw = [&path] {
        std::string bytes(4096, '\0');
        DWORD got = 0;
        HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               0, nullptr);
        ReadFile(h, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
        CloseHandle(h);
        return bytes.substr(0, got);
    };
    const char zhongwen[] = "\xd6\xd0\xce\xc4"; // 中文 in code page 936
    CProfileFile f(path.c_str());
    ASSERT_TRUE(f.WriteString("S", "K", zhongwen));
    EXPECT_EQ(std::string("[S]\r\nK=") + zhongwen + "\r\n", raw()) << "a new file is ANSI";
    ASSERT_TRUE(f.WriteString("T", "L", "x"));
    EXPECT_EQ(std::string("[S]\r\nK=") + zhongwen + "\r\n[T]\r\nL=x\r\n", raw())
        << "an ANSI file stays ANSI";
    EXPECT_STREQ(zhongwen, f.GetString("S", "K", ""));
}

} // namespace
