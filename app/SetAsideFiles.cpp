#include "SetAsideFiles.h"

#include <string>

namespace {

const wchar_t* const kProgramFiles[] = {L"Murvel.exe.", L"TessikDLL.dll."};
const wchar_t kSuffix[] = L".old";
// Long enough for any path the system hands out.
const DWORD kPathChars = 32768;

bool HasPrefix(const std::wstring& name, const wchar_t* pszPrefix) {
    const int n = lstrlenW(pszPrefix);
    return static_cast<int>(name.size()) >= n &&
           CompareStringOrdinal(name.c_str(), n, pszPrefix, n, TRUE) == CSTR_EQUAL;
}

} // namespace

bool IsSetAsideName(const wchar_t* pszName) {
    const std::wstring name(pszName ? pszName : L"");
    const int nSuffix = lstrlenW(kSuffix);
    for (const wchar_t* pszPrefix : kProgramFiles) {
        // Something between the name and ".old": the number that set it apart.
        const size_t nMinimum = static_cast<size_t>(lstrlenW(pszPrefix) + nSuffix + 1);
        if (HasPrefix(name, pszPrefix) && name.size() >= nMinimum &&
            CompareStringOrdinal(name.c_str() + name.size() - nSuffix, nSuffix, kSuffix, nSuffix,
                                 TRUE) == CSTR_EQUAL) {
            return true;
        }
    }
    return false;
}

void DeleteSetAsideFiles() {
    std::wstring folder(kPathChars, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, &folder[0], kPathChars);
    if (n == 0 || n >= kPathChars) {
        return;
    }
    folder.resize(n);
    folder.erase(folder.find_last_of(L'\\') + 1);
    WIN32_FIND_DATAW found;
    HANDLE hFind = FindFirstFileW((folder + L"*.old").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            IsSetAsideName(found.cFileName)) {
            DeleteFileW((folder + found.cFileName).c_str());
        }
    } while (FindNextFileW(hFind, &found));
    FindClose(hFind);
}
