#include "CForegroundBurst.h"
#include "CProcessCache.h"
#include "CProcessList.h"
#include "CWatchEvaluator.h"
#include "CWatchList.h"
#include "PathPattern.h"
#include "ProcessPath.h"
#include "WatchEvaluation.h"

#include <gtest/gtest.h>

#include <mbstring.h>

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// Code page 936 bytes: "程序" is B3CC D0F2; B041 and B061 are two different
// characters whose trail bytes are the ASCII letters 'A' and 'a'.
#define CHINESE_DIR "\xB3\xCC\xD0\xF2"
#define TRAIL_UPPER_A "\xB0\x41"
#define TRAIL_LOWER_A "\xB0\x61"
// A double-byte character whose trail byte is a backslash.
#define TRAIL_BACKSLASH "\x95\x5C"
// Cyrillic in code page 936: "ПРОГРАММЫ", "программы".
#define CYRILLIC_UPPER "\xa7\xb1\xa7\xb2\xa7\xb0\xa7\xa4\xa7\xb2\xa7\xa1\xa7\xae\xa7\xae\xa7\xbd"
#define CYRILLIC_LOWER "\xa7\xe1\xa7\xe2\xa7\xe0\xa7\xd4\xa7\xe2\xa7\xd1\xa7\xde\xa7\xde\xa7\xed"

struct Process {
    const char* path;
    DWORD pid;
};

const std::vector<Process> kProcesses = {
    {"C:\\Apps\\Editor.exe", 100},          {"C:\\Apps\\Browser.exe", 200},
    {"C:\\Apps\\Browser.exe", 210},         {"C:\\" CHINESE_DIR "\\Tool.exe", 300},
    {"C:\\" TRAIL_UPPER_A ".exe", 400},     {"C:\\Apps\\Zero.exe", 0},
    {"C:\\Chat\\app-1.2.3\\Chat.exe", 500},
};

void Fill(CProcessList& processes, const std::vector<Process>& from) {
    processes.Clear();
    for (const Process& p : from)
        processes.Add(p.path, p.pid);
}

CWatchItem Item(const char* path, int validCondition) {
    CWatchItem item;
    item.m_strFileName = path;
    item.m_nValidCondition = validCondition;
    return item;
}

constexpr BYTE kUntouched = 0xEE;

struct Case {
    const char* what;
    const char* path;
    int validCondition;
    DWORD foregroundPid; // 0: no foreground window
    bool inEffect;
    BYTE foreground; // kUntouched: the byte must keep its old value
};

TEST(WatchEvaluation, DecidesEachItemAsTheRulesSay) {
    const Case cases[] = {
        {"never, even in the foreground", "C:\\Apps\\Editor.exe", 0, 100, false, kUntouched},
        {"running, in the background", "C:\\Apps\\Editor.exe", 1, 200, true, 0},
        {"running, no foreground window", "C:\\Apps\\Editor.exe", 1, 0, true, 0},
        {"foreground only, in the background", "C:\\Apps\\Editor.exe", 2, 200, false, 0},
        {"foreground only, no foreground window", "C:\\Apps\\Editor.exe", 2, 0, false, 0},
        {"foreground only, in the foreground", "C:\\Apps\\Editor.exe", 2, 100, true, 1},
        {"letter case ignored", "c:\\apps\\EDITOR.EXE", 2, 100, true, 1},
        {"letter case ignored beside Chinese", "c:\\" CHINESE_DIR "\\TOOL.EXE", 2, 300, true, 1},
        {"double-byte trail letters are not folded", "C:\\" TRAIL_LOWER_A ".exe", 1, 0, false,
         kUntouched},
        {"same double-byte character", "c:\\" TRAIL_UPPER_A ".EXE", 1, 400, true, 1},
        {"first of two instances in the foreground", "C:\\Apps\\Browser.exe", 2, 200, true, 1},
        {"second of two instances in the foreground", "C:\\Apps\\Browser.exe", 2, 210, true, 1},
        {"two instances, neither in the foreground", "C:\\Apps\\Browser.exe", 2, 100, false, 0},
        {"process id 0 is not a foreground window", "C:\\Apps\\Zero.exe", 2, 0, false, 0},
        {"not running", "C:\\Apps\\Missing.exe", 1, 100, false, kUntouched},
        {"a prefix of a path is another path", "C:\\Apps\\Editor", 1, 100, false, kUntouched},
        {"empty path", "", 1, 100, false, kUntouched},
        {"a star in a folder name", "c:\\chat\\APP-*\\chat.exe", 2, 500, true, 1},
        {"a star in the file name matches nothing", "C:\\Chat\\app-*\\*.exe", 1, 500, false,
         kUntouched},
    };
    CProcessList processes;
    Fill(processes, kProcesses);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BYTE foreground = kUntouched;
        CWatchItem item = Item(c.path, c.validCondition);
        EXPECT_EQ(c.inEffect, IsWatchItemInEffect(item, processes, c.foregroundPid, &foreground));
        EXPECT_EQ(c.foreground, foreground);
        EXPECT_EQ(c.inEffect, IsWatchItemInEffect(item, processes, c.foregroundPid, nullptr));
    }
}

