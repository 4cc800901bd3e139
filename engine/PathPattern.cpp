#include "PathPattern.h"

#include "ProcessPath.h"

#include <cstring>
#include <string>

namespace {

// The text in UTF-16, upper-cased; false when the code page cannot read it.
// In UTF-16 a backslash or a star is always a character of its own, whatever
// the code page made of it, and the case of every letter is known.
bool UpperWide(const char* pszText, UINT nCodePage, std::wstring& wide) {
    wide.clear();
    if (*pszText == '\0') {
        return true;
    }
    const int n = MultiByteToWideChar(nCodePage, MB_ERR_INVALID_CHARS, pszText, -1, nullptr, 0);
    if (n <= 1) {
        return false;
    }
    wide.resize(static_cast<size_t>(n));
    if (MultiByteToWideChar(nCodePage, MB_ERR_INVALID_CHARS, pszText, -1, &wide[0], n) != n) {
        return false;
    }
    wide.resize(static_cast<size_t>(n - 1));
    // The system's own case table, which does not change with the user's
    // language, as file names compare.
    CharUpperBuffW(&wide[0], static_cast<DWORD>(wide.size()));
    return true;
}

// Whether a folder name matches one of the pattern, whose stars stand for any
// run of characters. A star ends before a character the pattern names, never
// between the two halves of a surrogate pair.
bool MatchesName(const wchar_t* pattern, size_t patternLength, const wchar_t* name,
                 size_t nameLength) {
    size_t p = 0, n = 0;
    size_t star = patternLength, starFrom = 0;
    while (n < nameLength) {
        if (p < patternLength && pattern[p] == L'*') {
            star = p++;
            starFrom = n;
        } else if (p < patternLength && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (star != patternLength) {
            // The last star takes one more character and the rest is tried
            // again: earlier stars could gain nothing that it cannot.
            p = star + 1;
            n = ++starFrom;
        } else {
            return false;
        }
    }
    while (p < patternLength && pattern[p] == L'*') {
        ++p;
    }
    return p == patternLength;
}

} // namespace

bool IsPathPattern(const char* pszPath) {
    // No code page has a double-byte character whose second byte is '*'
    // (0x2A): trail bytes start at 0x40, and UTF-8's at 0x80.
    return std::strchr(pszPath, '*') != nullptr;
}

bool HasWildcardInFileName(const char* pszPath) {
    return IsPathPattern(FileNamePart(pszPath));
}

bool MatchesWatchedPath(const char* pszPattern, const char* pszPath, UINT nCodePage) {
    if (!IsPathPattern(pszPattern)) {
        return SamePath(pszPattern, pszPath);
    }
    std::wstring pattern, path;
    if (!UpperWide(pszPattern, nCodePage, pattern) || !UpperWide(pszPath, nCodePage, path)) {
        return false;
    }
    size_t p = 0, s = 0;
    for (;;) {
        size_t patternEnd = pattern.find(L'\\', p);
        size_t pathEnd = path.find(L'\\', s);
        const bool bPatternFileName = patternEnd == std::wstring::npos;
        const bool bPathFileName = pathEnd == std::wstring::npos;
        if (bPatternFileName != bPathFileName) {
            return false;
        }
        if (bPatternFileName) {
            // The file name itself is never a pattern: only processes of the
            // exact name are looked at.
            return pattern.find(L'*', p) == std::wstring::npos &&
                   pattern.compare(p, std::wstring::npos, path, s, std::wstring::npos) == 0;
        }
        if (!MatchesName(pattern.data() + p, patternEnd - p, path.data() + s, pathEnd - s)) {
            return false;
        }
        p = patternEnd + 1;
        s = pathEnd + 1;
    }
}
