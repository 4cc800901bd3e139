#include "CString.h"

#include "AfxLanguage.h"

#include <cstdarg>
#include <cstdio>

void CString::Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n < 0) {
        m_str.clear();
    } else {
        m_str.assign(static_cast<size_t>(n) + 1, '\0');
        std::vsnprintf(&m_str[0], m_str.size(), fmt, args);
        m_str.resize(static_cast<size_t>(n));
    }
    va_end(args);
}

int CString::Replace(char from, char to) {
    int count = 0;
    for (char& c : m_str) {
        if (c == from) {
            c = to;
            ++count;
        }
    }
    return count;
}

BOOL CString::LoadString(UINT nID) {
    // Found in the interface language, then converted as LoadStringA would.
    std::wstring text;
    m_str.clear();
    if (!AfxLoadString(nID, &text)) {
        return FALSE;
    }
    const int cch = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), cch, nullptr, 0, nullptr, nullptr);
    if (n <= 0) {
        return FALSE;
    }
    m_str.assign(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), cch, &m_str[0], n, nullptr, nullptr);
    return TRUE;
}

void CString::MakeUpper() {
    if (!m_str.empty()) {
        // CharUpperBuffA walks the text as the ANSI code page's characters.
        CharUpperBuffA(&m_str[0], static_cast<DWORD>(m_str.size()));
    }
}

int CString::Find(const char* pszSub) const {
    size_t at = m_str.find(pszSub ? pszSub : "");
    return at == std::string::npos ? -1 : static_cast<int>(at);
}
