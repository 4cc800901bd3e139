// Saves two different watch lists into one file, alternately, until killed.
#include "WatchListPatterns.h"

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    CWatchList a, b;
    FillPattern(a, 'A', 3);
    FillPattern(b, 'B', 5);
    for (;;) {
        b.Save(argv[1]);
        a.Save(argv[1]);
    }
}
