#include "CProfileFile.h"
#include "CWatchList.h"
#include "TempDir.h"
#include "TestPaths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

CWatchItem MakeItem(const char* file, const char* title, int valid, int effect) {
    CWatchItem item;
    item.m_strFileName = file;
    item.m_strTitle = title;
    item.m_nValidCondition = valid;
    item.m_nMonitorEffec = effect;
    return item;
}

void ExpectSame(const CWatchItem& a, const CWatchItem& b) {
    EXPECT_STREQ(a.m_strFileName, b.m_strFileName);
    EXPECT_STREQ(a.m_strTitle, b.m_strTitle);
    EXPECT_EQ(a.m_nValidCondition, b.m_nValidCondition);
    EXPECT_EQ(a.m_nMonitorEffec, b.m_nMonitorEffec);
    EXPECT_EQ(a.m_nAreaBlack, b.m_nAreaBlack);
    EXPECT_EQ(a.m_nWaitTime, b.m_nWaitTime);
    EXPECT_EQ(a.m_nIdentify, b.m_nIdentify);
    EXPECT_EQ(a.m_nKeepSystemAwake, b.m_nKeepSystemAwake);
}

std::string Value(const std::string& path, const char* section, const char* key) {
    char buf[64];
    GetPrivateProfileStringA(section, key, "<absent>", buf, sizeof buf, path.c_str());
    return buf;
}

class WatchListFile : public ::testing::Test {
protected:
    void Write(const char* section, const char* key, const char* value) {
        WritePrivateProfileStringA(section, key, value, m_path.c_str());
    }
    TempDir m_dir;
    std::string m_path = m_dir.File("Tessik.dat");
    CWatchList m_list;
};

TEST_F(WatchListFile, NewItemAndReadDefaultsDiffer) {
    CWatchItem fresh;
    EXPECT_EQ(2, fresh.m_nValidCondition);
    EXPECT_EQ(3, fresh.m_nMonitorEffec);
    EXPECT_EQ(0, fresh.m_nAreaBlack);
    EXPECT_EQ(60, fresh.m_nWaitTime);
    EXPECT_EQ(1, fresh.m_nIdentify);
    EXPECT_EQ(0, fresh.m_nKeepSystemAwake);

    Write("Main", "Count", "1");
    ASSERT_EQ(1, m_list.Load(Wide(m_path).c_str()));
    ASSERT_EQ(1, m_list.GetCount());
    const CWatchItem& read = *m_list.GetAt(0);
    EXPECT_STREQ("", read.m_strFileName);
    EXPECT_STREQ("", read.m_strTitle);
    EXPECT_EQ(0, read.m_nValidCondition);
    EXPECT_EQ(1, read.m_nMonitorEffec);
    EXPECT_EQ(0, read.m_nAreaBlack);
    EXPECT_EQ(60, read.m_nWaitTime);
    EXPECT_EQ(1, read.m_nIdentify);
    EXPECT_EQ(0, read.m_nKeepSystemAwake) << "a list from before the key";
}

TEST_F(WatchListFile, MissingFileOrNonPositiveCountGivesAnEmptyList) {
    m_list.Add(CWatchItem());
    EXPECT_EQ(1, m_list.Load(Wide(m_path).c_str()));
    EXPECT_EQ(0, m_list.GetCount());

    Write("Record_0", "FileName", "C:\\a.exe");
    for (const char* count : {"-1", "0", "abc"}) {
        Write("Main", "Count", count);
        m_list.Load(Wide(m_path).c_str());
        EXPECT_EQ(0, m_list.GetCount()) << count;
    }
}

TEST_F(WatchListFile, RangeRulesBringValuesBack) {
    struct Case {
        const char* key;
        const char* stored;
        int loaded;
    } const cases[] = {
        {"ValidCondition", "7", 0},   {"ValidCondition", "-1", 0},   {"ValidCondition", "2", 2},
        {"MonitorEffec", "0", 1},     {"MonitorEffec", "4", 1},      {"MonitorEffec", "2", 2},
        {"AreaBlack", "3", 0},        {"AreaBlack", "-2", 0},        {"AreaBlack", "2", 2},
        {"Identify", "2", 0},         {"Identify", "-1", 0},         {"Identify", "0", 0},
        {"WaitTime", "0", 0},         {"WaitTime", "-30", -30},      {"WaitTime", "99999", 99999},
        {"KeepSystemAwake", "1", 1},  {"KeepSystemAwake", "0", 0},   {"KeepSystemAwake", "2", 0},
        {"KeepSystemAwake", "-1", 0}, {"KeepSystemAwake", "yes", 0},
    };
    Write("Main", "Count", "1");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.stored);
        WritePrivateProfileStringA("Record_0", nullptr, nullptr, m_path.c_str());
        Write("Record_0", c.key, c.stored);
        m_list.Load(Wide(m_path).c_str());
        ASSERT_EQ(1, m_list.GetCount());
        const CWatchItem& item = *m_list.GetAt(0);
        int actual = std::string(c.key) == "ValidCondition"    ? item.m_nValidCondition
                     : std::string(c.key) == "MonitorEffec"    ? item.m_nMonitorEffec
                     : std::string(c.key) == "AreaBlack"       ? item.m_nAreaBlack
                     : std::string(c.key) == "Identify"        ? item.m_nIdentify
                     : std::string(c.key) == "KeepSystemAwake" ? item.m_nKeepSystemAwake
                                                               : item.m_nWaitTime;
        EXPECT_EQ(c.loaded, actual);
    }
}

