#include "ProcessPath.h"

#include "CUpperPath.h"

#include <mbstring.h>

#include <cstring>

namespace {

unsigned char UpperAscii(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

} // namespace

bool SamePath(const char* pszA, const char* pszB, UINT nCodePage) {
    const unsigned char* a = reinterpret_cast<const unsigned char*>(pszA);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(pszB);
    // Most names are ASCII, where the upper case is plain. A byte below 0x80
    // is a character of its own in every ANSI code page as long as everything
    // before it was one too.
    for (; *a < 0x80 && *b < 0x80; ++a, ++b) {
        if (UpperAscii(*a) != UpperAscii(*b)) {
            return false;
        }
        if (*a == '\0') {
            return true;
        }
    }
    CUpperPath upperA, upperB;
    if (!upperA.Assign(reinterpret_cast<const char*>(a), nCodePage) ||
        !upperB.Assign(reinterpret_cast<const char*>(b), nCodePage)) {
        return std::strcmp(pszA, pszB) == 0;
    }
    return upperA.Text() == upperB.Text();
}

int ComparePaths(const char* pszA, const char* pszB) {
    // A byte-wise comparison would fold the trail bytes of double-byte
    // characters as if they were ASCII letters.
    return _mbsicoll(reinterpret_cast<const unsigned char*>(pszA),
                     reinterpret_cast<const unsigned char*>(pszB));
}

const char* FileNamePart(const char* pszPath) {
    const unsigned char* path = reinterpret_cast<const unsigned char*>(pszPath);
    const unsigned char* last = _mbsrchr(path, '\\');
    return last ? reinterpret_cast<const char*>(last + 1) : pszPath;
}
