#pragma once

#include "TempDir.h"

#include <windows.h>

#include <string>

// A copy of the program (or of a variant of it) in a folder of its own, with
// the given files, started and probed from the benchmark: the cycle probe is
// hooked into its GUI thread and counts there.
class BenchProgram {
public:
    // Starts programName (beside the benchmark) with the watch list and
    // settings given; Ok() tells whether it runs and is probed.
    BenchProgram(const char* programName, const std::string& list, const std::string& settings);
    BenchProgram(const BenchProgram&) = delete;
    BenchProgram& operator=(const BenchProgram&) = delete;
    // Closes the program (WM_CLOSE, then ends it after a wait).
    ~BenchProgram();

    bool Ok() const { return m_hMain && m_hCallHook && m_hGetHook; }
    HWND MainWindow() const { return m_hMain; }
    // CPU seconds the program has spent so far.
    double CpuSeconds() const;
    // A property of the main window that the probe keeps.
    UINT_PTR Prop(const char* name) const;

private:
    TempDir m_dir;
    PROCESS_INFORMATION m_pi = {};
    HWND m_hMain = nullptr;
    HMODULE m_hProbe = nullptr;
    HHOOK m_hCallHook = nullptr;
    HHOOK m_hGetHook = nullptr;
};

// A file beside the benchmark.
std::string BenchSibling(const char* name);
// The benchmark's own path.
std::string BenchOwnPath();
