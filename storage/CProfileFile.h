#pragma once

#include <windows.h>

#include <string>

// One private-profile file, read and written key by key through the platform's
// profile functions. Nothing is cached: every read goes to the file.
// The file's path is UTF-16, as the system spells it; sections, keys and
// values are texts of the ANSI code page, and so is the file itself: the
// platform reads a file without a byte-order mark in that code page, and
// writes such a file (and a new one) in it.
class CProfileFile {
public:
    CProfileFile();
    explicit CProfileFile(const wchar_t* pszPath);
    virtual ~CProfileFile();

    void SetPath(const wchar_t* pszPath);
    const wchar_t* GetPath() const { return m_strPath.c_str(); }

    // The longest value GetString reads whole, in UTF-16 units: a path of the
    // longest length the system allows.
    static constexpr size_t kMaxValueUnits = 32767;

    // The returned text lives in this object until the next GetString call on
    // it. A value longer than kMaxValueUnits is cut there.
    const char* GetString(const char* pszSection, const char* pszKey, const char* pszDefault);
    int GetInt(const char* pszSection, const char* pszKey, int nDefault);
    BOOL WriteString(const char* pszSection, const char* pszKey, const char* pszValue);
    BOOL WriteInt(const char* pszSection, const char* pszKey, int nValue);

private:
    std::wstring m_strPath;
    std::string m_strValue;
};
