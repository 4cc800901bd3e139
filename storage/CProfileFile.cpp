#include "CProfileFile.h"

#include "CPathName.h"

#include <cstdio>
#include <cstring>

CProfileFile::CProfileFile() {
    m_szPath[0] = '\0';
    m_szValue[0] = '\0';
}

CProfileFile::CProfileFile(const char* pszPath) : CProfileFile() {
    SetPath(pszPath);
}

CProfileFile::~CProfileFile() = default;

void CProfileFile::SetPath(const char* pszPath) {
    // Longer paths are cut rather than allowed to overrun the buffer.
    lstrcpynA(m_szPath, pszPath ? pszPath : "", sizeof m_szPath);
}

const char* CProfileFile::GetString(const char* pszSection, const char* pszKey,
                                    const char* pszDefault) {
    // Wine cuts a double-byte value longer than the buffer one byte short and
    // leaves that byte as it was: it must not be one of the previous value.
    std::memset(m_szValue, 0, sizeof m_szValue);
    GetPrivateProfileStringA(pszSection, pszKey, pszDefault, m_szValue, sizeof m_szValue, m_szPath);
    return m_szValue;
}

int CProfileFile::GetInt(const char* pszSection, const char* pszKey, int nDefault) {
    return static_cast<int>(GetPrivateProfileIntA(pszSection, pszKey, nDefault, m_szPath));
}

BOOL CProfileFile::WriteString(const char* pszSection, const char* pszKey, const char* pszValue) {
    return WritePrivateProfileStringA(pszSection, pszKey, pszValue, m_szPath);
}

BOOL CProfileFile::WriteInt(const char* pszSection, const char* pszKey, int nValue) {
    char szText[128];
    std::snprintf(szText, sizeof szText, "%d", nValue);
    return WritePrivateProfileStringA(pszSection, pszKey, szText, m_szPath);
}

const char* CProfileFile::MakeSiblingPath(const char* pszBasePath, const char* pszFileName) {
    CPathName base(pszBasePath);
    char szName[MAX_PATH];
    if (pszFileName == nullptr) {
        lstrcpynA(szName, base.GetTitle(), sizeof szName);
        // Leave room for the extension so that the bounded append below never cuts it.
        szName[MAX_PATH - 5] = '\0';
        lstrcatA(szName, ".INI");
        pszFileName = szName;
    }
    CPathName sibling(base.GetDirectory(), pszFileName);
    lstrcpynA(m_szValue, sibling.GetFullPath(), MAX_PATH);
    return m_szValue;
}
