#include "CString.h"

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