TEST(WatchEvaluation, NothingRunsInAnEmptySnapshot) {
    CProcessList processes;
    BYTE foreground = kUntouched;
    EXPECT_FALSE(IsWatchItemInEffect(Item("C:\\Apps\\Editor.exe", 1), processes, 100, &foreground));
    EXPECT_EQ(kUntouched, foreground);
}

// An evaluator whose snapshots come from the test.
class FakeEvaluator : public CWatchEvaluator {
public:
    explicit FakeEvaluator(const CWatchList& watchList) : CWatchEvaluator(watchList) {}

    void Set(std::vector<Process> processes, DWORD foregroundPid) {
        m_next = std::move(processes);
        m_foregroundPid = foregroundPid;
    }
    int m_snapshots = 0;

protected:
    void TakeSnapshot(CProcessList& processes, DWORD& dwForegroundPid) override {
        ++m_snapshots;
        Fill(processes, m_next);
        dwForegroundPid = m_foregroundPid;
    }

private:
    std::vector<Process> m_next;
    DWORD m_foregroundPid = 0;
};

TEST(WatchEvaluator, WalksTheItemsInEffectInListOrderOnOneSnapshot) {
    CWatchList list;
    list.Add(Item("C:\\Apps\\Editor.exe", 0));          // 0: disabled
    list.Add(Item("C:\\Apps\\Browser.exe", 2));         // 1: in the background
    list.Add(Item("C:\\Apps\\Editor.exe", 1));          // 2
    list.Add(Item("C:\\Apps\\Missing.exe", 1));         // 3: not running
    list.Add(Item("C:\\" CHINESE_DIR "\\Tool.exe", 2)); // 4: in the foreground
    list.Add(Item("c:\\apps\\editor.exe", 1));          // 5
    FakeEvaluator evaluator(list);
    evaluator.Set(kProcesses, 300);

    BYTE foreground = kUntouched;
    EXPECT_EQ(2, evaluator.FindFirstInEffect(&foreground));
    EXPECT_EQ(0, foreground) << "the flag belongs to the item found, not to a later one";
    evaluator.Set({}, 0); // a walk must not take a new snapshot
    EXPECT_EQ(4, evaluator.FindNextInEffect());
    EXPECT_EQ(5, evaluator.FindNextInEffect());
    EXPECT_EQ(-1, evaluator.FindNextInEffect());
    EXPECT_EQ(-1, evaluator.FindNextInEffect());
    EXPECT_EQ(1, evaluator.m_snapshots);

    // The next walk starts over on a new snapshot: now the second browser
    // process owns the foreground window.
    evaluator.Set(kProcesses, 210);
    EXPECT_EQ(1, evaluator.FindFirstInEffect(&foreground));
    EXPECT_EQ(1, foreground);
    EXPECT_EQ(2, evaluator.FindNextInEffect());
    EXPECT_EQ(5, evaluator.FindNextInEffect());
    EXPECT_EQ(-1, evaluator.FindNextInEffect());
    EXPECT_EQ(2, evaluator.m_snapshots);

    BYTE item4 = kUntouched;
    EXPECT_FALSE(evaluator.IsInEffect(*list.GetAt(4), &item4));
    EXPECT_EQ(0, item4);
}

