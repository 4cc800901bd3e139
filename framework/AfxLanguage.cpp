#include "AfxLanguage.h"

#include "AfxResource.h"

#include <cstring>

namespace {

LANGID g_resourceLanguage = 0;

bool IsChinese(LANGID langId) {
    return PRIMARYLANGID(langId) == LANG_CHINESE;
}

// The languages to look in, in order; 0 is the system's own search.
void SearchOrder(LANGID order[3]) {
    order[0] = AfxGetResourceLanguage();
    order[1] = order[0] == AFX_LANG_CHINESE ? AFX_LANG_ENGLISH : AFX_LANG_CHINESE;
    order[2] = 0;
}

const void* LoadResourceIn(LPCSTR lpType, UINT nID, LANGID langId, DWORD* pSize) {
    HINSTANCE hModule = AfxGetResourceHandle();
    HRSRC hInfo = FindResourceExA(hModule, lpType, MAKEINTRESOURCEA(nID), langId);
    HGLOBAL hData = hInfo ? LoadResource(hModule, hInfo) : nullptr;
    const void* pData = hData ? LockResource(hData) : nullptr;
    if (pData && pSize) {
        *pSize = SizeofResource(hModule, hInfo);
    }
    return pData;
}

WORD ReadWord(const BYTE* p) {
    WORD w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

} // namespace

LANGID AfxChooseLanguage(LANGID uiLanguage, UINT ansiCodePage, const char* pszOverride) {
    const bool bChineseShows = ansiCodePage == 936;
    if (pszOverride && lstrcmpiA(pszOverride, "en") == 0) {
        return AFX_LANG_ENGLISH;
    }
    if (pszOverride && lstrcmpiA(pszOverride, "zh") == 0) {
        return bChineseShows ? AFX_LANG_CHINESE : AFX_LANG_ENGLISH;
    }
    return bChineseShows && IsChinese(uiLanguage) ? AFX_LANG_CHINESE : AFX_LANG_ENGLISH;
}

void AfxSetResourceLanguage(LANGID langId) {
    g_resourceLanguage = langId;
}

LANGID AfxGetResourceLanguage() {
    if (!g_resourceLanguage) {
        g_resourceLanguage = AfxChooseLanguage(GetUserDefaultUILanguage(), GetACP(), nullptr);
    }
    return g_resourceLanguage;
}

const void* AfxLoadResource(LPCSTR lpType, UINT nID, DWORD* pSize) {
    LANGID order[3];
    SearchOrder(order);
    for (LANGID langId : order) {
        if (const void* pData = LoadResourceIn(lpType, nID, langId, pSize)) {
            return pData;
        }
    }
    return nullptr;
}

HMENU AfxLoadMenu(UINT nID) {
    const void* pTemplate = AfxLoadResource(RT_MENU, nID);
    return pTemplate ? LoadMenuIndirectA(pTemplate) : nullptr;
}

bool AfxLoadString(UINT nID, std::wstring* pText) {
    // A block holds sixteen strings; the interface language's block may lack
    // one that the other language's has.
    LANGID order[3];
    SearchOrder(order);
    for (LANGID langId : order) {
        DWORD cbBlock = 0;
        const void* pBlock = LoadResourceIn(RT_STRING, nID / 16 + 1, langId, &cbBlock);
        if (pBlock && StringTableEntry(pBlock, cbBlock, nID % 16, pText)) {
            return true;
        }
    }
    return false;
}

bool StringTableEntry(const void* pBlock, DWORD cbBlock, UINT nIndex, std::wstring* pText) {
    const BYTE* p = static_cast<const BYTE*>(pBlock);
    const BYTE* pEnd = p + cbBlock;
    for (UINT i = 0; i < 16 && pEnd - p >= 2; ++i) {
        const size_t cch = ReadWord(p);
        p += 2;
        if (static_cast<size_t>(pEnd - p) < cch * 2) {
            return false;
        }
        if (i == nIndex) {
            if (cch == 0) {
                return false;
            }
            pText->resize(cch);
            std::memcpy(&(*pText)[0], p, cch * 2);
            return true;
        }
        p += cch * 2;
    }
    return false;
}

UINT DialogTemplateMenuId(const void* pTemplate, DWORD cbTemplate) {
    const BYTE* p = static_cast<const BYTE*>(pTemplate);
    if (cbTemplate < 4) {
        return 0;
    }
    // DLGTEMPLATEEX starts with version 1 and the signature 0xFFFF; the menu
    // follows its 26-byte head, or DLGTEMPLATE's 18-byte one.
    const bool bExtended = ReadWord(p) == 1 && ReadWord(p + 2) == 0xFFFF;
    const DWORD offset = bExtended ? 26 : 18;
    if (cbTemplate < offset + 4 || ReadWord(p + offset) != 0xFFFF) {
        return 0;
    }
    return ReadWord(p + offset + 2);
}
