#pragma once

#include <windows.h>

// One private-profile file, read and written key by key through the platform's
// profile functions. Nothing is cached: every read goes to the file.
class CProfileFile {
public:
    CProfileFile();
    explicit CProfileFile(const char* pszPath);
    virtual ~CProfileFile();

    void SetPath(const char* pszPath);
    const char* GetPath() const { return m_szPath; }

    // The returned text lives in this object until the next GetString or
    // MakeSiblingPath call on it.
    const char* GetString(const char* pszSection, const char* pszKey, const char* pszDefault);
    int GetInt(const char* pszSection, const char* pszKey, int nDefault);
    BOOL WriteString(const char* pszSection, const char* pszKey, const char* pszValue);
    BOOL WriteInt(const char* pszSection, const char* pszKey, int nValue);

    // The path of pszFileName (or of "<title>.INI" when null) in the directory
    // of pszBasePath.
    const char* MakeSiblingPath(const char* pszBasePath, const char* pszFileName);

private:
    char m_szPath[MAX_PATH];
    char m_szValue[2048];
};