TEST(WatchEvaluator, FindsNothingBeforeAWalkAndWhenNothingIsInEffect) {
    CWatchList list;
    list.Add(Item("C:\\Apps\\Editor.exe", 1));
    FakeEvaluator evaluator(list);
    EXPECT_EQ(-1, evaluator.FindNextInEffect());
    EXPECT_EQ(0, evaluator.m_snapshots);

    evaluator.Set({{"C:\\Apps\\Other.exe", 100}}, 100);
    BYTE foreground = kUntouched;
    EXPECT_EQ(-1, evaluator.FindFirstInEffect(&foreground));
    EXPECT_EQ(0, foreground);
    EXPECT_EQ(-1, evaluator.FindNextInEffect());

    CWatchList empty;
    FakeEvaluator none(empty);
    none.Set(kProcesses, 100);
    EXPECT_EQ(-1, none.FindFirstInEffect(nullptr));
    EXPECT_EQ(-1, none.FindNextInEffect());
}

TEST(ProcessPath, FileNamePartSkipsTrailBytes) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Apps\\Editor.exe", "Editor.exe"},
        {"Editor.exe", "Editor.exe"},
        {"C:\\Apps\\", ""},
        {"", ""},
        {"C:\\Apps\\" TRAIL_BACKSLASH ".exe", TRAIL_BACKSLASH ".exe"},
        {"C:\\" TRAIL_BACKSLASH "\\Tool.exe", "Tool.exe"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.second, FileNamePart(c.first)) << c.first;
}

TEST(ProcessPath, SamePathIgnoresTheCaseOfEveryLetterAsTheFileSystemDoes) {
    const UINT kWestern = 1252, kGbk = 936, kUtf8 = 65001;
    const struct {
        const char* what;
        const char* a;
        const char* b;
        UINT codePage;
        bool same;
    } cases[] = {
        {"ASCII", "C:\\Apps\\Editor.exe", "c:\\APPS\\editor.EXE", kWestern, true},
        {"Latin letters beyond ASCII", "C:\\\xC4PFEL\\x.exe", "c:\\\xE4pfel\\X.EXE", kWestern,
         true},
        {"after an ASCII difference", "C:\\a\xC4", "C:\\b\xE4", kWestern, false},
        {"Cyrillic", "C:\\" CYRILLIC_UPPER "\\x.exe", "C:\\" CYRILLIC_LOWER "\\x.exe", kGbk, true},
        {"Chinese", "C:\\" CHINESE_DIR "\\X.exe", "c:\\" CHINESE_DIR "\\x.exe", kGbk, true},
        {"trail letters are not folded", "C:\\" TRAIL_UPPER_A, "C:\\" TRAIL_LOWER_A, kGbk, false},
        {"UTF-8", "C:\\Caf\xc3\xa9.exe", "C:\\CAF\xc3\x89.EXE", kUtf8, true},
        {"not valid UTF-8: exact", "C:\\\xff.exe", "c:\\\xff.exe", kUtf8, false},
        {"a lead byte at the end: exact", "C:\\a\xb3", "C:\\a\xb3", kGbk, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.same, SamePath(c.a, c.b, c.codePage)) << c.what;
        EXPECT_EQ(c.same, SamePath(c.b, c.a, c.codePage)) << c.what;
    }
}

