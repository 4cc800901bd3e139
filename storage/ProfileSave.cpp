#include "ProfileSave.h"

#include "PlainRecordSections.h"

#include <new>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

// Removes the new file of a save, also when a save that died left it read-only.
void RemoveNewFile(const wchar_t* pszNew) {
    SetFileAttributesW(pszNew, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(pszNew);
}

// The file's bytes; false when it exists but cannot be read. A missing file
// reads as empty: the file is new.
bool ReadRaw(const wchar_t* pszPath, std::string& bytes) {
    bytes.clear();
    HANDLE h = CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD err = GetLastError();
        return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
    }
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(h, &size) != FALSE && size.QuadPart < (256 << 20);
    DWORD read = 0;
    if (ok) {
        bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
        ok = bytes.empty() ||
             (ReadFile(h, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) &&
              read == bytes.size());
    }
    CloseHandle(h);
    return ok;
}

// The sections of the current file, each as the platform reads it, except
// the records that the save writes anew and that hold nothing else.
void ReadOldFile(const wchar_t* pszPath, const std::string& raw, int nRewrittenRecords,
                 CProfileText& text) {
    std::vector<std::string> names = CProfileText::ReadSectionNames(pszPath);
    std::unordered_set<std::string> unread;
    if (nRewrittenRecords > 0)
        unread = PlainRecordSections(raw, names, nRewrittenRecords);
    text.ReadSections(pszPath, names, unread);
}

// The new file is on the disk before the rename makes it the file: after a
// power cut the rename may have reached the disk and the data not.
bool WriteAndFlush(const wchar_t* pszPath, const std::string& text) {
    HANDLE h = CreateFileW(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = (text.empty() ||
               (WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                written == text.size())) &&
              FlushFileBuffers(h);
    return CloseHandle(h) && ok;
}

} // namespace

int SaveProfileInOneStep(const wchar_t* pszPath, int nRewrittenRecords,
                         const std::function<bool(CProfileText&)>& write) {
    // Windows refuses to replace a read-only file, but only at the rename,
    // and Wine replaces it anyway: the user's protection is honoured here,
    // before anything is written beside it.
    const DWORD attributes = GetFileAttributesW(pszPath);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    bool ok = false;
    std::wstring newPath;
    try {
        newPath = pszPath;
        newPath += L".new";
        std::string raw;
        if (!ReadRaw(pszPath, raw)) {
            if (GetLastError() == ERROR_SUCCESS)
                SetLastError(ERROR_READ_FAULT);
            return 0;
        }
        CProfileText text;
        if (!raw.empty())
            ReadOldFile(pszPath, raw, nRewrittenRecords, text);
        // A new file left by a save that died (read-only, perhaps) must not
        // stand in the way.
        RemoveNewFile(newPath.c_str());
        ok = write(text) && WriteAndFlush(newPath.c_str(), text.GetText()) &&
             MoveFileExW(newPath.c_str(), pszPath,
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        ok = false;
    }
    if (!ok && !newPath.empty()) {
        // The caller tells the user why, so the cause outlives the clean-up.
        const DWORD error = GetLastError();
        RemoveNewFile(newPath.c_str());
        SetLastError(error ? error : ERROR_WRITE_FAULT);
    }
    return ok ? 1 : 0;
}
