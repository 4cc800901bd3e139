#include "CPathName.h"
#include "CProfileFile.h"
#include "DataFolder.h"

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

// Past what a path of MAX_PATH characters takes in any code page, an input is cut.
TEST(PathName, OverlongInputsAreCutAtkMaxPathBytes) {
    const size_t cut = kMaxPathBytes - 1;
    std::string dir = "C:\\" + std::string(900, 'd') + "\\";
    std::string name = std::string(900, 'n') + ".exe";

    CPathName whole((dir + name).c_str());
    EXPECT_EQ(cut, std::strlen(whole.GetFullPath()));

    CPathName joined(dir.c_str(), name.c_str());
    EXPECT_EQ(cut, std::strlen(joined.GetFullPath()));
    EXPECT_EQ(0, std::strncmp(joined.GetFullPath(), dir.c_str(), cut));

    CPathName shortDir("C:\\x\\", name.c_str());
    EXPECT_EQ(cut, std::strlen(shortDir.GetFullPath()));
    EXPECT_STREQ("C:\\x\\", shortDir.GetDirectory());
}

TEST(ProfileFile, ALongPathIsKeptWhole) {
    std::wstring longPath(400, L'\x7a0b'); // 程
    CProfileFile f(longPath.c_str());
    EXPECT_EQ(longPath, f.GetPath());
}

// The mark of an installation for all users decides before the write probe:
// every user's files go to their own folder, and what lies beside the
// program is never carried over (it would be another user's list).
TEST(DataFolder, TheAllUsersMarkDecidesBeforeTheFolderCanBeWritten) {
    const struct {
        bool bMark, bWritable;
        DataFolderKind kind;
        bool bCarryOver;
    } cases[] = {
        {false, true, DataFolderKind::BesideProgram, false},
        {false, false, DataFolderKind::UserAppData, true},
        {true, true, DataFolderKind::UserAppData, false},
        {true, false, DataFolderKind::UserAppData, false},
    };
    for (const auto& c : cases) {
        const DataFolderChoice choice = DecideDataFolder(c.bMark, c.bWritable);
        EXPECT_EQ(c.kind, choice.kind) << c.bMark << c.bWritable;
        EXPECT_EQ(c.bCarryOver, choice.bCarryOverFiles) << c.bMark << c.bWritable;
    }
}

} // namespace