TEST(PathPattern, StarsMatchWithinOneFolderNameByCharacters) {
    const UINT kGbk = 936, kUtf8 = 65001;
    const struct {
        const char* what;
        const char* pattern;
        const char* path;
        UINT codePage;
        bool matches;
    } cases[] = {
        {"one folder", "C:\\Chat\\app-*\\Chat.exe", "C:\\Chat\\app-1.2.3\\Chat.exe", kGbk, true},
        {"after an update", "C:\\Chat\\app-*\\Chat.exe", "C:\\Chat\\app-1.2.4\\Chat.exe", kGbk,
         true},
        {"a star may stand for nothing", "C:\\Chat\\app-*\\Chat.exe", "C:\\Chat\\app-\\Chat.exe",
         kGbk, true},
        {"no deeper folder", "C:\\Chat\\app-*\\Chat.exe", "C:\\Chat\\app-1\\bin\\Chat.exe", kGbk,
         false},
        {"the file name is exact", "C:\\Chat\\app-*\\Chat.exe", "C:\\Chat\\app-1\\Chat.exe.bak",
         kGbk, false},
        {"several folders", "C:\\*\\Pkg_*_x64__*\\App.exe",
         "C:\\Program Files\\Pkg_10.22091.10041.0_x64__8wekyb3d8bbwe\\App.exe", kGbk, true},
        {"several folders, one differs", "C:\\*\\Pkg_*_x64__*\\App.exe",
         "C:\\Program Files\\Pkg_10.2_x86__8wekyb3d8bbwe\\App.exe", kGbk, false},
        {"a later try of the star", "C:\\a*bc\\x.exe", "C:\\abcbc\\x.exe", kGbk, true},
        {"none: the plain comparison", "C:\\Chat\\app-1.2.3\\Chat.exe",
         "c:\\chat\\APP-1.2.3\\CHAT.EXE", kGbk, true},
        {"case", "c:\\CHAT\\App-*\\chat.EXE", "C:\\Chat\\APP-X\\Chat.exe", kGbk, true},
        {"a trail byte 0x5C divides no folder", "C:\\*\\Tool.exe",
         "C:\\" TRAIL_BACKSLASH "x\\Tool.exe", kGbk, true},
        {"nor makes a folder of its own", "C:\\*\\*\\Tool.exe", "C:\\" TRAIL_BACKSLASH "\\Tool.exe",
         kGbk, false},
        {"trail letters are not folded", "C:\\*\\" TRAIL_LOWER_A ".exe",
         "C:\\x\\" TRAIL_UPPER_A ".exe", kGbk, false},
        {"a star in the file name", "C:\\Chat\\*.exe", "C:\\Chat\\Chat.exe", kGbk, false},
        {"UTF-8, letters beyond ASCII", "C:\\Caf\xc3\xa9\\app-*\\\xe7\xa8\x8b.exe",
         "C:\\CAF\xc3\x89\\APP-2.0\\\xe7\xa8\x8b.exe", kUtf8, true},
        {"UTF-8 that is not valid", "C:\\\xff*\\x.exe",
         "C:\\\xfe"
         "1\\x.exe",
         kUtf8, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.matches, MatchesWatchedPath(c.pattern, c.path, c.codePage)) << c.what;

    const struct {
        const char* path;
        bool pattern, inFileName;
    } stars[] = {
        {"C:\\app-*\\x.exe", true, false},
        {"C:\\app\\*.exe", true, true},
        {"C:\\a*" TRAIL_BACKSLASH "b.exe", true, true},
        {"C:\\app\\x.exe", false, false},
    };
    for (const auto& s : stars) {
        EXPECT_EQ(s.pattern, IsPathPattern(s.path)) << s.path;
        EXPECT_EQ(s.inFileName, HasWildcardInFileName(s.path)) << s.path;
    }
}

TEST(PathPattern, TwoWatchedPathsOverlapWhenSomeProgramMatchesBoth) {
    const UINT kGbk = 936;
    const struct {
        const char* a;
        const char* b;
        bool overlap;
    } cases[] = {
        {"C:\\A\\x.exe", "c:\\a\\X.EXE", true},
        {"C:\\A\\x.exe", "C:\\B\\x.exe", false},
        {"C:\\A\\app-*\\x.exe", "C:\\A\\app-1.2\\x.exe", true},
        // Two patterns: the fixed ends of each folder name decide.
        {"C:\\A\\app-*\\x.exe", "C:\\A\\*-1.2\\x.exe", true},
        {"C:\\A\\app-*\\x.exe", "C:\\A\\lib-*\\x.exe", false},
        {"C:\\A\\*-x64\\x.exe", "C:\\A\\*-x86\\x.exe", false},
        {"C:\\A\\a*b*c\\x.exe", "C:\\A\\a*c\\x.exe", true},
        {"C:\\*\\app-*\\x.exe", "C:\\Tools\\*\\x.exe", true},
        {"C:\\A\\app-*\\x.exe", "C:\\A\\app-*\\bin\\x.exe", false},
        {"C:\\" CYRILLIC_UPPER "\\*\\x.exe", "C:\\" CYRILLIC_LOWER "\\v*\\x.exe", true},
        // A star in the file name matches nothing, so it overlaps nothing.
        {"C:\\A\\*\\*.exe", "C:\\A\\*\\x.exe", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.overlap, WatchedPathsOverlap(c.a, c.b, kGbk)) << c.a << " " << c.b;
        EXPECT_EQ(c.overlap, WatchedPathsOverlap(c.b, c.a, kGbk)) << c.b << " " << c.a;
    }
}

// A process list whose listing and paths come from a table.
class TableProcessList : public CProcessList {
public:
    struct Row {
        DWORD pid;
        std::string path;
        std::string imageName;
        bool named;    // the listing gives the image name
        bool readable; // its path can be read
    };
    std::vector<Row> m_rows;
    std::vector<const Row*> m_opened;
    // Creation times the listing gives, by process id; none for the others.
    std::map<DWORD, ULONGLONG> m_created;

protected:
    bool ListProcesses(std::vector<ListedProcess>& processes) override {
        processes.clear();
        for (const Row& row : m_rows) {
            ListedProcess listed = {};
            listed.dwProcessId = row.pid;
            listed.bNamed = row.named;
            std::strcpy(listed.szImageName, row.imageName.c_str());
            const auto created = m_created.find(row.pid);
            listed.ullCreateTime = created == m_created.end() ? 0 : created->second;
            processes.push_back(listed);
        }
        return true;
    }
    bool ReadPath(DWORD dwProcessId, std::wstring& path) override {
        for (const Row& row : m_rows) {
            if (row.pid != dwProcessId)
                continue;
            m_opened.push_back(&row);
            path = WideFromAnsi(row.path.c_str());
            return row.readable;
        }
        return false;
    }
};

// Snapshots from a table, either of every process or of the watched programs
// only, as the evaluator takes them.
class TableEvaluator : public CWatchEvaluator {
public:
    TableEvaluator(const CWatchList& watchList, TableProcessList& table, bool bFull, DWORD fgPid)
        : CWatchEvaluator(watchList), m_watchList(watchList), m_table(table), m_bFull(bFull),
          m_fgPid(fgPid) {}

protected:
    void TakeSnapshot(CProcessList& processes, DWORD& dwForegroundPid) override {
        if (m_bFull) {
            m_table.Refresh();
        } else {
            std::vector<CString> names;
            CollectWatchedFileNames(m_watchList, names);
            m_table.RefreshNamed(names);
        }
        processes.Clear();
        for (int i = 0; i < m_table.GetCount(); ++i)
            processes.Add(m_table.GetAt(i).m_strPath, m_table.GetAt(i).m_dwProcessId);
        dwForegroundPid = m_fgPid;
    }

private:
    const CWatchList& m_watchList;
    TableProcessList& m_table;
    bool m_bFull;
    DWORD m_fgPid;
};

// Everything the watch cycle learns from a walk, and every item's own test.
std::vector<int> Answer(CWatchEvaluator& evaluator, const CWatchList& watchList) {
    std::vector<int> answer;
    BYTE foreground = kUntouched;
    for (int i = evaluator.FindFirstInEffect(&foreground); i >= 0; i = evaluator.FindNextInEffect())
        answer.push_back(i);
    answer.push_back(-1);
    answer.push_back(foreground);
    for (int i = 0; i < watchList.GetCount(); ++i) {
        BYTE itemForeground = kUntouched;
        answer.push_back(evaluator.IsInEffect(*watchList.GetAt(i), &itemForeground));
        answer.push_back(itemForeground);
    }
    return answer;
}

std::string ChangeCase(std::string text, int how) {
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&text[0]);
    if (how == 1)
        _mbsupr(bytes);
    else if (how == 2)
        _mbslwr(bytes);
    return text;
}

