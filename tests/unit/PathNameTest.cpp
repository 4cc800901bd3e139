#include "CPathName.h"
#include "CProfileFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct SplitCase {
    const char* path;
    const char* drive;
    const char* directory;
    const char* dirNoDrive;
    const char* fileName;
    const char* title;
    const char* extension;
};

TEST(PathName, SplitsAsTheTableSays) {
    const SplitCase cases[] = {
        {"C:\\Apps\\prog.exe", "C:", "C:\\Apps\\", "\\Apps\\", "prog.exe", "prog", ".exe"},
        {"prog", "", "", "", "prog", "prog", ""},
        {".hidden", "", "", "", ".hidden", "", ".hidden"},
        {"a.tar.gz", "", "", "", "a.tar.gz", "a.tar", ".gz"},
        {"dir.d\\file", "", "dir.d\\", "dir.d\\", "file", "file", ""},
        {"C:prog.exe", "C:", "C:", "", "C:prog.exe", "C:prog", ".exe"},
        {"C:\\", "C:", "C:\\", "\\", "", "", ""},
        {"\\\\server\\share\\x.y", "", "\\\\server\\share\\", "\\\\server\\share\\", "x.y", "x",
         ".y"},
        {"a/b\\c.d/e", "", "a/b\\", "a/b\\", "c.d/e", "c", ".d/e"},
        {"\\:x", "\\:", "\\", "", ":x", ":x", ""},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.path);
        CPathName p(c.path);
        EXPECT_STREQ(c.path, p.GetFullPath());
        EXPECT_STREQ(c.drive, p.GetDrive());
        EXPECT_STREQ(c.directory, p.GetDirectory());
        EXPECT_STREQ(c.dirNoDrive, p.GetDirectoryNoDrive());
        EXPECT_STREQ(c.fileName, p.GetFileName());
        EXPECT_STREQ(c.title, p.GetTitle());
        EXPECT_STREQ(c.extension, p.GetExtension());
    }
}

TEST(PathName, DoubleByteCharactersWhoseSecondByteIsABackslashStayWhole) {
    if (GetACP() != 936)
        GTEST_SKIP() << "needs code page 936";
    // "\x8a\x5c" is one character in code page 936, its second byte a backslash.
    CPathName file("C:\\Tools\\\x8a\x5c.exe");
    EXPECT_STREQ("\x8a\x5c", file.GetTitle());
    EXPECT_STREQ("C:\\Tools\\", file.GetDirectory());
    CPathName folder("C:\\\x8a\x5c\\run.exe");
    EXPECT_STREQ("run", folder.GetTitle());
    EXPECT_STREQ("C:\\\x8a\x5c\\", folder.GetDirectory());
}

TEST(PathName, ColonOutsideTheDriveEmptiesEveryPartButKeepsThePath) {
    for (const char* path : {":x", "C:\\a:b", "ab:"}) {
        SCOPED_TRACE(path);
        CPathName p(path);
        EXPECT_STREQ(path, p.GetFullPath());
        EXPECT_STREQ("", p.GetDrive());
        EXPECT_STREQ("", p.GetDirectory());
        EXPECT_STREQ("", p.GetFileName());
        EXPECT_STREQ("", p.GetTitle());
        EXPECT_STREQ("", p.GetExtension());
    }
    CPathName empty("");
    EXPECT_STREQ("", empty.GetFileName());
}

TEST(PathName, ReassignmentClearsTheOldParts) {
    CPathName p("C:\\Apps\\prog.exe");
    p.Assign("other");
    EXPECT_STREQ("", p.GetDrive());
    EXPECT_STREQ("", p.GetDirectory());
    EXPECT_STREQ("", p.GetExtension());
    EXPECT_STREQ("other", p.GetTitle());
}

TEST(PathName, OverlongInputsAreCutAt259Bytes) {
    std::string dir = "C:\\" + std::string(300, 'd') + "\\";
    std::string name = std::string(300, 'n') + ".exe";

    CPathName whole((dir + name).c_str());
    EXPECT_EQ(259u, std::strlen(whole.GetFullPath()));

    CPathName joined(dir.c_str(), name.c_str());
    EXPECT_EQ(259u, std::strlen(joined.GetFullPath()));
    EXPECT_EQ(0, std::strncmp(joined.GetFullPath(), dir.c_str(), 259));

    CPathName shortDir("C:\\x\\", name.c_str());
    EXPECT_EQ(259u, std::strlen(shortDir.GetFullPath()));
    EXPECT_STREQ("C:\\x\\", shortDir.GetDirectory());
}

TEST(ProfileFile, MakeSiblingPath) {
    CProfileFile f;
    EXPECT_STREQ("C:\\Apps\\prog.INI", f.MakeSiblingPath("C:\\Apps\\prog.exe", nullptr));
    EXPECT_STREQ("C:\\Apps\\Tessik.ini", f.MakeSiblingPath("C:\\Apps\\prog.exe", "Tessik.ini"));
    EXPECT_STREQ("Tessik.dat", f.MakeSiblingPath("prog.exe", "Tessik.dat"));

    std::string deep = "C:\\" + std::string(250, 'd') + "\\prog.exe";
    const char* cut = f.MakeSiblingPath(deep.c_str(), "Tessik.ini");
    EXPECT_EQ(259u, std::strlen(cut));
}

TEST(ProfileFile, OverlongPathIsCut) {
    std::string longPath(400, 'p');
    CProfileFile f(longPath.c_str());
    EXPECT_EQ(259u, std::strlen(f.GetPath()));
}

} // namespace
