#include "OtherCopy.h"

#include "ProgramImage.h"
#include "WideText.h"

#include <tlhelp32.h>

namespace {

DWORD SessionOf(DWORD dwProcessId) {
    DWORD dwSessionId = static_cast<DWORD>(-1);
    return ProcessIdToSessionId(dwProcessId, &dwSessionId) ? dwSessionId : static_cast<DWORD>(-1);
}

// A process of this session, other than this one, that runs a copy of the
// program from another file; its folder then.
bool IsOtherCopy(DWORD dwProcessId, std::wstring* pFolder) {
    const DWORD dwOwnSession = SessionOf(GetCurrentProcessId());
    if (dwProcessId == GetCurrentProcessId() || dwOwnSession == static_cast<DWORD>(-1) ||
        SessionOf(dwProcessId) != dwOwnSession) {
        return false;
    }
    const std::wstring path = ProcessImagePath(dwProcessId);
    if (path.empty() || !IsProgramCopy(path) || IsRunningThisProgram(dwProcessId)) {
        return false;
    }
    *pFolder = FolderOfPath(path);
    return true;
}

struct WindowSearch {
    HWND hFound = nullptr;
    std::wstring folder;
};

BOOL CALLBACK CheckWindow(HWND hWnd, LPARAM lParam) {
    WindowSearch* pSearch = reinterpret_cast<WindowSearch*>(lParam);
    wchar_t szClass[16] = L"";
    GetClassNameW(hWnd, szClass, 16);
    DWORD dwProcessId = 0;
    if (lstrcmpW(szClass, L"#32770") != 0 || !GetMenu(hWnd) ||
        !GetWindowThreadProcessId(hWnd, &dwProcessId) ||
        !IsOtherCopy(dwProcessId, &pSearch->folder)) {
        return TRUE;
    }
    pSearch->hFound = hWnd;
    return FALSE;
}

class ScopedSnapshot {
public:
    ScopedSnapshot() : m_h(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)) {}
    ScopedSnapshot(const ScopedSnapshot&) = delete;
    ScopedSnapshot& operator=(const ScopedSnapshot&) = delete;
    ~ScopedSnapshot() {
        if (m_h != INVALID_HANDLE_VALUE) {
            CloseHandle(m_h);
        }
    }
    HANDLE Get() const { return m_h; }

private:
    HANDLE m_h;
};

} // namespace

HWND FindOtherCopyWindow(std::wstring* pFolder) {
    WindowSearch search;
    EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
    if (search.hFound) {
        *pFolder = search.folder;
    }
    return search.hFound;
}

std::wstring FindOtherCopyFolder() {
    ScopedSnapshot snapshot;
    if (snapshot.Get() == INVALID_HANDLE_VALUE) {
        return std::wstring();
    }
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    std::wstring folder;
    for (BOOL bOk = Process32FirstW(snapshot.Get(), &entry); bOk;
         bOk = Process32NextW(snapshot.Get(), &entry)) {
        if (CompareStringOrdinal(entry.szExeFile, -1, L"Murvel.exe", -1, TRUE) == CSTR_EQUAL &&
            IsOtherCopy(entry.th32ProcessID, &folder)) {
            return folder;
        }
    }
    return std::wstring();
}
