#include "CFileDialog.h"

CFileDialog::CFileDialog(const char* lpszDefExt, const char* lpszFileName, DWORD dwFlags,
                         const char* lpszFilter, CWnd* pParentWnd)
    : m_strDefExt(lpszDefExt ? lpszDefExt : ""),
      m_strFilter(lpszFilter ? MakeFilter(lpszFilter, CP_ACP) : std::string()), m_dwFlags(dwFlags),
      m_hWndParent(pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr) {
    lstrcpynA(m_szFile, lpszFileName ? lpszFileName : "", MAX_PATH);
}

INT_PTR CFileDialog::DoModal() {
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hWndParent;
    ofn.lpstrFilter = m_strFilter.empty() ? nullptr : m_strFilter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = m_szFile;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = m_strDefExt.empty() ? nullptr : m_strDefExt.c_str();
    ofn.Flags = m_dwFlags | OFN_EXPLORER;
    return GetOpenFileNameA(&ofn) ? IDOK : IDCANCEL;
}

std::string CFileDialog::MakeFilter(const char* lpszFilter, UINT nCodePage) {
    std::string filter;
    for (const char* p = lpszFilter; *p; ++p) {
        if (IsDBCSLeadByteEx(nCodePage, static_cast<BYTE>(*p)) && p[1]) {
            filter += *p++;
            filter += *p;
        } else {
            filter += *p == '|' ? '\0' : *p;
        }
    }
    // The list ends with an empty string, whether or not the text closed it.
    filter += '\0';
    return filter;
}
