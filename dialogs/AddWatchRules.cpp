#include "AddWatchRules.h"

#include "CPathName.h"
#include "ProcessPath.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
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
