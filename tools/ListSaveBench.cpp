// Prints the time of one save of a watch list of 10, 1,000 and 10,000 records,
// the one-pass save next to the key-by-key save it replaced, over the damaged
// two-line list file that loads 10,000 records. The key-by-key save grows with
// the square of the count: it runs up to 1,000 records and is estimated above.
// Usage: ListSaveBench
#include "CWatchList.h"
#include "KeyByKeySave.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Fill(CWatchList& list, int count) {
    list.RemoveAll();
    for (int i = 0; i < count; ++i) {
        CWatchItem item;
        char text[128];
        // 应用 in GBK, as the list holds Chinese paths and titles.
        std::snprintf(text, sizeof text, "C:\\Program Files\\\xd3\xa6\xd3\xc3 %d\\app%d.exe", i, i);
        item.m_strFileName = text;
        std::snprintf(text, sizeof text, "\xd3\xa6\xd3\xc3 %d", i);
        item.m_strTitle = text;
        item.m_nValidCondition = i % 3;
        list.Add(item);
    }
}

bool WriteDamaged(const std::string& path) {
    static const char kText[] = "[Main]\r\nCount=99999\r\n";
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(h, kText, sizeof kText - 1, &written, nullptr) != FALSE;
    CloseHandle(h);
    return ok;
}

// Seconds of one save over a fresh damaged file, or -1 when it failed.
template <class Save> double Time(const std::string& path, Save save) {
    if (!WriteDamaged(path))
        return -1;
    double start = Now();
    int ok = save(path.c_str());
    double seconds = Now() - start;
    return ok ? seconds : -1;
}

} // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string path = std::string(temp) + "ListSaveBench.dat";
    const int kOldLimit = 1000;

    std::printf("%8s %16s %14s %18s\n", "records", "key by key (s)", "one pass (s)",
                "one pass again (s)");
    double oldAtLimit = 0;
    CWatchList list;
    for (int count : {10, 1000, 10000}) {
        Fill(list, count);
        char old[48];
        if (count <= kOldLimit) {
            double t = Time(path, [&list](const char* p) { return KeyByKeySave(list, p); });
            std::snprintf(old, sizeof old, "%.3f", t);
            oldAtLimit = t;
        } else {
            double factor = static_cast<double>(count) / kOldLimit;
            std::snprintf(old, sizeof old, "~%.0f (est.)", oldAtLimit * factor * factor);
        }
        double once = Time(path, [&list](const char* p) { return list.Save(Wide(p).c_str()); });
        // Again at once over the file just written: every section is read back.
        double start = Now();
        int ok = list.Save(Wide(path).c_str());
        double again = ok ? Now() - start : -1;
        std::printf("%8d %16s %14.3f %18.3f\n", count, old, once, again);
    }

    // A long list cut short leaves its records behind, and they are carried along.
    Fill(list, 10000);
    list.Save(Wide(path).c_str());
    Fill(list, 10);
    double start = Now();
    int ok = list.Save(Wide(path).c_str());
    double stale = ok ? Now() - start : -1;
    std::printf("10 records over a file of 10,000: %.3f s\n", stale);
    std::printf("key by key runs up to %d records; above that its time is estimated from %d "
                "with the square of the count.\n",
                kOldLimit, kOldLimit);
    DeleteFileA(path.c_str());
    return 0;
}
