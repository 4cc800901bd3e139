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

TEST(ProfileFile, LongValuesAreCutAt2047Bytes) {
    TempDir dir;
    CProfileFile f(Wide(dir.File("long.ini")).c_str());
    f.WriteString("S", "K", std::string(3000, 'v').c_str());
    EXPECT_EQ(2047u, std::string(f.GetString("S", "K", "")).size());
}

TEST(ProfileFile, ACutDoubleByteValueKeepsNoByteOfThePreviousRead) {
    TempDir dir;
    CProfileFile f(Wide(dir.File("wide.ini")).c_str());
    std::string zhong = "\xd6\xd0"; // 中 in GBK
    std::string wide;
    for (int i = 0; i < 1500; ++i)
        wide += zhong;
    f.WriteString("S", "Ascii", std::string(2047, 'x').c_str());
    f.WriteString("S", "Wide", wide.c_str());
    f.GetString("S", "Ascii", "");
    std::string read = f.GetString("S", "Wide", "");
    EXPECT_GE(read.size(), 2046u);
    EXPECT_EQ(wide.substr(0, read.size()), read);
}

} // namespace