TEST(WatchEvaluator, SnapshotOfTheWatchedProgramsDecidesAsTheFullSnapshot) {
    // Same file names in different folders, case and double-byte traps, and
    // paths that are no plain full path.
    // Paths and the image names that the listing gives for them.
    const std::pair<const char*, const char*> kPaths[] = {
        {"C:\\Apps\\Editor.exe", "Editor.exe"},
        {"C:\\Other\\Editor.exe", "Editor.exe"},
        {"C:\\Apps\\Browser.exe", "Browser.exe"},
        {"C:\\" CHINESE_DIR "\\Tool.exe", "Tool.exe"},
        {"C:\\" TRAIL_UPPER_A ".exe", TRAIL_UPPER_A ".exe"},
        {"C:\\" TRAIL_LOWER_A ".exe", TRAIL_LOWER_A ".exe"},
        {"C:\\Apps\\" TRAIL_BACKSLASH ".exe", TRAIL_BACKSLASH ".exe"},
        {"C:\\" TRAIL_BACKSLASH "\\Tool.exe", "Tool.exe"},
        {"Editor.exe", "Editor.exe"},
    };
    const char* const kOnlyWatched[] = {"C:\\Apps\\Missing.exe",
                                        "C:\\Apps\\Editor",
                                        "C:\\Apps\\",
                                        "",
                                        ".exe",
                                        "Tool.exe",
                                        "C:\\A*\\Editor.exe",
                                        "C:\\*\\Tool.exe",
                                        "C:\\*\\*.exe",
                                        "*\\Editor.exe"};
    const int kPathCount = sizeof kPaths / sizeof kPaths[0];
    const int kOnlyWatchedCount = sizeof kOnlyWatched / sizeof kOnlyWatched[0];
    std::mt19937 random(12);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };

    for (int round = 0; round < 3000; ++round) {
        TableProcessList table;
        int processCount = below(10);
        for (int p = 0; p < processCount; ++p) {
            const auto& path = kPaths[below(kPathCount)];
            // Not always in the same letter case as the path.
            table.m_rows.push_back({static_cast<DWORD>(100 + 4 * p), path.first,
                                    ChangeCase(path.second, below(3)), below(8) != 0,
                                    below(8) != 0});
        }
        CWatchList watchList;
        int itemCount = below(7);
        for (int i = 0; i < itemCount; ++i) {
            int pick = below(kPathCount + kOnlyWatchedCount);
            std::string path =
                pick < kPathCount ? kPaths[pick].first : kOnlyWatched[pick - kPathCount];
            CWatchItem item = Item(ChangeCase(path, below(3)).c_str(), below(3));
            watchList.Add(item);
        }
        DWORD fgPid = 0;
        if (processCount > 0 && below(4) != 0)
            fgPid = table.m_rows[below(processCount)].pid;

        TableProcessList fullTable;
        fullTable.m_rows = table.m_rows;
        TableEvaluator full(watchList, fullTable, true, fgPid);
        TableEvaluator watched(watchList, table, false, fgPid);
        std::vector<int> expected = Answer(full, watchList);
        ASSERT_EQ(expected, Answer(watched, watchList)) << "round " << round;

        // Only processes that may run a watched program were opened.
        std::vector<CString> names;
        CollectWatchedFileNames(watchList, names);
        for (const TableProcessList::Row* row : table.m_opened) {
            bool watchedName = false;
            for (const CString& name : names)
                watchedName = watchedName || SamePath(name, row->imageName.c_str());
            ASSERT_TRUE(!row->named || watchedName) << "round " << round << ": " << row->path;
        }
    }
}

