#include "AddWatchRules.h"

#include "CPathName.h"
#include "ProcessPath.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>
#include <utility>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Where the version runs of one folder name lie: digits, then at least one
// dot followed by digits. Digits and dots are never the second byte of a
// double-byte character, so the name's bytes can be read one by one.
std::vector<std::pair<size_t, size_t>> VersionRuns(const char* name, size_t length) {
    std::vector<std::pair<size_t, size_t>> runs;
    size_t i = 0;
    while (i < length) {
        if (!IsDigit(name[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        int dots = 0;
        for (;;) {
            while (end < length && IsDigit(name[end]))
                ++end;
            if (end + 1 < length && name[end] == '.' && IsDigit(name[end + 1])) {
                ++dots;
                ++end;
            } else {
                break;
            }
        }
        if (dots > 0)
            runs.emplace_back(i, end);
        i = end;
    }
    return runs;
}

bool IsWideBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// What Windows refuses in a file or folder name, besides the separators and
// the '*' that patterns take.
bool HoldsForbiddenCharacter(std::wstring_view name) {
    return std::any_of(name.begin(), name.end(),
                       [](wchar_t c) { return c < 0x20 || std::wcschr(L"<>:\"|?", c) != nullptr; });
}

// Windows drops the dots and spaces at the end of a name when it opens it.
std::wstring_view WithoutDotsAndSpacesAtTheEnd(std::wstring_view name) {
    const size_t end = name.find_last_not_of(L". ");
    return end == std::wstring_view::npos ? std::wstring_view() : name.substr(0, end + 1);
}

// One name of the root or below it, checked; kNone when it may stand.
PathTextProblem CheckName(std::wstring_view raw, std::wstring_view& name) {
    if (HoldsForbiddenCharacter(raw))
        return PathTextProblem::kForbiddenCharacter;
    name = WithoutDotsAndSpacesAtTheEnd(raw);
    return name.empty() ? PathTextProblem::kEmptyName : PathTextProblem::kNone;
}

// The root of a full path (with its separator) and where its names start.
PathTextProblem ReadRoot(const std::wstring& text, std::wstring& root, size_t& next) {
    if (text.size() >= 2 && IsAsciiLetter(text[0]) && text[1] == L':') {
        // "C:x.exe" is relative to the drive's current folder.
        if (text.size() < 3 || text[2] != L'\\')
            return PathTextProblem::kNotFullPath;
        root = {static_cast<wchar_t>(text[0] & ~0x20), L':', L'\\'};
        next = 3;
        return PathTextProblem::kNone;
    }
    if (text.compare(0, 2, L"\\\\") != 0)
        return PathTextProblem::kNotFullPath;
    root = L"\\\\";
    next = 2;
    // The server, then the share.
    for (int part = 0; part < 2; ++part) {
        while (next < text.size() && text[next] == L'\\')
            ++next;
        const size_t end = std::min(text.find(L'\\', next), text.size());
        const std::wstring_view raw = std::wstring_view(text).substr(next, end - next);
        // \\.\ names a device, not a share.
        if (raw.empty() || raw == L"." || raw == L"..")
            return PathTextProblem::kNotFullPath;
        std::wstring_view name;
        const PathTextProblem problem = CheckName(raw, name);
        if (problem != PathTextProblem::kNone)
            return problem;
        root.append(name.data(), name.size());
        root += L'\\';
        next = end;
    }
    return PathTextProblem::kNone;
}

} // namespace

std::wstring CleanTypedPath(const std::wstring& typed) {
    size_t begin = 0, end = typed.size();
    while (begin < end && IsWideBlank(typed[begin]))
        ++begin;
    while (end > begin && IsWideBlank(typed[end - 1]))
        --end;
    if (end - begin >= 2 && typed[begin] == L'"' && typed[end - 1] == L'"') {
        ++begin;
        --end;
        while (begin < end && IsWideBlank(typed[begin]))
            ++begin;
        while (end > begin && IsWideBlank(typed[end - 1]))
            --end;
    }
    return typed.substr(begin, end - begin);
}

PathTextProblem NormalizePathText(const std::wstring& typed, std::wstring& path,
                                  size_t* pnRootLength) {
    path.clear();
    std::wstring text(typed);
    std::replace(text.begin(), text.end(), L'/', L'\\');
    // The prefix only asks the system to take the path as it stands; what
    // follows it is one of the two forms below.
    if (text.compare(0, 4, L"\\\\?\\") == 0) {
        const bool bShare = text.size() >= 8 && (text[4] | 0x20) == L'u' &&
                            (text[5] | 0x20) == L'n' && (text[6] | 0x20) == L'c' &&
                            text[7] == L'\\';
        text = bShare ? L"\\\\" + text.substr(8) : text.substr(4);
    }
    std::wstring root;
    size_t next = 0;
    PathTextProblem problem = ReadRoot(text, root, next);
    if (problem != PathTextProblem::kNone)
        return problem;
    std::vector<std::wstring_view> names;
    while (next < text.size()) {
        if (text[next] == L'\\') {
            ++next;
            continue;
        }
        const size_t end = std::min(text.find(L'\\', next), text.size());
        const std::wstring_view raw = std::wstring_view(text).substr(next, end - next);
        next = end;
        if (raw == L".")
            continue;
        if (raw == L"..") {
            if (names.empty())
                return PathTextProblem::kAboveRoot;
            names.pop_back();
            continue;
        }
        std::wstring_view name;
        problem = CheckName(raw, name);
        if (problem != PathTextProblem::kNone)
            return problem;
        names.push_back(name);
    }
    if (names.empty() || text.back() == L'\\')
        return PathTextProblem::kNoFileName;
    path = root;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            path += L'\\';
        path.append(names[i].data(), names[i].size());
    }
    if (pnRootLength)
        *pnRootLength = root.size();
    return PathTextProblem::kNone;
}

size_t FixedPartLength(const std::wstring& path) {
    const size_t star = path.find(L'*');
    if (star == std::wstring::npos)
        return path.size();
    const size_t separator = path.rfind(L'\\', star);
    return separator == std::wstring::npos ? 0 : separator;
}

CString CleanTypedPath(const char* pszTyped) {
    const char* begin = pszTyped ? pszTyped : "";
    const char* end = begin + std::strlen(begin);
    // Blanks and quotes are single bytes that no double-byte character
    // ends with, so the ends can be trimmed bytewise.
    while (begin < end && IsBlank(*begin))
        ++begin;
    while (end > begin && IsBlank(end[-1]))
        --end;
    if (end - begin >= 2 && *begin == '"' && end[-1] == '"') {
        ++begin;
        --end;
        while (begin < end && IsBlank(*begin))
            ++begin;
        while (end > begin && IsBlank(end[-1]))
            --end;
    }
    return CString(begin, static_cast<size_t>(end - begin));
}

std::vector<CString> RunningProgramLines(const std::vector<CString>& paths,
                                         const char* pszOwnPath) {
    std::vector<CString> lines;
    for (const CString& path : paths) {
        if (SamePath(path, pszOwnPath))
            continue;
        const bool bListed = std::any_of(lines.begin(), lines.end(),
                                         [&](const CString& line) { return SamePath(line, path); });
        if (!bListed)
            lines.push_back(path);
    }
    std::stable_sort(lines.begin(), lines.end(), [](const CString& a, const CString& b) {
        const int byName = ComparePaths(FileNamePart(a), FileNamePart(b));
        return byName != 0 ? byName < 0 : ComparePaths(a, b) < 0;
    });
    return lines;
}

CString AliasOrTitle(const char* pszAlias, const char* pszFileName) {
    const char* p = pszAlias ? pszAlias : "";
    while (IsBlank(*p))
        ++p;
    // The file name alone: CPathName holds MAX_PATH characters, a path may be longer.
    return *p ? CString(pszAlias) : CString(CPathName(FileNamePart(pszFileName)).GetTitle());
}

CString VersionFolderPattern(const char* pszPath, UINT nCodePage) {
    const std::string path = pszPath ? pszPath : "";
    // The start of every name between backslashes, found by characters: in a
    // double-byte code page a backslash can be the second byte of one.
    std::vector<size_t> starts = {0};
    for (size_t i = 0; i < path.size();) {
        if (path[i] == '\\') {
            starts.push_back(++i);
        } else if (IsDBCSLeadByteEx(nCodePage, static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
            i += 2;
        } else {
            ++i;
        }
    }
    starts.push_back(path.size() + 1);
    // The last name is the file's; a drive or \\server\share is no folder
    // that an update renames.
    const size_t names = starts.size() - 1;
    size_t firstFolder = 0;
    if (path.compare(0, 2, "\\\\") == 0)
        firstFolder = 4;
    else if (names > 1 && starts[1] >= 2 && path[starts[1] - 2] == ':')
        firstFolder = 1;
    for (size_t n = names - 1; n-- > firstFolder;) {
        const size_t begin = starts[n], end = starts[n + 1] - 1;
        const auto runs = VersionRuns(path.data() + begin, end - begin);
        if (runs.empty())
            continue;
        std::string pattern = path.substr(0, begin);
        size_t from = begin;
        for (const auto& run : runs) {
            pattern.append(path, from, begin + run.first - from);
            pattern += '*';
            from = begin + run.second;
        }
        pattern.append(path, from, std::string::npos);
        return CString(pattern.data(), pattern.size());
    }
    return CString();
}
