#pragma once

#include "CString.h"
#include "CWnd.h"

#include <windows.h>
// The OFN_ flags callers pass.
#include <commdlg.h>

#include <string>

// The platform's file-open dialog. The filter is written the framework's way,
// "Text|pattern|Text|pattern||".
class CFileDialog {
public:
    CFileDialog(const char* lpszDefExt, const char* lpszFileName, DWORD dwFlags,
                const char* lpszFilter, CWnd* pParentWnd);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR DoModal();
    // The chosen file's full path.
    CString GetPathName() const { return CString(m_szFile); }

    // The platform's form of a filter: the bars become zero bytes. Bars inside
    // a double-byte character of nCodePage are part of that character.
    static std::string MakeFilter(const char* lpszFilter, UINT nCodePage);

private:
    std::string m_strDefExt;
    std::string m_strFilter;
    DWORD m_dwFlags;
    HWND m_hWndParent;
    char m_szFile[MAX_PATH];
};
