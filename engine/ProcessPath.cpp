#include "ProcessPath.h"

#include <mbstring.h>

bool SamePath(const char* pszA, const char* pszB) {
    return ComparePaths(pszA, pszB) == 0;
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
