#pragma once

#include "WideText.h"

#include <windows.h>

// A path split into its parts. Scans go by characters of the ANSI code page
// (or of the code page given) and only the backslash separates directories,
// as the system spells the paths it reports. Each part holds a path of
// MAX_PATH characters in any code page; a longer input is cut.
class CPathName {
public:
    CPathName();
    explicit CPathName(const char* pszPath, UINT nCodePage = CP_ACP);
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

    UINT m_nCodePage = CP_ACP;
    char m_szFullPath[kMaxPathBytes];
    char m_szTitle[kMaxPathBytes];
    char m_szExtension[kMaxPathBytes];
    char m_szFileName[kMaxPathBytes];
    char m_szDirectory[kMaxPathBytes];
    char m_szDirNoDrive[kMaxPathBytes];
    char m_szDrive[4];
};
