#include "PathPattern.h"

#include "CUpperPath.h"
#include "ProcessPath.h"

#include <cstring>
#include <string_view>

namespace {

using Name = std::wstring_view;

// The folder names of a path and its file name, one at a time.
class NameReader {
public:
    explicit NameReader(Name path) : m_rest(path) {}
    // The next name; bFileName tells whether it was the last one.
    Name Next(bool& bFileName) {
        const size_t end = m_rest.find(L'\\');
        bFileName = end == Name::npos;
        const Name name = m_rest.substr(0, end);
        m_rest = bFileName ? Name() : m_rest.substr(end + 1);
        return name;
    }

private:
    Name m_rest;
};

// Whether a folder name matches one of the pattern, whose stars stand for any
// run of characters. A star ends before a character the pattern names, never
// between the two halves of a surrogate pair.
bool MatchesName(Name pattern, Name name) {
    size_t p = 0, n = 0;
    size_t star = pattern.size(), starFrom = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            star = p++;
            starFrom = n;
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (star != pattern.size()) {
            // The last star takes one more character and the rest is tried
            // again: earlier stars could gain nothing that it cannot.
            p = star + 1;
            n = ++starFrom;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') {
        ++p;
    }
    return p == pattern.size();
}

// Whether one text begins (bFromEnd: ends) as the other does, as far as the
// shorter goes.
bool AgreeAsFarAsTheShorter(Name a, Name b, bool bFromEnd) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    return bFromEnd ? a.substr(a.size() - n) == b.substr(b.size() - n)
                    : a.substr(0, n) == b.substr(0, n);
}

// Whether some folder name matches both names, each a pattern or not.
bool NamesOverlap(Name a, Name b) {
    const size_t firstA = a.find(L'*'), firstB = b.find(L'*');
    if (firstA == Name::npos || firstB == Name::npos) {
        return firstA == Name::npos ? MatchesName(b, a) : MatchesName(a, b);
    }
    // With a star on both sides the middle can always hold both patterns'
    // inner parts: only the fixed ends can disagree.
    const size_t lastA = a.rfind(L'*'), lastB = b.rfind(L'*');
    return AgreeAsFarAsTheShorter(a.substr(0, firstA), b.substr(0, firstB), false) &&
           AgreeAsFarAsTheShorter(a.substr(lastA + 1), b.substr(lastB + 1), true);
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
        return SamePath(pszPattern, pszPath, nCodePage);
    }
    CUpperPath pattern, path;
    if (!pattern.Assign(pszPattern, nCodePage) || !path.Assign(pszPath, nCodePage)) {
        return false;
    }
    NameReader patternNames(pattern.Text()), pathNames(path.Text());
    for (;;) {
        bool bPatternFileName = false, bPathFileName = false;
        const Name patternName = patternNames.Next(bPatternFileName);
        const Name pathName = pathNames.Next(bPathFileName);
        if (bPatternFileName != bPathFileName) {
            return false;
        }
        if (bPatternFileName) {
            // The file name itself is never a pattern: only processes of the
            // exact name are looked at.
            return patternName.find(L'*') == Name::npos && patternName == pathName;
        }
        if (!MatchesName(patternName, pathName)) {
            return false;
        }
    }
}

bool WatchedPathsOverlap(const char* pszA, const char* pszB, UINT nCodePage) {
    const bool bPatternA = IsPathPattern(pszA), bPatternB = IsPathPattern(pszB);
    if (!bPatternA || !bPatternB) {
        return bPatternA ? MatchesWatchedPath(pszA, pszB, nCodePage)
                         : MatchesWatchedPath(pszB, pszA, nCodePage);
    }
    CUpperPath a, b;
    if (!a.Assign(pszA, nCodePage) || !b.Assign(pszB, nCodePage)) {
        return false;
    }
    NameReader namesA(a.Text()), namesB(b.Text());
    for (;;) {
        bool bFileNameA = false, bFileNameB = false;
        const Name nameA = namesA.Next(bFileNameA), nameB = namesB.Next(bFileNameB);
        if (bFileNameA != bFileNameB) {
            return false;
        }
        if (bFileNameA) {
            return nameA.find(L'*') == Name::npos && nameA == nameB;
        }
        if (!NamesOverlap(nameA, nameB)) {
            return false;
        }
    }
}
