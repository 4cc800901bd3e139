#include "DataFolder.h"

#include "CPathName.h"

#include <shlobj.h>

#include <cstdio>

namespace {

const char* const kDataFiles[] = {"Tessik.dat", "Tessik.ini"};

CString ProgramFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) {
        return CString();
    }
    // The split walks characters: a folder's double-byte name may hold a
    // second byte that reads as a backslash.
    return CString(CPathName(path).GetDirectory());
}

// The saves write a new file beside the old one and rename it, so what counts
// is whether a file can be created here, not whether the old ones can be
// written in place.
bool CanCreateFileIn(const CString& folder) {
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%sTessik.probe-%lu", folder.GetString(),
                  static_cast<unsigned long>(GetCurrentProcessId()));
    HANDLE h = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(h);
    return true;
}

CString UserDataFolder() {
    char appData[MAX_PATH];
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, appData))) {
        return CString();
    }
    CString folder(appData);
    folder += "\\Qorvane\\";
    CreateDirectoryA(folder, nullptr);
    return folder;
}

} // namespace

DataFolderKind DecideDataFolder(bool bProgramFolderWritable) {
    return bProgramFolderWritable ? DataFolderKind::BesideProgram : DataFolderKind::UserAppData;
}

CString GetDataFolder() {
    const CString program = ProgramFolder();
    if (DecideDataFolder(CanCreateFileIn(program)) == DataFolderKind::BesideProgram) {
        return program;
    }
    const CString user = UserDataFolder();
    if (user.IsEmpty()) {
        return program;
    }
    for (const char* pszFile : kDataFiles) {
        CString from = program, to = user;
        from += pszFile;
        to += pszFile;
        // Only the first time: later the user's copy is the one that counts.
        if (CopyFileA(from, to, TRUE)) {
            SetFileAttributesA(to, FILE_ATTRIBUTE_NORMAL);
        }
    }
    return user;
}

CString GetDataFilePath(const char* pszFileName) {
    CString path = GetDataFolder();
    path += pszFileName;
    return path;
}