TEST(ProcessCache, KeepsWhatItLearntUntilTheProcessEndsOrItsIdIsReused) {
    CProcessCache cache;
    CProcessCache::Learnt editor;
    editor.bListed = true;
    editor.strPath = "C:\\Editor.exe";
    cache.Remember(10, 1000, editor);
    cache.Remember(11, 1001, CProcessCache::Learnt());
    cache.EndPass();
    ASSERT_NE(nullptr, cache.Recall(10, 1000)) << "still there";
    EXPECT_EQ("C:\\Editor.exe", std::string(cache.Recall(10, 1000)->strPath));
    cache.EndPass();
    EXPECT_EQ(nullptr, cache.Recall(11, 1001)) << "ended: dropped";
    EXPECT_EQ(nullptr, cache.Recall(10, 2000)) << "its id taken by a new process";
}

// A refresh opens only the processes it has not seen; process 12 gives no
// creation time.
TEST(ProcessCache, ARefreshOpensOnlyProcessesItHasNotSeen) {
    TableProcessList table;
    table.m_rows = {{10, "C:\\A\\Editor.exe", "Editor.exe", true, true},
                    {12, "C:\\A\\Editor.exe", "Editor.exe", true, true}};
    table.m_created = {{10, 500}};
    // Opened, and the first path listed; 10's id is then taken by another program.
    const std::pair<size_t, const char*> passes[] = {
        {2, "C:\\A\\Editor.exe"}, {1, "C:\\A\\Editor.exe"}, {2, "C:\\B\\Editor.exe"}};
    for (const auto& pass : passes) {
        if (&pass == &passes[2]) {
            table.m_rows[0].path = "C:\\B\\Editor.exe";
            table.m_created[10] = 900;
        }
        table.m_opened.clear();
        ASSERT_EQ(2, table.RefreshNamed({"editor.exe"}));
        EXPECT_EQ(pass.first, table.m_opened.size());
        EXPECT_EQ(pass.second, std::string(table.GetAt(0).m_strPath));
    }
}

TEST(ForegroundBurst, ArmsTheTimerOncePerBurstAndDecidesOnce) {
    // 'c' a change, 't' the timer, and what each step answers.
    const char* const cases[][2] = {{"ct", "11"}, {"cccct", "10001"}, {"cttc", "1101"}};
    for (const auto& c : cases) {
        CForegroundBurst burst;
        std::string answers;
        for (const char* step = c[0]; *step; ++step)
            answers += (*step == 'c' ? burst.OnChange() : burst.OnTimer()) ? '1' : '0';
        EXPECT_EQ(c[1], answers) << c[0];
    }
}

TEST(WatchEvaluation, TheForegroundMattersForItemsValidThereAndForBlackouts) {
    // Condition, blackout, and whether the foreground is watched, looked up.
    for (const auto& c : {"0100", "1000", "1201", "2011"}) {
        CWatchList watchList;
        CWatchItem item = Item("C:\\Apps\\Editor.exe", c[0] - '0');
        item.m_nAreaBlack = c[1] - '0';
        watchList.Add(item);
        EXPECT_EQ(c[2] == '1', HasForegroundItem(watchList)) << c;
        EXPECT_EQ(c[3] == '1', DependsOnForeground(watchList)) << c;
    }
}

} // namespace
