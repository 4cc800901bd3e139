#include "CFileDialog.h"

#include "WideText.h"

namespace {

// The filter's texts with the zero bytes between them, as UTF-16.
std::wstring WideFilter(const std::string& filter) {
    const int cch =
        MultiByteToWideChar(CP_ACP, 0, filter.data(), static_cast<int>(filter.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(cch > 0 ? cch : 0), L'\0');
    if (cch > 0) {
        MultiByteToWideChar(CP_ACP, 0, filter.data(), static_cast<int>(filter.size()), &wide[0],
                            cch);
    }
    return wide;
}

} // namespace

CFileDialog::CFileDialog(const char* lpszDefExt, const wchar_t* lpszFileName, DWORD dwFlags,
                         const char* lpszFilter, CWnd* pParentWnd)
    : m_strDefExt(WideFromAnsi(lpszDefExt)),
      m_strFilter(lpszFilter ? WideFilter(MakeFilter(lpszFilter, CP_ACP)) : std::wstring()),
      m_dwFlags(dwFlags), m_hWndParent(pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr) {
    lstrcpynW(m_szFile, lpszFileName ? lpszFileName : L"", MAX_PATH);
}

INT_PTR CFileDialog::DoModal() {
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hWndParent;
    ofn.lpstrFilter = m_strFilter.empty() ? nullptr : m_strFilter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = m_szFile;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = m_strDefExt.empty() ? nullptr : m_strDefExt.c_str();
    ofn.Flags = m_dwFlags | OFN_EXPLORER;
    return GetOpenFileNameW(&ofn) ? IDOK : IDCANCEL;
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
