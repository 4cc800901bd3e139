#include "CFileDialog.h"

#include "WideText.h"

#include <cderr.h>

#include <algorithm>
#include <vector>

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
      m_dwFlags(dwFlags), m_hWndParent(pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr),
      m_strInitialFile(lpszFileName ? lpszFileName : L"") {}

INT_PTR CFileDialog::DoModal() {
    // Room for the longest path the system has. A dialog that still finds it
    // too small says how much it needs; it opens again with that much rather
    // than answer as if the user had cancelled.
    std::vector<wchar_t> file(kMaxPathUnits + 1, L'\0');
    for (;;) {
        const size_t copied = std::min(m_strInitialFile.size(), file.size() - 1);
        std::copy(m_strInitialFile.begin(), m_strInitialFile.begin() + copied, file.begin());
        file[copied] = L'\0';
        OPENFILENAMEW ofn = {};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = m_hWndParent;
        ofn.lpstrFilter = m_strFilter.empty() ? nullptr : m_strFilter.c_str();
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
        ofn.lpstrDefExt = m_strDefExt.empty() ? nullptr : m_strDefExt.c_str();
        ofn.Flags = m_dwFlags | OFN_EXPLORER;
        if (GetOpenFileNameW(&ofn)) {
            m_strPathName = file.data();
            return IDOK;
        }
        if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL) {
            return IDCANCEL;
        }
        // The first unit then holds the size needed.
        const size_t needed = file[0];
        file.assign(std::max(needed + 1, file.size() * 2), L'\0');
    }
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
