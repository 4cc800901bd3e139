#include "PathEntry.h"

#include "WideText.h"
#include "resource.h"

std::wstring WideWindowText(HWND hWnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hWnd)) + 1, L'\0');
    const int n = GetWindowTextW(hWnd, &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

bool ReadPathFromEdit(HWND hDlg, int nEditID, CString& strPath) {
    HWND hEdit = GetDlgItem(hDlg, nEditID);
    const std::wstring typed = WideWindowText(hEdit);
    if (AnsiFromWide(typed.c_str(), &strPath)) {
        return true;
    }
    const std::wstring codePage = std::to_wstring(GetACP());
    const wchar_t* args[] = {typed.c_str(), codePage.c_str()};
    const std::wstring text = FormatWideString(IDS_PATH_NOT_IN_CODE_PAGE, args, 2);
    ::MessageBoxW(hDlg, text.c_str(), WideWindowText(hDlg).c_str(), MB_OK | MB_ICONEXCLAMATION);
    ::SetFocus(hEdit);
    ::SendMessageW(hEdit, EM_SETSEL, 0, -1);
    return false;
}
