#pragma once

#include <windows.h>

#include <string>

// Text in the system's ANSI code page, held as bytes.
class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(const char* p, size_t n) : m_str(p, n) {}

    operator const char*() const { return m_str.c_str(); }
    const char* GetString() const { return m_str.c_str(); }
    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }

    CString& operator=(const char* psz) {
        m_str = psz ? psz : "";
        return *this;
    }
    CString& operator+=(const char* psz) {
        m_str += psz ? psz : "";
        return *this;
    }
    bool operator==(const CString& o) const { return m_str == o.m_str; }
    bool operator!=(const CString& o) const { return m_str != o.m_str; }

    // printf-style formatting; the result replaces the contents.
    void Format(const char* fmt, ...);
    // Loads string nID of the interface language (AfxLanguage.h) from the
    // resource module, in the ANSI code page; FALSE when it has none.
    BOOL LoadString(UINT nID);

    // Replaces every occurrence of one byte by another; returns how many changed.
    int Replace(char from, char to);

    // Upper case in the ANSI code page; the trail bytes of double-byte
    // characters are left alone.
    void MakeUpper();
    // Index of the first occurrence of pszSub, or -1.
    int Find(const char* pszSub) const;

private:
    std::string m_str;
};
