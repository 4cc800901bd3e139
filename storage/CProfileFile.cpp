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

// The first bytes of value, whole characters only, that fit in cbMax bytes.
size_t WholeCharactersIn(const std::wstring& wide, const std::string& value, size_t cbMax) {
    if (value.size() <= cbMax) {
        return value.size();
    }
    size_t cb = 0;
    for (size_t i = 0; i < wide.size();) {
        const size_t units = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() ? 2 : 1;
        const int n = WideCharToMultiByte(CP_ACP, 0, &wide[i], static_cast<int>(units), nullptr, 0,
                                          nullptr, nullptr);
        if (n <= 0 || cb + static_cast<size_t>(n) > cbMax) {
            break;
        }
        cb += static_cast<size_t>(n);
        i += units;
    }
    return cb;
}

} // namespace

CProfileFile::CProfileFile() {
    m_szValue[0] = '\0';
}

CProfileFile::CProfileFile(const wchar_t* pszPath) : CProfileFile() {
    SetPath(pszPath);
}

CProfileFile::~CProfileFile() = default;

void CProfileFile::SetPath(const wchar_t* pszPath) {
    m_strPath = pszPath ? pszPath : L"";
}

const char* CProfileFile::GetString(const char* pszSection, const char* pszKey,
                                    const char* pszDefault) {
    // Read as UTF-16, then at most 2047 bytes in the code page, whole
    // characters only (three bytes each for Chinese under UTF-8).
    std::vector<wchar_t> buffer(sizeof m_szValue, L'\0');
    GetPrivateProfileStringW(WideArg(pszSection), WideArg(pszKey), WideArg(pszDefault),
                             buffer.data(), static_cast<DWORD>(buffer.size()), m_strPath.c_str());
    const std::wstring wide(buffer.data());
    std::string value;
    CodePageFromWide(wide.c_str(), CP_ACP, &value);
    std::memset(m_szValue, 0, sizeof m_szValue);
    std::memcpy(m_szValue, value.data(), WholeCharactersIn(wide, value, sizeof m_szValue - 1));
    return m_szValue;
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
