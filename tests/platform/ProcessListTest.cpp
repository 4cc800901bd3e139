#include "CProcessList.h"
#include "CWatchEvaluator.h"
#include "CWatchList.h"
#include "TempDir.h"
#include "TestPaths.h"
#include "WatchEvaluation.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <mbstring.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct WindowSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid != search->pid || !IsWindowVisible(hWnd))
        return TRUE;
    search->found = hWnd;
    return FALSE;
}

// A helper program running for the life of the object.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& path) {
        std::string cmd = "\"" + path + "\"";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        if (CreateProcessA(path.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                           &m_pi))
            WaitForInputIdle(m_pi.hProcess, 10000);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    ~RunningProgram() {
        if (!m_pi.hProcess)
            return;
        TerminateProcess(m_pi.hProcess, 9);
        WaitForSingleObject(m_pi.hProcess, 10000);
        CloseHandle(m_pi.hThread);
        CloseHandle(m_pi.hProcess);
    }

    bool Started() const { return m_pi.hProcess != nullptr; }
    DWORD Id() const { return m_pi.dwProcessId; }

    HWND Window() const {
        WindowSearch search = {m_pi.dwProcessId, nullptr};
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

private:
    PROCESS_INFORMATION m_pi = {};
};

// Indexes of the given ids in the list, in list order; -1 for an id not found.
std::vector<int> PositionsOf(const CProcessList& list, const std::vector<DWORD>& ids) {
    std::vector<int> positions;
    for (DWORD id : ids) {
        int at = -1;
        for (int i = 0; i < list.GetCount(); ++i) {
            if (list.GetAt(i).m_dwProcessId == id) {
                EXPECT_EQ(-1, at) << "process " << id << " listed twice";
                at = i;
            }
        }
        positions.push_back(at);
    }
    return positions;
}

std::vector<DWORD> BareProcessIds() {
    using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
    auto enumProcesses = reinterpret_cast<EnumProcessesFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(LoadLibraryA("psapi.dll"), "EnumProcesses")));
    std::vector<DWORD> ids(CProcessList::kMaxProcessIds);
    DWORD filled = 0;
    if (!enumProcesses ||
        !enumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &filled))
        return {};
    ids.resize(filled / sizeof(DWORD));
    return ids;
}

// Handles the test process holds. GetProcessHandleCount is a stub in Wine 8
// (it reports 0), so the system's handle table is counted instead.
long CountOwnHandles() {
    struct Entry {
        USHORT pid;
        USHORT creatorBackTraceIndex;
        UCHAR objectType;
        UCHAR attributes;
        USHORT handle;
        PVOID object;
        ULONG access;
    };
    struct Table {
        ULONG count;
        Entry entries[1];
    };
    using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    const ULONG kSystemHandleInformation = 16;
    const LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<char> buffer(1 << 20);
    LONG status;
    ULONG needed = 0;
    while ((status = query(kSystemHandleInformation, buffer.data(),
                           static_cast<ULONG>(buffer.size()), &needed)) == kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return -1;
    const Table* table = reinterpret_cast<const Table*>(buffer.data());
    long own = 0;
    for (ULONG i = 0; i < table->count; ++i)
        own += table->entries[i].pid == static_cast<USHORT>(GetCurrentProcessId());
    return own;
}

bool SamePath(const std::string& a, const char* b) {
    return _mbsicoll(reinterpret_cast<const unsigned char*>(a.c_str()),
                     reinterpret_cast<const unsigned char*>(b)) == 0;
}

bool WaitForForeground(DWORD pid) {
    for (int i = 0; i < 200; ++i) {
        DWORD owner = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &owner);
        if (owner == pid)
            return true;
        Sleep(25);
    }
    return false;
}

CWatchItem Item(const std::string& path, int validCondition) {
    CWatchItem item;
    item.m_strFileName = path.c_str();
    item.m_nValidCondition = validCondition;
    return item;
}

class ProcessList : public ::testing::Test {
protected:
    std::string m_watched = SiblingProgram("WatchedApp.exe");
    std::string m_other = SiblingProgram("OtherApp.exe");
};

