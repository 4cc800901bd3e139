#include "ProgramImage.h"

#include <string>
#include <vector>

namespace {

// Long enough for any path the system hands out.
const DWORD kPathChars = 32768;

std::wstring OwnImagePath() {
    std::wstring path(kPathChars, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, &path[0], kPathChars);
    path.resize(n < kPathChars ? n : 0);
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

namespace {

using GetFileVersionInfoSizeWFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
using GetFileVersionInfoWFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
using VerQueryValueWFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

// Bound by name when first needed: only a start that meets another copy
// reads a version resource, and the program imports nothing for it.
struct VersionApi {
    GetFileVersionInfoSizeWFn pSize = nullptr;
    GetFileVersionInfoWFn pInfo = nullptr;
    VerQueryValueWFn pQuery = nullptr;
};

template <typename Fn> Fn Bind(HMODULE hModule, const char* pszName) {
    return hModule ? reinterpret_cast<Fn>(
                         reinterpret_cast<void (*)()>(GetProcAddress(hModule, pszName)))
                   : nullptr;
}

const VersionApi& LoadVersionApi() {
    static const VersionApi api = [] {
        VersionApi bound;
        HMODULE hVersion = LoadLibraryW(L"version.dll");
        bound.pSize = Bind<GetFileVersionInfoSizeWFn>(hVersion, "GetFileVersionInfoSizeW");
        bound.pInfo = Bind<GetFileVersionInfoWFn>(hVersion, "GetFileVersionInfoW");
        bound.pQuery = Bind<VerQueryValueWFn>(hVersion, "VerQueryValueW");
        return bound;
    }();
    return api;
}

bool IsNamed(const std::wstring& path, const wchar_t* pszFileName) {
    const size_t slash = path.find_last_of(L'\\');
    const wchar_t* pszName = path.c_str() + (slash == std::wstring::npos ? 0 : slash + 1);
    return CompareStringOrdinal(pszName, -1, pszFileName, -1, TRUE) == CSTR_EQUAL;
}

bool HasString(const VersionApi& api, const void* pBlock, const wchar_t* pszKey,
               const wchar_t* pszWanted) {
    void* pValue = nullptr;
    UINT cch = 0;
    return api.pQuery(pBlock, pszKey, &pValue, &cch) && pValue && cch > 0 &&
           CompareStringOrdinal(static_cast<const wchar_t*>(pValue), -1, pszWanted, -1, FALSE) ==
               CSTR_EQUAL;
}

} // namespace

bool IsProgramCopy(const std::wstring& path) {
    const VersionApi& api = LoadVersionApi();
    if (!IsNamed(path, L"Murvel.exe") || !api.pSize || !api.pInfo || !api.pQuery) {
        return false;
    }
    DWORD dwHandle = 0;
    const DWORD cb = api.pSize(path.c_str(), &dwHandle);
    if (cb == 0) {
        return false;
    }
    std::vector<BYTE> block(cb);
    if (!api.pInfo(path.c_str(), 0, cb, block.data())) {
        return false;
    }
    struct Translation {
        WORD wLanguage;
        WORD wCodePage;
    };
    Translation* pTranslations = nullptr;
    UINT cbTranslations = 0;
    if (!api.pQuery(block.data(), L"\\VarFileInfo\\Translation",
                    reinterpret_cast<void**>(&pTranslations), &cbTranslations)) {
        return false;
    }
    for (UINT i = 0; pTranslations && i < cbTranslations / sizeof(Translation); ++i) {
        wchar_t szBlock[64];
        wsprintfW(szBlock, L"\\StringFileInfo\\%04x%04x\\", pTranslations[i].wLanguage,
                  pTranslations[i].wCodePage);
        const std::wstring prefix(szBlock);
        if (HasString(api, block.data(), (prefix + L"ProductName").c_str(), L"Qorvane") &&
            HasString(api, block.data(), (prefix + L"InternalName").c_str(), L"Murvel")) {
            return true;
        }
    }
    return false;
}
