#pragma once

#include <windows.h>

#include <string>

// The two languages the program's texts come in.
const LANGID AFX_LANG_CHINESE = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
const LANGID AFX_LANG_ENGLISH = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// The language of the interface. The Chinese texts reach the windows through
// the ANSI code page, and only code page 936 holds them: Chinese where the
// user's Windows speaks Chinese and that code page is 936, English everywhere
// else. pszOverride, the user's own "zh" or "en" (any letter case), wins, but
// Chinese still needs code page 936; any other value counts as none.
LANGID AfxChooseLanguage(LANGID uiLanguage, UINT ansiCodePage, const char* pszOverride);

// The language whose dialogs, menus and strings the framework loads. Until it
// is set, the choice for this system without an override.
void AfxSetResourceLanguage(LANGID langId);
LANGID AfxGetResourceLanguage();

// The system's own search (LoadStringA, DialogBoxParamA, LoadMenuA) goes by the
// thread's UI languages, with fallbacks that differ from Windows 7 to 11 and
// know nothing of the code page: naming the language finds the same resource
// everywhere.
// A resource of the program's module in the interface language; failing that
// in the other language, and failing that in whatever language the system's
// own search finds. Null when there is none; *pSize gets its size.
const void* AfxLoadResource(LPCSTR lpType, UINT nID, DWORD* pSize = nullptr);
// Menu nID of the interface language; the caller destroys it.
HMENU AfxLoadMenu(UINT nID);
// String nID of the interface language (or, where that language lacks it, of
// the other one); false when neither has it.
bool AfxLoadString(UINT nID, std::wstring* pText);

// Reading the platform's resource formats, apart from any module.
// String nIndex (0 to 15) of a string-table block: sixteen texts, each a
// count of UTF-16 units and the units. False for an empty or absent string.
bool StringTableEntry(const void* pBlock, DWORD cbBlock, UINT nIndex, std::wstring* pText);
// The number of the menu a dialog template (either form) names; 0 when it
// names none, names one by name, or is too short to tell.
UINT DialogTemplateMenuId(const void* pTemplate, DWORD cbTemplate);
