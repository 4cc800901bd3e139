#include "AddWatchRules.h"

#include "CPathName.h"
#include "ProcessPath.h"

#include <algorithm>
#include <cstring>
#include <string>
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

} // namespace

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
    return *p ? CString(pszAlias) : CString(CPathName(pszFileName).GetTitle());
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
