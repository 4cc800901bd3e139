#include "CWatchList.h"
#include "TempDir.h"
#include "TestPaths.h"
#include "../helpers/WatchListPatterns.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

namespace {

// A process killed at any moment of a save leaves the old list or the new one.
TEST(WatchListSave, KilledMidSaveLeavesTheOldOrTheNewList) {
    TempDir dir;
    std::string path = dir.File("Tessik.dat");
    CWatchList list;
    FillPattern(list, 'A', 3);
    ASSERT_EQ(1, list.Save(Wide(path).c_str()));

    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delay(0, 120);
    std::string helper = SiblingProgram("SaveLoop.exe");
    int sawB = 0;
    for (int round = 0; round < 25; ++round) {
        std::string cmd = "\"" + helper + "\" \"" + path + "\"";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        ASSERT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &si, &pi));
        // Let it run a little past its start-up before the kill.
        Sleep(60 + delay(random));
        TerminateProcess(pi.hProcess, 9);
        WaitForSingleObject(pi.hProcess, 5000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);

        list.Load(Wide(path).c_str());
        char seen = MatchPattern(list);
        ASSERT_NE(0, seen) << "round " << round << ": a mixed list of " << list.GetCount();
        sawB += seen == 'B';
    }
    // The kills must have landed while saving, not all before the first save.
    EXPECT_GT(sawB, 0);
}

} // namespace
