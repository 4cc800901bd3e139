#include "CUpperPath.h"

#include <cstring>

bool CUpperPath::Assign(const char* pszText, UINT nCodePage) {
    m_pText = m_szShort;
    m_nLength = 0;
    const int cb = static_cast<int>(std::strlen(pszText));
    if (cb == 0) {
        return true;
    }
    int n = MultiByteToWideChar(nCodePage, MB_ERR_INVALID_CHARS, pszText, cb, m_szShort, MAX_PATH);
    if (n == 0) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            return false;
        }
        n = MultiByteToWideChar(nCodePage, MB_ERR_INVALID_CHARS, pszText, cb, nullptr, 0);
        if (n <= 0) {
            return false;
        }
        m_long.resize(static_cast<size_t>(n));
        MultiByteToWideChar(nCodePage, MB_ERR_INVALID_CHARS, pszText, cb, &m_long[0], n);
        m_pText = m_long.data();
    }
    m_nLength = static_cast<size_t>(n);
    // The system's own case table, which does not change with the user's
    // language (no Turkish dotless I), as file names compare; under Wine it
    // folds every letter as CompareStringOrdinal ignoring case does.
    CharUpperBuffW(const_cast<wchar_t*>(m_pText), static_cast<DWORD>(n));
    return true;
}