TEST_F(ProcessList, FindsRunningProgramsWithPathsAndIdsInEnumerationOrder) {
    std::vector<DWORD> ids;
    std::vector<std::string> paths;
    {
        RunningProgram first(m_watched), other(m_other), second(m_watched);
        ASSERT_TRUE(first.Started() && other.Started() && second.Started());
        ids = {first.Id(), other.Id(), second.Id(), GetCurrentProcessId()};
        paths = {m_watched, m_other, m_watched, SiblingProgram("process_tests.exe")};

        // The newer calls and their fallback alike.
        for (CProcessList::Api api :
             {CProcessList::kApiByPlatform, CProcessList::kApiProcessStatus}) {
            SCOPED_TRACE(api);
            CProcessList list(api);
            int count = list.Refresh();
            std::vector<DWORD> bare = BareProcessIds();
            EXPECT_EQ(count, list.GetCount());
            std::vector<int> positions = PositionsOf(list, ids);
            for (size_t i = 0; i < ids.size(); ++i) {
                SCOPED_TRACE(paths[i]);
                ASSERT_NE(-1, positions[i]);
                EXPECT_STREQ(paths[i].c_str(), list.GetAt(positions[i]).m_strPath);
            }
            // The list keeps the system's order.
            std::vector<std::pair<size_t, int>> order;
            for (size_t i = 0; i < ids.size(); ++i) {
                size_t inBare = std::find(bare.begin(), bare.end(), ids[i]) - bare.begin();
                order.emplace_back(inBare, positions[i]);
            }
            std::sort(order.begin(), order.end());
            for (size_t i = 1; i < order.size(); ++i)
                EXPECT_LT(order[i - 1].second, order[i].second);
        }
    }
    // Nothing survives from the earlier snapshot once the helpers are gone.
    CProcessList list;
    list.Refresh();
    list.Refresh();
    std::vector<int> positions = PositionsOf(list, ids);
    EXPECT_EQ(std::vector<int>({-1, -1, -1}),
              std::vector<int>(positions.begin(), positions.begin() + 3));
    EXPECT_NE(-1, positions[3]);
}

TEST_F(ProcessList, OlderFamilyEnumerationSeesTheSamePrograms) {
    RunningProgram watched(m_watched), other(m_other);
    ASSERT_TRUE(watched.Started() && other.Started());
    CProcessList list(CProcessList::kApiToolHelp);
    list.Refresh();
    std::vector<int> positions = PositionsOf(list, {watched.Id(), other.Id()});
    ASSERT_NE(-1, positions[0]);
    ASSERT_NE(-1, positions[1]);
    // The tool-help record holds only the file name on the NT family.
    std::string watchedName = list.GetAt(positions[0]).m_strPath.GetString();
    EXPECT_TRUE(SamePath(watchedName.substr(watchedName.find_last_of('\\') + 1), "WatchedApp.exe"))
        << watchedName;
}

// Some processes open but their path cannot be read (Wine's own ones in the
// 32-bit run, without QueryFullProcessImageNameA): those handles must be
// closed as well.
TEST_F(ProcessList, LeavesNoHandleOpen) {
    RunningProgram watched(m_watched), other(m_other);
    ASSERT_TRUE(watched.Started() && other.Started());
    CWatchList watchList;
    watchList.Add(Item(m_watched, 1));
    CWatchEvaluator evaluator(watchList);
    CProcessList list, toolHelp(CProcessList::kApiToolHelp);
    // The first calls load the libraries.
    list.Refresh();
    toolHelp.Refresh();
    evaluator.FindFirstInEffect(nullptr);

    long before = CountOwnHandles();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 100; ++i) {
        ASSERT_GT(list.Refresh(), 2);
        toolHelp.Refresh();
        BYTE foreground = 0;
        ASSERT_EQ(0, evaluator.FindFirstInEffect(&foreground));
    }
    EXPECT_EQ(before, CountOwnHandles());
}

TEST_F(ProcessList, EvaluatesRunningProgramsAndTheirForegroundWindows) {
    RunningProgram first(m_watched), other(m_other), second(m_watched);
    ASSERT_TRUE(first.Started() && other.Started() && second.Started());
    CWatchList watchList;
    watchList.Add(Item(m_other, 2));                // 0: in the background
    watchList.Add(Item(m_watched, 2));              // 1: one instance in the foreground
    watchList.Add(Item(m_other, 1));                // 2: running
    watchList.Add(Item(m_watched + ".missing", 1)); // 3: not running
    watchList.Add(Item(m_other, 0));                // 4: disabled
    CWatchEvaluator evaluator(watchList);

    // Whichever instance the system lists later, it counts as well.
    for (const RunningProgram* front : {&first, &second}) {
        HWND hWnd = front->Window();
        ASSERT_TRUE(hWnd != nullptr);
        SetForegroundWindow(hWnd);
        ASSERT_TRUE(WaitForForeground(front->Id()));
        BYTE foreground = 0xEE;
        EXPECT_EQ(1, evaluator.FindFirstInEffect(&foreground));
        EXPECT_EQ(1, foreground);
        EXPECT_EQ(2, evaluator.FindNextInEffect());
        EXPECT_EQ(-1, evaluator.FindNextInEffect());
    }

    HWND hOther = other.Window();
    ASSERT_TRUE(hOther != nullptr);
    SetForegroundWindow(hOther);
    ASSERT_TRUE(WaitForForeground(other.Id()));
    BYTE foreground = 0xEE;
    EXPECT_EQ(0, evaluator.FindFirstInEffect(&foreground));
    EXPECT_EQ(1, foreground);
    EXPECT_EQ(2, evaluator.FindNextInEffect());
    EXPECT_EQ(-1, evaluator.FindNextInEffect());
}

