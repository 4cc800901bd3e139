#include "CString.h"

#include "AfxResource.h"

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
    // Chinese texts take two bytes a character in code page 936; the longest
    // string of the program is far below this.
    char buffer[1024];
    int n = ::LoadStringA(AfxGetResourceHandle(), nID, buffer, sizeof buffer);
    m_str.assign(buffer, static_cast<size_t>(n > 0 ? n : 0));
    return n > 0;
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
