#pragma once

#include <windows.h>

#include <string>

// Where a start started by a script tells what it found, instead of a message
// box that nobody would answer: the standard output or error it was given
// when that is a file or a pipe, else the console of the process that started
// it. A start from the shell has neither, and the caller shows its box.
class CConsoleReport {
public:
    CConsoleReport() = default;
    CConsoleReport(const CConsoleReport&) = delete;
    CConsoleReport& operator=(const CConsoleReport&) = delete;
    // Lets the console go that Write attached to.
    ~CConsoleReport();

    // Writes the text and a line end to STD_OUTPUT_HANDLE or STD_ERROR_HANDLE;
    // false when there is nowhere to write it.
    bool Write(DWORD nStdHandle, const std::wstring& text);

private:
    // The parent's console output, attached to on first use;
    // INVALID_HANDLE_VALUE when there is none.
    HANDLE Console();

    bool m_bConsoleTried = false;
    bool m_bAttached = false;
    HANDLE m_hConsole = INVALID_HANDLE_VALUE;
};
