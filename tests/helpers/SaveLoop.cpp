// Saves two different watch lists (or, with "settings" after the path, two
// different settings) into one file, alternately, until killed.
#include "TestPaths.h"
#include "WatchListPatterns.h"

#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    const std::wstring path = Wide(argv[1]);
    if (argc > 2 && std::strcmp(argv[2], "settings") == 0) {
        for (;;) {
            SaveSettingsPattern(path.c_str(), 'B');
            SaveSettingsPattern(path.c_str(), 'A');
        }
    }
    CWatchList a, b;
    FillPattern(a, 'A', 3);
    FillPattern(b, 'B', 5);
    for (;;) {
        b.Save(path.c_str());
        a.Save(path.c_str());
    }
}
