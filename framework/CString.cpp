#include "CString.h"

#include "AfxResource.h"

#include <cstdarg>
#include <cstdio>

#include "AfxResource.h"

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
    // LoadStringA reports a cut text by filling the buffer; grow until it fits.
    for (int size = 256; size <= 65536; size *= 2) {
        std::string buffer(static_cast<size_t>(size), '\0');
        int n = ::LoadStringA(AfxGetResourceHandle(), nID, &buffer[0], size);
        if (n <= 0) {
            m_str.clear();
            return FALSE;
        }
        if (n < size - 1) {
            m_str.assign(buffer, 0, static_cast<size_t>(n));
            return TRUE;
        }
    }
    return FALSE;
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
