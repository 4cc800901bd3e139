#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// A path or name in UTF-16, upper-cased as the file system compares names:
// two names of one file are the same units. In UTF-16 a backslash or a star
// is always a character of its own, whatever the code page made of it. A path
// of MAX_PATH units stays inside the object, so comparing costs no allocation.
class CUpperPath {
public:
    CUpperPath() = default;
    CUpperPath(const CUpperPath&) = delete;
    CUpperPath& operator=(const CUpperPath&) = delete;

    // False, leaving the object empty, when the text is not valid in nCodePage.
    bool Assign(const char* pszText, UINT nCodePage);
    std::wstring_view Text() const { return std::wstring_view(m_pText, m_nLength); }

private:
    wchar_t m_szShort[MAX_PATH];
    std::wstring m_long;
    const wchar_t* m_pText = m_szShort;
    size_t m_nLength = 0;
};
