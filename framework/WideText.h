#pragma once

#include "CString.h"

#include <windows.h>

#include <string>

// The program keeps its texts in the ANSI code page; the paths it has to
// itself (its folder, its files, its Run value) cross the system boundary as
// UTF-16, so that no folder or user name is lost to that code page.

// The most bytes a path of MAX_PATH UTF-16 units takes in any ANSI code page,
// its NUL included: three a unit in UTF-8 (code page 65001), where a Chinese
// character takes three bytes and a pair of surrogates four.
constexpr int kMaxPathBytes = 3 * MAX_PATH;

// Text of code page nCodePage as UTF-16; bytes that are no character there
// come out as the code page's replacement.
std::wstring WideFromCodePage(const char* psz, UINT nCodePage);
// The UTF-16 text in code page nCodePage. False when the code page cannot hold
// every character as it is (a character it lacks, or one it would only
// approximate); pOut then gets the nearest it can say, with '?' for the rest.
bool CodePageFromWide(const wchar_t* psz, UINT nCodePage, std::string* pOut);

inline std::wstring WideFromAnsi(const char* psz) {
    return WideFromCodePage(psz, CP_ACP);
}
// The ANSI text as an ANSI function of the platform passes it on to its wide
// twin: a lead byte at the very end, without its second byte, is dropped
// rather than turned into a replacement character.
std::wstring WideAsAnsiFunctionsDo(const char* psz);
// The same in the ANSI code page, into the program's own string type.
bool AnsiFromWide(const wchar_t* psz, CString* pOut);

// The folder of a full path, ending in its last backslash; empty for a path
// without one.
std::wstring FolderOfPath(const std::wstring& path);
// The running program's full path as the system spells it; empty when it
// cannot be read.
std::wstring ModulePath(HMODULE hModule = nullptr);

// String nIDS of the interface language with "%1" to "%9" replaced by the
// texts of args, as UTF-16: for texts that carry a path the code page cannot
// hold.
std::wstring FormatWideString(UINT nIDS, const wchar_t* const* args, int nArgs);
