// Saves two different watch lists into one file, alternately, until killed.
#include "TestPaths.h"
#include "WatchListPatterns.h"

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    CWatchList a, b;
    FillPattern(a, 'A', 3);
    FillPattern(b, 'B', 5);
    const std::wstring path = Wide(argv[1]);
    for (;;) {
        b.Save(path.c_str());
        a.Save(path.c_str());
    }
}
