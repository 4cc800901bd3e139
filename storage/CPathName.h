#pragma once

#include <windows.h>

// A path split into its parts. Scans go by characters of the ANSI code page
// and only the backslash separates directories, as the stored paths come from
// GetModuleFileNameA.
class CPathName {
public:
    CPathName();
    explicit CPathName(const char* pszPath);
    CPathName(const char* pszDirectory, const char* pszFileName);
    virtual ~CPathName();

    void Assign(const char* pszPath);
    void Assign(const char* pszDirectory, const char* pszFileName);

    const char* GetFullPath() const { return m_szFullPath; }
    const char* GetTitle() const { return m_szTitle; }
    const char* GetExtension() const { return m_szExtension; }
    const char* GetFileName() const { return m_szFileName; }
    const char* GetDirectory() const { return m_szDirectory; }
    const char* GetDirectoryNoDrive() const { return m_szDirNoDrive; }
    const char* GetDrive() const { return m_szDrive; }

private:
    void Split();

    char m_szFullPath[MAX_PATH];
    char m_szTitle[MAX_PATH];
    char m_szExtension[MAX_PATH];
    char m_szFileName[MAX_PATH];
    char m_szDirectory[MAX_PATH];
    char m_szDirNoDrive[MAX_PATH];
    char m_szDrive[4];
};