TEST_F(ProcessList, MatchesAChinesePathInAnyLetterCase) {
    TempDir dir;
    std::string folder = dir.File("\xB3\xCC\xD0\xF2"); // "程序" in code page 936
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::string copy = folder + "\\WatchedApp.exe";
    ASSERT_TRUE(CopyFileA(m_watched.c_str(), copy.c_str(), FALSE));
    {
        RunningProgram program(copy);
        ASSERT_TRUE(program.Started());
        CProcessList list;
        list.Refresh();
        std::vector<int> positions = PositionsOf(list, {program.Id()});
        ASSERT_NE(-1, positions[0]);
        EXPECT_STREQ(copy.c_str(), list.GetAt(positions[0]).m_strPath);

        std::string upper = folder + "\\WATCHEDAPP.EXE";
        CWatchList watchList;
        watchList.Add(Item(upper, 1));
        CWatchEvaluator evaluator(watchList);
        EXPECT_EQ(0, evaluator.FindFirstInEffect(nullptr));
    }
}

// Wine's kernel32 only: a Windows path as its Unix one.
using UnixNameFn = char*(CDECL*)(const wchar_t*);
UnixNameFn WineUnixName() {
    return reinterpret_cast<UnixNameFn>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
}

// Starts a copy of the program deep in a folder tree, its path longer than
// MAX_PATH, and returns that path (empty when it did not start). Wine starts
// such a program only from its Unix side: its loader, through the Unix shell.
std::wstring StartDeepCopy(const std::string& folder, const std::string& program) {
    std::wstring path = Wide(folder);
    for (wchar_t c = L'a'; c < L'e'; ++c) {
        path += L"\\" + std::wstring(80, c);
        CreateDirectoryW((L"\\\\?\\" + path).c_str(), nullptr);
    }
    path += L"\\WatchedApp.exe";
    char loader[MAX_PATH] = "";
    char* unixFile = nullptr;
    if (!CopyFileW(Wide(program).c_str(), (L"\\\\?\\" + path).c_str(), FALSE) ||
        !GetEnvironmentVariableA("WINELOADER", loader, sizeof loader) ||
        !(unixFile = WineUnixName()(path.c_str())))
        return L"";
    std::wstring cmd = L"sh -c \"exec '" + Wide(loader) + L"' '" + Wide(unixFile) +
                       L"' </dev/null >/dev/null 2>&1\"";
    HeapFree(GetProcessHeap(), 0, unixFile);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(L"Z:\\bin\\sh", &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return L"";
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return path;
}

TEST_F(ProcessList, ListsAndWatchesAProgramWhosePathIsLongerThanMaxPath) {
    if (!WineUnixName())
        GTEST_SKIP() << "starts the program through Wine's loader";
    TempDir dir;
    const std::wstring deep = StartDeepCopy(dir.Path(), m_watched);
    ASSERT_FALSE(deep.empty());
    CString path;
    ASSERT_TRUE(AnsiFromWide(deep.c_str(), &path));
    CWatchList watchList;
    watchList.Add(Item(path.GetString(), 1));
    CWatchEvaluator evaluator(watchList);
    for (int i = 0; i < 200 && evaluator.FindFirstInEffect(nullptr) != 0; ++i)
        Sleep(50);
    EXPECT_EQ(0, evaluator.FindFirstInEffect(nullptr));
    // The fallback reads the same path; the copy ends, and its tree goes,
    // which TempDir cannot reach.
    CProcessList list(CProcessList::kApiProcessStatus);
    list.Refresh();
    int found = 0;
    for (int i = 0; i < list.GetCount(); ++i) {
        if (SamePath(path.GetString(), list.GetAt(i).m_strPath)) {
            ++found;
            HANDLE h =
                OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, list.GetAt(i).m_dwProcessId);
            TerminateProcess(h, 9);
            WaitForSingleObject(h, 10000);
            CloseHandle(h);
        }
    }
    EXPECT_EQ(1, found);
    const std::wstring prefix = L"\\\\?\\";
    DeleteFileW((prefix + deep).c_str());
    for (std::wstring p = deep; p.erase(p.find_last_of(L'\\')).size() > dir.Path().size();)
        RemoveDirectoryW((prefix + p).c_str());
}

