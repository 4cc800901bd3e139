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
// whole, of any length the system allows.
class CFileDialog {
public:
    CFileDialog(const char* lpszDefExt, const wchar_t* lpszFileName, DWORD dwFlags,
                const char* lpszFilter, CWnd* pParentWnd);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // The longest path the dialog is given room for, in UTF-16 units.
    static constexpr DWORD kMaxPathUnits = 32767;

    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR DoModal();
    // The chosen file's full path.
    const std::wstring& GetPathName() const { return m_strPathName; }

    // The platform's form of a filter: the bars become zero bytes. Bars inside
    // a double-byte character of nCodePage are part of that character.
    static std::string MakeFilter(const char* lpszFilter, UINT nCodePage);

private:
    std::wstring m_strDefExt;
    std::wstring m_strFilter;
    DWORD m_dwFlags;
    HWND m_hWndParent;
    std::wstring m_strInitialFile;
    std::wstring m_strPathName;
};
