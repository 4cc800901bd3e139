#include "PathEntry.h"

#include "AddWatchRules.h"
#include "PathPattern.h"
#include "WideText.h"
#include "resource.h"

#include <algorithm>

namespace {

// The path in the form the system's calls take beyond MAX_PATH units.
std::wstring ExtendedForm(const std::wstring& path) {
    if (path.size() < MAX_PATH) {
        return path;
    }
    return path.compare(0, 2, L"\\\\") == 0 ? L"\\\\?\\UNC\\" + path.substr(2) : L"\\\\?\\" + path;
}

std::wstring OrdinaryForm(const std::wstring& path) {
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) {
        return L"\\\\" + path.substr(8);
    }
    return path.compare(0, 4, L"\\\\?\\") == 0 ? path.substr(4) : path;
}

bool LongPathName(const std::wstring& path, std::wstring& longPath) {
    const std::wstring asked = ExtendedForm(path);
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetLongPathNameW(asked.c_str(), &buffer[0], static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return false;
        }
        if (n < buffer.size()) {
            buffer.resize(n);
            longPath = OrdinaryForm(buffer);
            return true;
        }
        buffer.assign(n, L'\0');
    }
}

UINT ProblemTextId(PathTextProblem problem) {
    switch (problem) {
    case PathTextProblem::kNotFullPath:
        return IDS_PATH_NOT_FULL;
    case PathTextProblem::kForbiddenCharacter:
        return IDS_PATH_FORBIDDEN_CHARACTER;
    case PathTextProblem::kEmptyName:
        return IDS_PATH_EMPTY_NAME;
    case PathTextProblem::kAboveRoot:
        return IDS_PATH_ABOVE_ROOT;
    case PathTextProblem::kNoFileName:
    case PathTextProblem::kNone:
        break;
    }
    return IDS_PATH_NO_FILE_NAME;
}

void FocusWholeText(HWND hEdit) {
    ::SetFocus(hEdit);
    ::SendMessageW(hEdit, EM_SETSEL, 0, -1);
}

void RefusePath(HWND hDlg, HWND hEdit, UINT nIDS, const wchar_t* const* args, int nArgs) {
    const std::wstring text = FormatWideString(nIDS, args, nArgs);
    ::MessageBoxW(hDlg, text.c_str(), WideWindowText(hDlg).c_str(), MB_OK | MB_ICONEXCLAMATION);
    FocusWholeText(hEdit);
}

} // namespace

std::wstring WideWindowText(HWND hWnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hWnd)) + 1, L'\0');
    const int n = GetWindowTextW(hWnd, &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

std::wstring WithLongNames(const std::wstring& path, size_t nRootLength) {
    const size_t fixed = FixedPartLength(path);
    // A '*' in the server or share name: no folder of it can be asked for.
    if (fixed + 1 < nRootLength) {
        return path;
    }
    for (size_t end = std::max(fixed, nRootLength);;) {
        std::wstring longPart;
        if (LongPathName(path.substr(0, end), longPart)) {
            return longPart + path.substr(end);
        }
        if (end <= nRootLength) {
            return path;
        }
        end = std::max(path.rfind(L'\\', end - 1), nRootLength);
    }
}

bool ReadPathFromEdit(HWND hDlg, int nEditID, CString& strPath) {
    HWND hEdit = GetDlgItem(hDlg, nEditID);
    const std::wstring typed = CleanTypedPath(WideWindowText(hEdit));
    strPath = CString();
    if (typed.empty()) {
        return true;
    }
    std::wstring path;
    size_t nRootLength = 0;
    const PathTextProblem problem = NormalizePathText(typed, path, &nRootLength);
    if (problem != PathTextProblem::kNone) {
        const wchar_t* args[] = {typed.c_str()};
        RefusePath(hDlg, hEdit, ProblemTextId(problem), args, 1);
        return false;
    }
    path = WithLongNames(path, nRootLength);
    if (AnsiFromWide(path.c_str(), &strPath)) {
        return true;
    }
    const std::wstring codePage = std::to_wstring(GetACP());
    const wchar_t* args[] = {path.c_str(), codePage.c_str()};
    RefusePath(hDlg, hEdit, IDS_PATH_NOT_IN_CODE_PAGE, args, 2);
    strPath = CString();
    return false;
}

bool ConfirmMissingProgram(HWND hDlg, int nEditID, const char* pszPath) {
    if (IsPathPattern(pszPath)) {
        return true;
    }
    const std::wstring path = WideFromAnsi(pszPath);
    const DWORD dwAttributes = GetFileAttributesW(ExtendedForm(path).c_str());
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return true;
    }
    const wchar_t* args[] = {path.c_str()};
    const std::wstring text = FormatWideString(IDS_NO_SUCH_PROGRAM, args, 1);
    // No is the answer at hand: a path typed wrong is the likelier case.
    if (::MessageBoxW(hDlg, text.c_str(), WideWindowText(hDlg).c_str(),
                      MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES) {
        return true;
    }
    FocusWholeText(GetDlgItem(hDlg, nEditID));
    return false;
}
