#include "ProgramImage.h"

#include <string>

namespace {

// Long enough for any path the system hands out.
const DWORD kPathChars = 32768;

std::wstring OwnImagePath() {
    std::wstring path(kPathChars, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, &path[0], kPathChars);
    path.resize(n < kPathChars ? n : 0);
    return path;
}

std::wstring ProcessImagePath(DWORD dwProcessId) {
    std::wstring path;
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, dwProcessId);
    if (!hProcess) {
        return path;
    }
    path.resize(kPathChars);
    DWORD n = kPathChars;
    if (!QueryFullProcessImageNameW(hProcess, 0, &path[0], &n)) {
        n = 0;
    }
    path.resize(n);
    CloseHandle(hProcess);
    return path;
}

bool ReadFileIdentity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION* pInfo) {
    HANDLE hFile = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool bRead = GetFileInformationByHandle(hFile, pInfo) != FALSE;
    CloseHandle(hFile);
    return bRead;
}

} // namespace

bool IsRunningThisProgram(DWORD dwProcessId) {
    const std::wstring own = OwnImagePath();
    const std::wstring other = ProcessImagePath(dwProcessId);
    if (own.empty() || other.empty()) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION ownInfo, otherInfo;
    if (ReadFileIdentity(own, &ownInfo) && ReadFileIdentity(other, &otherInfo)) {
        return ownInfo.dwVolumeSerialNumber == otherInfo.dwVolumeSerialNumber &&
               ownInfo.nFileIndexHigh == otherInfo.nFileIndexHigh &&
               ownInfo.nFileIndexLow == otherInfo.nFileIndexLow;
    }
    return CompareStringOrdinal(own.c_str(), -1, other.c_str(), -1, TRUE) == CSTR_EQUAL;
}
