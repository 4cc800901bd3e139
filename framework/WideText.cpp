#include "WideText.h"

#include "AfxLanguage.h"

#include <cstring>
#include <cwchar>

std::wstring WideFromCodePage(const char* psz, UINT nCodePage) {
    const int cb = psz ? static_cast<int>(std::strlen(psz)) : 0;
    if (cb == 0) {
        return std::wstring();
    }
    const int cch = MultiByteToWideChar(nCodePage, 0, psz, cb, nullptr, 0);
    if (cch <= 0) {
        return std::wstring();
    }
    std::wstring wide(static_cast<size_t>(cch), L'\0');
    MultiByteToWideChar(nCodePage, 0, psz, cb, &wide[0], cch);
    return wide;
}

std::wstring WideAsAnsiFunctionsDo(const char* psz) {
    std::string text(psz ? psz : "");
    size_t i = 0;
    while (i < text.size()) {
        i += IsDBCSLeadByte(static_cast<BYTE>(text[i])) ? 2 : 1;
    }
    if (i > text.size()) {
        text.pop_back();
    }
    return WideFromCodePage(text.c_str(), CP_ACP);
}

bool CodePageFromWide(const wchar_t* psz, UINT nCodePage, std::string* pOut) {
    pOut->clear();
    const int cch = psz ? static_cast<int>(std::wcslen(psz)) : 0;
    if (cch == 0) {
        return true;
    }
    const int cb = WideCharToMultiByte(nCodePage, 0, psz, cch, nullptr, 0, nullptr, nullptr);
    if (cb <= 0) {
        return false;
    }
    pOut->assign(static_cast<size_t>(cb), '\0');
    WideCharToMultiByte(nCodePage, 0, psz, cch, &(*pOut)[0], cb, nullptr, nullptr);
    // A text the code page holds comes back unchanged. The round trip judges
    // every code page alike: a missing character becomes '?', a best-fit one
    // ("é" as "e") another letter, and UTF-8 loses only lone surrogates.
    return WideFromCodePage(pOut->c_str(), nCodePage) ==
           std::wstring(psz, static_cast<size_t>(cch));
}

bool AnsiFromWide(const wchar_t* psz, CString* pOut) {
    std::string bytes;
    const bool bHeld = CodePageFromWide(psz, CP_ACP, &bytes);
    *pOut = CString(bytes.data(), bytes.size());
    return bHeld;
}

std::wstring FolderOfPath(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring ModulePath(HMODULE hModule) {
    // Long-path aware systems give more than MAX_PATH: grow until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(hModule, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0) {
            return std::wstring();
        }
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        if (path.size() >= 32768) {
            return std::wstring();
        }
        path.assign(path.size() * 2, L'\0');
    }
}

std::wstring FormatWideString(UINT nIDS, const wchar_t* const* args, int nArgs) {
    std::wstring format;
    AfxLoadString(nIDS, &format);
    std::wstring out;
    for (size_t i = 0; i < format.size(); ++i) {
        const wchar_t c = format[i];
        const wchar_t next = i + 1 < format.size() ? format[i + 1] : L'\0';
        if (c == L'%' && next >= L'1' && next <= L'9' && next - L'1' < nArgs) {
            const wchar_t* arg = args[next - L'1'];
            out += arg ? arg : L"";
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}
