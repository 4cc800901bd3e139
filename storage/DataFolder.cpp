#include "DataFolder.h"

#include "WideText.h"

#include <windows.h>

#include <shlobj.h>

namespace {

const wchar_t* const kDataFiles[] = {L"Tessik.dat", L"Tessik.ini"};
// Setup for all users writes it (package/Qorvane.nsi); nothing else ships it.
const wchar_t kAllUsersMark[] = L"AllUsers.mark";

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ProgramFolder() {
    return FolderOfPath(ModulePath());
}

// The saves write a new file beside the old one and rename it, so what counts
// is whether a file can be created here, not whether the old ones can be
// written in place.
bool CanCreateFileIn(const std::wstring& folder) {
    const std::wstring name = folder + L"Tessik.probe-" + std::to_wstring(GetCurrentProcessId());
    HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(h);
    return true;
}

std::wstring UserDataFolder() {
    wchar_t appData[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, appData))) {
        return std::wstring();
    }
    std::wstring folder(appData);
    folder += L"\\Qorvane\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring DecideDataFolderNow() {
    const std::wstring program = ProgramFolder();
    // Wine, and an administrator on Windows, can write "Program Files": only
    // the mark tells an installation for all users, and with it the probe
    // would only leave a trace there.
    const bool bForAllUsers = IsInstalledForAllUsers();
    const DataFolderChoice choice =
        DecideDataFolder(bForAllUsers, !bForAllUsers && CanCreateFileIn(program));
    if (choice.kind == DataFolderKind::BesideProgram) {
        return program;
    }
    const std::wstring user = UserDataFolder();
    if (user.empty()) {
        return program;
    }
    if (!choice.bCarryOverFiles) {
        return user;
    }
    for (const wchar_t* pszFile : kDataFiles) {
        const std::wstring from = program + pszFile, to = user + pszFile;
        // Only the first time: later the user's copy is the one that counts.
        if (CopyFileW(from.c_str(), to.c_str(), TRUE)) {
            SetFileAttributesW(to.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    }
    return user;
}

} // namespace

DataFolderChoice DecideDataFolder(bool bInstalledForAllUsers, bool bProgramFolderWritable) {
    if (bInstalledForAllUsers) {
        return {DataFolderKind::UserAppData, false};
    }
    if (bProgramFolderWritable) {
        return {DataFolderKind::BesideProgram, false};
    }
    return {DataFolderKind::UserAppData, true};
}

bool IsInstalledForAllUsers() {
    static const bool s_bForAllUsers = FileExists(ProgramFolder() + kAllUsersMark);
    return s_bForAllUsers;
}

std::wstring GetDataFolder() {
    // Decided once, by the first caller (the start): a probe that fails for
    // a moment later on (a virus scanner holding the folder) must not send
    // one save to the other folder, stranding the edits it holds there.
    static const std::wstring s_folder = DecideDataFolderNow();
    return s_folder;
}

std::wstring GetDataFilePath(const wchar_t* pszFileName) {
    return GetDataFolder() + pszFileName;
}
