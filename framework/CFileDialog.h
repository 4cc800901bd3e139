#pragma once

#include "CString.h"
#include "CWnd.h"

#include <windows.h>
// The OFN_ flags callers pass.
#include <commdlg.h>

#include <string>

// The platform's file-open dialog. The filter is written the framework's way,
// "Text|pattern|Text|pattern||". The file's path is UTF-16, as the system
// spells it, so that a name the ANSI code page cannot hold reaches the caller
// whole, and a path of MAX_PATH characters fits in any code page.
class CFileDialog {
public:
    CFileDialog(const char* lpszDefExt, const wchar_t* lpszFileName, DWORD dwFlags,
                const char* lpszFilter, CWnd* pParentWnd);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR DoModal();
    // The chosen file's full path.
    std::wstring GetPathName() const { return m_szFile; }

    // The platform's form of a filter: the bars become zero bytes. Bars inside
    // a double-byte character of nCodePage are part of that character.
    static std::string MakeFilter(const char* lpszFilter, UINT nCodePage);

private:
    std::wstring m_strDefExt;
    std::wstring m_strFilter;
    DWORD m_dwFlags;
    HWND m_hWndParent;
    wchar_t m_szFile[MAX_PATH];
};
