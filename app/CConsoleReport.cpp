#include "CConsoleReport.h"

#include "WideText.h"

namespace {

// A file, a pipe or a device such as NUL: not a console, which a program of
// the Windows subsystem can write only once it is attached to it.
bool IsRedirected(HANDLE hStream) {
    if (!hStream || hStream == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD dwMode = 0;
    switch (GetFileType(hStream)) {
    case FILE_TYPE_DISK:
    case FILE_TYPE_PIPE:
        return true;
    case FILE_TYPE_CHAR:
        return !GetConsoleMode(hStream, &dwMode);
    default:
        return false;
    }
}

// Line ends as Windows text has them.
std::wstring AsLines(const std::wstring& text) {
    std::wstring lines;
    for (wchar_t ch : text) {
        if (ch == L'\n') {
            lines += L'\r';
        }
        lines += ch;
    }
    return lines + L"\r\n";
}

} // namespace

CConsoleReport::~CConsoleReport() {
    if (m_hConsole != INVALID_HANDLE_VALUE) {
        CloseHandle(m_hConsole);
    }
    if (m_bAttached) {
        FreeConsole();
    }
}

bool CConsoleReport::Write(DWORD nStdHandle, const std::wstring& text) {
    const std::wstring lines = AsLines(text);
    HANDLE hStream = GetStdHandle(nStdHandle);
    DWORD dwWritten = 0;
    if (IsRedirected(hStream)) {
        // As console programs write: in the console's code page when there is
        // one, else in the OEM code page that cmd.exe and its tools read.
        const UINT nConsoleCodePage = GetConsoleOutputCP();
        std::string bytes;
        CodePageFromWide(lines.c_str(), nConsoleCodePage ? nConsoleCodePage : GetOEMCP(), &bytes);
        return WriteFile(hStream, bytes.data(), static_cast<DWORD>(bytes.size()), &dwWritten,
                         nullptr) != FALSE;
    }
    HANDLE hConsole = Console();
    return hConsole != INVALID_HANDLE_VALUE &&
           WriteConsoleW(hConsole, lines.data(), static_cast<DWORD>(lines.size()), &dwWritten,
                         nullptr) != FALSE;
}

HANDLE CConsoleReport::Console() {
    if (m_bConsoleTried) {
        return m_hConsole;
    }
    m_bConsoleTried = true;
    m_bAttached = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
    // Refused also when this process has a console already: it writes there.
    if (m_bAttached || GetLastError() == ERROR_ACCESS_DENIED) {
        m_hConsole =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    return m_hConsole;
}