TEST_F(ProcessList, SnapshotOfNamedProgramsHoldsOnlyTheirProcesses) {
    RunningProgram first(m_watched), other(m_other), second(m_watched);
    ASSERT_TRUE(first.Started() && other.Started() && second.Started());
    CProcessList list;
    EXPECT_EQ(2, list.RefreshNamed({"watchedapp.EXE"}));
    EXPECT_EQ(std::vector<int>({0, 1}), PositionsOf(list, {first.Id(), second.Id()}));
    EXPECT_STREQ(m_watched.c_str(), list.GetAt(0).m_strPath);
    EXPECT_EQ(3, list.RefreshNamed({"OtherApp.exe", "Missing.exe", "WatchedApp.exe"}));
    EXPECT_EQ(0, list.RefreshNamed({}));
}

// Takes every snapshot in full, as before the evaluation learnt to open only
// the processes of the watched programs.
class FullSnapshotEvaluator : public CWatchEvaluator {
public:
    using CWatchEvaluator::CWatchEvaluator;

protected:
    void TakeSnapshot(CProcessList& processes, DWORD& dwForegroundPid) override {
        processes.Refresh();
        dwForegroundPid = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &dwForegroundPid);
    }
};

std::vector<int> Walk(CWatchEvaluator& evaluator, const CWatchList& watchList) {
    std::vector<int> answer;
    BYTE foreground = 0xEE;
    for (int i = evaluator.FindFirstInEffect(&foreground); i >= 0; i = evaluator.FindNextInEffect())
        answer.push_back(i);
    answer.push_back(foreground);
    for (int i = 0; i < watchList.GetCount(); ++i)
        answer.push_back(evaluator.IsInEffect(*watchList.GetAt(i), nullptr));
    return answer;
}

TEST_F(ProcessList, SnapshotOfWatchedProgramsDecidesAsTheFullSnapshot) {
    RunningProgram first(m_watched), other(m_other), second(m_watched);
    ASSERT_TRUE(first.Started() && other.Started() && second.Started());
    // Every program that runs, with each condition, in other letter cases,
    // and names that are no full path.
    CProcessList running;
    ASSERT_GT(running.Refresh(), 3);
    CWatchList watchList;
    watchList.Add(Item("WatchedApp.exe", 1));
    watchList.Add(Item("", 1));
    for (int i = 0; i < running.GetCount(); ++i) {
        std::string path = running.GetAt(i).m_strPath.GetString();
        std::string lower = path;
        _mbslwr(reinterpret_cast<unsigned char*>(&lower[0]));
        watchList.Add(Item(path, 2));
        watchList.Add(Item(lower, i % 3));
        watchList.Add(Item(path + ".missing", 1));
    }
    FullSnapshotEvaluator full(watchList);
    CWatchEvaluator watched(watchList);

    for (const RunningProgram* front : {&first, &other, &second}) {
        HWND hWnd = front->Window();
        ASSERT_TRUE(hWnd != nullptr);
        SetForegroundWindow(hWnd);
        ASSERT_TRUE(WaitForForeground(front->Id()));
        std::vector<int> expected = Walk(full, watchList);
        EXPECT_EQ(expected, Walk(watched, watchList));
    }
}

// A 32-bit program on 64-bit Windows reads the paths of 64-bit processes too.
// The 64-bit build's helper comes from the sibling build tree, which
// tools/test.sh builds first; there it must be present.
#ifdef QV_X64_WATCHED_APP
TEST_F(ProcessList, SeesA64BitProgram) {
    char full[MAX_PATH];
    std::string relative = SiblingProgram(QV_X64_WATCHED_APP);
    ASSERT_NE(0u, GetFullPathNameA(relative.c_str(), sizeof full, full, nullptr));
    std::string watched64 = full;
    if (GetFileAttributesA(watched64.c_str()) == INVALID_FILE_ATTRIBUTES) {
        ASSERT_EQ(nullptr, std::getenv("QV_REQUIRE_X64_HELPER"))
            << watched64 << " is missing although the 64-bit build ran first";
        GTEST_SKIP() << "no 64-bit helper at " << watched64 << ": build x86_64 first";
    }
    RunningProgram program(watched64);
    ASSERT_TRUE(program.Started());

    CProcessList list;
    list.Refresh();
    std::vector<int> positions = PositionsOf(list, {program.Id()});
    ASSERT_NE(-1, positions[0]);
    EXPECT_STREQ(watched64.c_str(), list.GetAt(positions[0]).m_strPath);

    CWatchList watchList;
    watchList.Add(Item(m_other, 1)); // not running
    watchList.Add(Item(watched64, 2));
    CWatchEvaluator evaluator(watchList);
    HWND hWnd = program.Window();
    ASSERT_TRUE(hWnd != nullptr);
    SetForegroundWindow(hWnd);
    ASSERT_TRUE(WaitForForeground(program.Id()));
    BYTE foreground = 0xEE;
    EXPECT_EQ(1, evaluator.FindFirstInEffect(&foreground));
    EXPECT_EQ(1, foreground);
}
#endif

} // namespace
