#include "CWatchList.h"

#include "CProfileFile.h"
#include "CProfileText.h"
#include "PlainRecordSections.h"

#include <new>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

CString RecordSection(int nIndex) {
    CString section;
    section.Format("Record_%d", nIndex);
    return section;
}

// Removes the new file of a save, also when a save that died left it read-only.
void RemoveCopy(const char* pszCopy) {
    SetFileAttributesA(pszCopy, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(pszCopy);
}

// Wine parses a profile file anew on every read while its time stamp is less
// than about two seconds old; an older stamp lets it parse the copy once for
// all the section reads of a save.
void BackdateCopy(const char* pszCopy) {
    HANDLE h = CreateFileA(pszCopy, FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart -= 60ull * 10000000ull;
    FILETIME earlier = {t.LowPart, t.HighPart};
    SetFileTime(h, nullptr, nullptr, &earlier);
    CloseHandle(h);
}

// Copies the current file beside it, where the save reads it undisturbed and
// then writes the new list. A missing file is no failure: the list is new.
bool StartCopy(const char* pszPath, const char* pszCopy, bool& copied) {
    RemoveCopy(pszCopy);
    copied = CopyFileA(pszPath, pszCopy, FALSE) != FALSE;
    if (copied) {
        // A read-only list file gives a read-only copy, which a failed save
        // could not remove and every later save would stumble over.
        DWORD attributes = GetFileAttributesA(pszCopy);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesA(pszCopy, attributes & ~FILE_ATTRIBUTE_READONLY);
        BackdateCopy(pszCopy);
        return true;
    }
    DWORD err = GetLastError();
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
}

bool ReadRaw(const char* pszPath, std::string& bytes) {
    HANDLE h = CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
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
void ReadOldFile(const char* pszCopy, int count, CProfileText& text) {
    std::vector<std::string> names = CProfileText::ReadSectionNames(pszCopy);
    std::string raw;
    std::unordered_set<std::string> unread;
    if (ReadRaw(pszCopy, raw))
        unread = PlainRecordSections(raw, names, count);
    text.ReadSections(pszCopy, names, unread);
    // Drops Wine's cached parse of the copy, which is about to change.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, pszCopy);
}

bool WriteAndFlush(const char* pszPath, const std::string& text) {
    HANDLE h = CreateFileA(pszPath, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = (text.empty() ||
               (WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                written == text.size())) &&
              SetEndOfFile(h) && FlushFileBuffers(h);
    return CloseHandle(h) && ok;
}

} // namespace

CWatchList::CWatchList() = default;

CWatchList::~CWatchList() {
    RemoveAll();
}

int CWatchList::Add(const CWatchItem& item) {
    std::unique_ptr<CWatchItem> copy(new (std::nothrow) CWatchItem);
    if (!copy)
        return 0;
    copy->CopyFrom(item);
    try {
        m_items.push_back(std::move(copy));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

void CWatchList::RemoveAt(int nIndex) {
    m_items.erase(m_items.begin() + nIndex);
}

void CWatchList::RemoveAll() {
    m_items.clear();
}

int CWatchList::Load(const char* pszPath) {
    RemoveAll();
    CProfileFile profile(pszPath);
    int count = profile.GetInt("Main", "Count", 0);
    if (count > kMaxLoadedRecords)
        count = kMaxLoadedRecords;
    if (count <= 0)
        return 1;
    // A record without a section takes every read default; knowing that up
    // front spares seven file reads per missing record.
    std::unordered_set<std::string> sections;
    for (const std::string& name : CProfileText::ReadSectionNames(pszPath))
        sections.insert(CProfileText::UpperAscii(name));
    CWatchItem missing;
    missing.SetReadDefaults();
    CWatchItem scratch;
    for (int i = 0; i < count; ++i) {
        CString section = RecordSection(i);
        if (sections.count(CProfileText::UpperAscii(section.GetString())) != 0) {
            scratch.ReadFrom(profile, section);
            Add(scratch);
        } else {
            Add(missing);
        }
    }
    return 1;
}

int CWatchList::IndexOf(const CWatchItem* pItem) const {
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].get() == pItem)
            return static_cast<int>(i);
    }
    return -1;
}

int CWatchList::Save(const char* pszPath) const {
    // Windows refuses to replace a read-only file, but only at the rename,
    // and Wine replaces it anyway: the user's protection is honoured here,
    // before anything is written beside it.
    const DWORD attributes = GetFileAttributesA(pszPath);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    CString copyPath(pszPath);
    copyPath += ".new";
    // A cut name would point the writes at another file.
    bool copied = false;
    if (copyPath.GetLength() >= MAX_PATH || !StartCopy(pszPath, copyPath, copied)) {
        DWORD error = GetLastError();
        RemoveCopy(copyPath);
        // The caller tells the user why, so the cause outlives the clean-up.
        SetLastError(error ? error : ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }

    bool ok = false;
    try {
        CProfileText text;
        if (copied)
            ReadOldFile(copyPath, GetCount(), text);
        ok = text.WriteInt("Main", "Count", GetCount()) != FALSE;
        for (int i = 0; ok && i < GetCount(); ++i)
            ok = GetAt(i)->WriteTo(text, RecordSection(i)) != 0;
        ok = ok && WriteAndFlush(copyPath, text.GetText()) &&
             MoveFileExA(copyPath, pszPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) {
        DWORD error = GetLastError();
        RemoveCopy(copyPath);
        SetLastError(error);
    }
    return ok ? 1 : 0;
}
