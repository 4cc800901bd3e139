#include "CProfileFile.h"

#include "WideText.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// An ANSI argument of the profile functions as UTF-16; null stays null, which
// those functions give a meaning of its own (list the keys, delete the key).
class WideArg {
public:
    explicit WideArg(const char* psz)
        : m_bNull(psz == nullptr), m_text(WideAsAnsiFunctionsDo(psz)) {}
    operator const wchar_t*() const { return m_bNull ? nullptr : m_text.c_str(); }

private:
    bool m_bNull;
    std::wstring m_text;
};

} // namespace

CProfileFile::CProfileFile() = default;

CProfileFile::CProfileFile(const wchar_t* pszPath) : CProfileFile() {
    SetPath(pszPath);
}

CProfileFile::~CProfileFile() = default;

void CProfileFile::SetPath(const wchar_t* pszPath) {
    m_strPath = pszPath ? pszPath : L"";
}

const char* CProfileFile::GetString(const char* pszSection, const char* pszKey,
                                    const char* pszDefault) {
    // Read as UTF-16 in a buffer that grows while the platform fills it, as
    // far as the longest path the system has, then in the code page.
    std::vector<wchar_t> buffer(2048, L'\0');
    DWORD n = 0;
    for (;;) {
        n = GetPrivateProfileStringW(WideArg(pszSection), WideArg(pszKey), WideArg(pszDefault),
                                     buffer.data(), static_cast<DWORD>(buffer.size()),
                                     m_strPath.c_str());
        if (n + 1 < buffer.size() || buffer.size() > kMaxValueUnits) {
            break;
        }
        buffer.assign(buffer.size() * 2, L'\0');
    }
    // A value cut there ends with whole characters.
    if (n + 1 == buffer.size() && IS_HIGH_SURROGATE(buffer[n - 1])) {
        --n;
    }
    CodePageFromWide(std::wstring(buffer.data(), n).c_str(), CP_ACP, &m_strValue);
    return m_strValue.c_str();
}

int CProfileFile::GetInt(const char* pszSection, const char* pszKey, int nDefault) {
    return static_cast<int>(
        GetPrivateProfileIntW(WideArg(pszSection), WideArg(pszKey), nDefault, m_strPath.c_str()));
}

BOOL CProfileFile::WriteString(const char* pszSection, const char* pszKey, const char* pszValue) {
    return WritePrivateProfileStringW(WideArg(pszSection), WideArg(pszKey), WideArg(pszValue),
                                      m_strPath.c_str());
}

BOOL CProfileFile::WriteInt(const char* pszSection, const char* pszKey, int nValue) {
    char szText[128];
    std::snprintf(szText, sizeof szText, "%d", nValue);
    return WriteString(pszSection, pszKey, szText);
}
