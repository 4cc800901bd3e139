#include "CProcessList.h"
#include "CWatchEvaluator.h"
#include "CWatchList.h"
#include "WatchEvaluation.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Code page 936 bytes: "程序" is B3CC D0F2; B041 and B061 are two different
// characters whose trail bytes are the ASCII letters 'A' and 'a'.
#define CHINESE_DIR "\xB3\xCC\xD0\xF2"
#define TRAIL_UPPER_A "\xB0\x41"
#define TRAIL_LOWER_A "\xB0\x61"

struct Process {
    const char* path;
    DWORD pid;
};

const std::vector<Process> kProcesses = {
    {"C:\\Apps\\Editor.exe", 100},      {"C:\\Apps\\Browser.exe", 200},
    {"C:\\Apps\\Browser.exe", 210},     {"C:\\" CHINESE_DIR "\\Tool.exe", 300},
    {"C:\\" TRAIL_UPPER_A ".exe", 400}, {"C:\\Apps\\Zero.exe", 0},
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

} // namespace