TEST_F(WatchListFile, ShorterSaveLeavesStaleRecordsThatAreNeverRead) {
    Write("Main", "Count", "3");
    for (int i = 0; i < 5; ++i) {
        std::string section = "Record_" + std::to_string(i);
        std::string name = "C:\\p" + std::to_string(i) + ".exe";
        Write(section.c_str(), "FileName", name.c_str());
        Write(section.c_str(), "ValidCondition", "1");
    }
    m_list.Load(Wide(m_path).c_str());
    ASSERT_EQ(3, m_list.GetCount());
    EXPECT_STREQ("C:\\p2.exe", m_list.GetAt(2)->m_strFileName);

    m_list.RemoveAt(0);
    ASSERT_EQ(1, m_list.Save(Wide(m_path).c_str()));
    EXPECT_EQ("2", Value(m_path, "Main", "Count"));
    EXPECT_EQ("C:\\p1.exe", Value(m_path, "Record_0", "FileName"));
    EXPECT_EQ("C:\\p2.exe", Value(m_path, "Record_1", "FileName"));
    EXPECT_EQ("1", Value(m_path, "Record_1", "MonitorEffec"))
        << "a rewritten record gets every key";
    EXPECT_EQ("C:\\p2.exe", Value(m_path, "Record_2", "FileName"));
    EXPECT_EQ("<absent>", Value(m_path, "Record_2", "MonitorEffec"));
    EXPECT_EQ("C:\\p4.exe", Value(m_path, "Record_4", "FileName"));

    CWatchList again;
    again.Load(Wide(m_path).c_str());
    ASSERT_EQ(2, again.GetCount());
    EXPECT_STREQ("C:\\p2.exe", again.GetAt(1)->m_strFileName);
}

TEST_F(WatchListFile, SaveAndLoadRoundTripKeepsItemsAndOrder) {
    CWatchItem a = MakeItem("C:\\Program Files\\游戏\\game.exe", "游戏", 1, 2);
    a.m_nAreaBlack = 2;
    a.m_nWaitTime = 0;
    a.m_nIdentify = 0;
    a.m_nKeepSystemAwake = 1;
    CWatchItem b =
        MakeItem(("C:\\" + std::string(2040, 'x')).c_str(), std::string(2047, 't').c_str(), 2, 3);
    CWatchItem c = MakeItem("", "", 0, 1);
    // A path as long as the system allows, of double-byte names: 60,000 bytes.
    std::string deep = "C:";
    for (size_t units = 2; units + 6 + 8 <= CProfileFile::kMaxValueUnits; units += 6)
        deep += "\\\xb3\xcc\xd0\xf2\xc4\xbf\xc2\xbc\xd2\xbb"; // \程序目录一
    CWatchItem d = MakeItem((deep + "\\app.exe").c_str(), "deep", 1, 3);
    for (const CWatchItem* item : {&a, &b, &c, &d})
        ASSERT_EQ(1, m_list.Add(*item));
    ASSERT_EQ(1, m_list.Save(Wide(m_path).c_str()));

    CWatchList loaded;
    loaded.Load(Wide(m_path).c_str());
    ASSERT_EQ(4, loaded.GetCount());
    ExpectSame(a, *loaded.GetAt(0));
    ExpectSame(b, *loaded.GetAt(1));
    ExpectSame(c, *loaded.GetAt(2));
    ExpectSame(d, *loaded.GetAt(3));

    CWatchItem copy;
    loaded.CopyItem(0, copy);
    ExpectSame(a, copy);

    // The new key comes after the seven that older copies of the program read.
    const std::string text = ReadWholeFile(m_path);
    const size_t record = text.find("[Record_0]");
    EXPECT_LT(text.find("\r\nIdentify=0\r\n", record),
              text.find("\r\nKeepSystemAwake=1\r\n", record));
    EXPECT_LT(text.find("\r\nKeepSystemAwake=1\r\n", record), text.find("[Record_1]"));
}

TEST_F(WatchListFile, LineBreaksInTextsCannotInjectKeysOrSections) {
    CWatchItem evil = MakeItem("C:\\a.exe\nFileName=C:\\b.exe", "x\r\n[Main]\r\nCount=0", 1, 3);
    m_list.Add(evil);
    m_list.Add(MakeItem("C:\\second.exe", "second", 1, 1));
    ASSERT_EQ(1, m_list.Save(Wide(m_path).c_str()));

    CWatchList loaded;
    loaded.Load(Wide(m_path).c_str());
    ASSERT_EQ(2, loaded.GetCount());
    EXPECT_STREQ("x  [Main]  Count=0", loaded.GetAt(0)->m_strTitle);
    EXPECT_STREQ("C:\\a.exe FileName=C:\\b.exe", loaded.GetAt(0)->m_strFileName);
    EXPECT_STREQ("C:\\second.exe", loaded.GetAt(1)->m_strFileName);
}

