#include "CPathName.h"

#include <cstring>

namespace {

// Copies at most n bytes of src and terminates; dst holds kMaxPathBytes bytes and n <
// kMaxPathBytes.
void CopyPart(char* dst, const char* src, size_t n) {
    std::memcpy(dst, src, n);
    dst[n] = '\0';
}

} // namespace

CPathName::CPathName() {
    m_szFullPath[0] = '\0';
    Split();
}

CPathName::CPathName(const char* pszPath, UINT nCodePage) : CPathName() {
    m_nCodePage = nCodePage;
    Assign(pszPath);
}

CPathName::CPathName(const char* pszDirectory, const char* pszFileName) : CPathName() {
    Assign(pszDirectory, pszFileName);
}

CPathName::~CPathName() = default;

void CPathName::Assign(const char* pszPath) {
    lstrcpynA(m_szFullPath, pszPath ? pszPath : "", kMaxPathBytes);
    Split();
}

void CPathName::Assign(const char* pszDirectory, const char* pszFileName) {
    lstrcpynA(m_szFullPath, pszDirectory ? pszDirectory : "", kMaxPathBytes);
    size_t used = std::strlen(m_szFullPath);
    // Bounded append: a too-long result is cut at kMaxPathBytes - 1 bytes.
    lstrcpynA(m_szFullPath + used, pszFileName ? pszFileName : "",
              static_cast<int>(kMaxPathBytes - used));
    Split();
}

void CPathName::Split() {
    m_szTitle[0] = m_szExtension[0] = m_szFileName[0] = '\0';
    m_szDirectory[0] = m_szDirNoDrive[0] = m_szDrive[0] = '\0';

    const char* p = m_szFullPath;
    size_t n = std::strlen(p);
    if (n == 0 || p[0] == ':')
        return;
    if (n > 2 && std::strchr(p + 2, ':') != nullptr)
        return;

    size_t driveLen = 0;
    if (n >= 2 && p[1] == ':') {
        m_szDrive[0] = p[0];
        m_szDrive[1] = ':';
        m_szDrive[2] = '\0';
        driveLen = 2;
    }

    // By characters: in a double-byte code page the second byte of a
    // character can be a backslash. (In UTF-8 no byte of a character but the
    // first is below 0x80, so a byte scan would do there.)
    size_t lastSlash = n;
    for (const char* q = p; *q; q = CharNextExA(static_cast<WORD>(m_nCodePage), q, 0)) {
        if (*q == '\\')
            lastSlash = static_cast<size_t>(q - p);
    }
    size_t nameStart = 0;
    if (lastSlash != n) {
        const size_t i = lastSlash;
        CopyPart(m_szDirectory, p, i + 1);
        // A backslash can stand inside the "drive" itself ("\:x"): no directory then.
        if (i + 1 >= driveLen)
            CopyPart(m_szDirNoDrive, p + driveLen, i + 1 - driveLen);
        nameStart = i + 1;
    }
    if (driveLen != 0 && m_szDirectory[0] == '\0')
        CopyPart(m_szDirectory, m_szDrive, driveLen);

    const char* name = p + nameStart;
    size_t nameLen = n - nameStart;
    CopyPart(m_szFileName, name, nameLen);

    const char* dot = nullptr;
    for (const char* q = name; *q; q = CharNextExA(static_cast<WORD>(m_nCodePage), q, 0)) {
        if (*q == '.')
            dot = q;
    }
    if (dot != nullptr) {
        CopyPart(m_szTitle, name, static_cast<size_t>(dot - name));
        CopyPart(m_szExtension, dot, nameLen - static_cast<size_t>(dot - name));
    } else {
        CopyPart(m_szTitle, name, nameLen);
    }
}
