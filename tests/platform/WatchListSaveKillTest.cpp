#include "CWatchList.h"
#include "TempDir.h"
#include "TestPaths.h"
#include "../helpers/WatchListPatterns.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

namespace {

// A process killed at any moment of a save leaves the old file or the new
// one, never a part or nothing: the list, and the settings saved the same way.
TEST(WatchListSave, KilledMidSaveLeavesTheOldOrTheNewFile) {
    const struct {
        const char* name;
        const char* mode;
    } kinds[] = {{"Tessik.dat", ""}, {"Tessik.ini", " settings"}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        TempDir dir;
        std::string path = dir.File(kind.name);
        const bool bList = *kind.mode == '\0';
        CWatchList list;
        if (bList) {
            FillPattern(list, 'A', 3);
            ASSERT_EQ(1, list.Save(Wide(path).c_str()));
        } else {
            ASSERT_TRUE(WriteWholeFile(path, "[Config]\r\nLanguage=en\r\n"));
            ASSERT_EQ(1, SaveSettingsPattern(Wide(path).c_str(), 'A'));
        }

        std::mt19937 random(12345);
        std::uniform_int_distribution<int> delay(0, 120);
        std::string helper = SiblingProgram("SaveLoop.exe");
        int sawB = 0;
        for (int round = 0; round < 25; ++round) {
            std::string cmd = "\"" + helper + "\" \"" + path + "\"" + kind.mode;
            STARTUPINFOA si = {};
            si.cb = sizeof si;
            PROCESS_INFORMATION pi = {};
            ASSERT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                                       nullptr, &si, &pi));
            // Let it run a little past its start-up before the kill.
            Sleep(60 + delay(random));
            TerminateProcess(pi.hProcess, 9);
            WaitForSingleObject(pi.hProcess, 5000);
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);

            char seen = 0;
            if (bList) {
                list.Load(Wide(path).c_str());
                seen = MatchPattern(list);
                ASSERT_NE(0, seen) << "round " << round << ": a mixed list of " << list.GetCount();
            } else {
                seen = MatchSettingsPattern(path);
                ASSERT_NE(0, seen) << "round " << round << ": " << ReadWholeFile(path);
            }
            sawB += seen == 'B';
        }
        // The kills must have landed while saving, not all before the first save.
        EXPECT_GT(sawB, 0);
    }
}

} // namespace