TEST_F(WatchListFile, HugeCountLoadsAtMostTenThousandRecords) {
    Write("Main", "Count", "2000000000");
    Write("Record_0", "Title", "first");
    m_list.Load(Wide(m_path).c_str());
    EXPECT_EQ(CWatchList::kMaxLoadedRecords, m_list.GetCount());
    EXPECT_STREQ("first", m_list.GetAt(0)->m_strTitle);
}

TEST_F(WatchListFile, FailedSaveReturnsZeroAndLeavesTheOldFileWhole) {
    m_list.Add(MakeItem("C:\\old.exe", "old", 1, 1));
    ASSERT_EQ(1, m_list.Save(Wide(m_path).c_str()));
    std::string before = ReadWholeFile(m_path);

    m_list.Add(MakeItem("C:\\new.exe", "new", 1, 1));
    {
        // Another program holds the file open without sharing.
        HANDLE h = CreateFileA(m_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        EXPECT_EQ(0, m_list.Save(Wide(m_path).c_str()));
        CloseHandle(h);
    }
    EXPECT_EQ(before, ReadWholeFile(m_path));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_path + ".new").c_str()));

    std::string missingDir = m_dir.File("no\\such\\Tessik.dat");
    EXPECT_EQ(0, m_list.Save(Wide(missingDir).c_str()));

    ASSERT_EQ(1, m_list.Save(Wide(m_path).c_str()));
    CWatchList loaded;
    loaded.Load(Wide(m_path).c_str());
    EXPECT_EQ(2, loaded.GetCount());
}

TEST_F(WatchListFile, ReadOnlyFileStaysAndReadOnlyCopiesNeverBlockALaterSave) {
    m_list.Add(MakeItem("C:\\old.exe", "old", 1, 1));
    ASSERT_EQ(1, m_list.Save(Wide(m_path).c_str()));
    std::string copy = m_path + ".new";
    std::string before = ReadWholeFile(m_path);

    // A read-only list file is the user's word: Windows refuses the replace,
    // Wine (and root) would not; either way the file stays as it is and
    // nothing is left beside it.
    SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_READONLY);
    m_list.Add(MakeItem("C:\\new.exe", "new", 1, 1));
    EXPECT_EQ(0, m_list.Save(Wide(m_path).c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    EXPECT_EQ(before, ReadWholeFile(m_path));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(copy.c_str()));
    SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);

    // A read-only copy left by a save that died.
    ASSERT_TRUE(WriteWholeFile(copy, "[Main]\r\nCount=1\r\n"));
    SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(1, m_list.Save(Wide(m_path).c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(copy.c_str()));
    CWatchList loaded;
    loaded.Load(Wide(m_path).c_str());
    EXPECT_EQ(2, loaded.GetCount());
}

TEST_F(WatchListFile, SaveWithoutAnOldFileCreatesIt) {
    m_list.Add(MakeItem("C:\\a.exe", "a", 1, 1));
    ASSERT_EQ(1, m_list.Save(Wide(m_path).c_str()));
    EXPECT_EQ("1", Value(m_path, "Main", "Count"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_path + ".new").c_str()));
}

} // namespace

TEST_F(WatchListFile, ThePolicysItemsComeLastAndAreNeverSaved) {
    ASSERT_EQ(1, m_list.Add(MakeItem("C:\\Own.exe", "Own", 1, 3)));
    ASSERT_TRUE(m_list.SetPolicyItems(
        {MakeItem("C:\\Teams.exe", "Teams", 1, 3), MakeItem("C:\\Show.exe", "Show", 1, 3)}));
    ASSERT_EQ(1, m_list.Add(MakeItem("C:\\Later.exe", "Later", 2, 1)));
    ASSERT_EQ(4, m_list.GetCount());
    EXPECT_EQ(2, m_list.GetOwnCount());
    EXPECT_STREQ("Later", m_list.GetAt(1)->m_strTitle) << "the user's before the policy's";
    EXPECT_TRUE(m_list.IsPolicyItem(2) && !m_list.IsPolicyItem(1));
    m_list.RemoveAt(0);
    ASSERT_EQ(1, m_list.Save(Wide(m_path).c_str()));
    EXPECT_EQ("1", Value(m_path, "Main", "Count"));
    EXPECT_EQ(std::string::npos, ReadWholeFile(m_path).find("Teams"));
    // A new policy replaces the old one's items and leaves the user's.
    ASSERT_TRUE(m_list.SetPolicyItems({MakeItem("C:\\Slides.exe", "Slides", 1, 3)}));
    ASSERT_EQ(2, m_list.GetCount());
    EXPECT_STREQ("Later", m_list.GetAt(0)->m_strTitle);
    EXPECT_STREQ("Slides", m_list.GetAt(1)->m_strTitle);
    ASSERT_TRUE(m_list.SetPolicyItems({}));
    EXPECT_EQ(1, m_list.GetOwnCount());
    EXPECT_EQ(1, m_list.GetCount());
}
