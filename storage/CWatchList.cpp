#include "CWatchList.h"

#include "CProfileFile.h"

#include <cctype>
#include <new>
#include <string>
#include <unordered_set>

namespace {

CString RecordSection(int nIndex) {
    CString section;
    section.Format("Record_%d", nIndex);
    return section;
}

// Starts the new file as a copy of the current one, so that record sections
// beyond the new Count stay as they were.
bool StartCopy(const char* pszPath, const char* pszCopy) {
    DeleteFileA(pszCopy);
    if (CopyFileA(pszPath, pszCopy, FALSE))
        return true;
    DWORD err = GetLastError();
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
}

bool FlushToDisk(const char* pszPath) {
    HANDLE h = CreateFileA(pszPath, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    BOOL ok = FlushFileBuffers(h);
    CloseHandle(h);
    return ok != FALSE;
}

std::string UpperAscii(const char* text) {
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// Section names of the file, upper-cased as the profile functions match them
// without regard to case.
std::unordered_set<std::string> SectionNames(const char* pszPath) {
    std::unordered_set<std::string> names;
    std::string buffer(64 * 1024, '\0');
    for (;;) {
        DWORD n =
            GetPrivateProfileSectionNamesA(&buffer[0], static_cast<DWORD>(buffer.size()), pszPath);
        if (n + 2 < buffer.size() || buffer.size() >= (64u << 20)) {
            buffer.resize(n);
            break;
        }
        buffer.assign(buffer.size() * 2, '\0');
    }
    for (size_t pos = 0; pos < buffer.size();) {
        const char* name = buffer.c_str() + pos;
        names.insert(UpperAscii(name));
        pos += std::char_traits<char>::length(name) + 1;
    }
    return names;
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
    std::unordered_set<std::string> sections = SectionNames(pszPath);
    CWatchItem missing;
    missing.SetReadDefaults();
    CWatchItem scratch;
    for (int i = 0; i < count; ++i) {
        CString section = RecordSection(i);
        if (sections.count(UpperAscii(section)) != 0) {
            scratch.ReadFrom(profile, section);
            Add(scratch);
        } else {
            Add(missing);
        }
    }
    return 1;
}

int CWatchList::Save(const char* pszPath) const {
    CString copyPath(pszPath);
    copyPath += ".new";
    // A cut name would point the profile writes at another file.
    if (copyPath.GetLength() >= MAX_PATH || !StartCopy(pszPath, copyPath))
        return 0;

    CProfileFile profile(copyPath);
    bool ok = profile.WriteInt("Main", "Count", GetCount()) != FALSE;
    for (int i = 0; ok && i < GetCount(); ++i)
        ok = GetAt(i)->WriteTo(profile, RecordSection(i)) != 0;

    ok = ok && FlushToDisk(copyPath) &&
         MoveFileExA(copyPath, pszPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok)
        DeleteFileA(copyPath);
    return ok ? 1 : 0;
}
