#include "AddWatchOverlap.h"

#include "AddWatchRules.h"
#include "AfxText.h"
#include "CWinApp.h"
#include "PathPattern.h"
#include "resource.h"

int FindOverlappingItem(const CWatchList& list, const char* pszPath, UINT nCodePage) {
    for (int i = 0; i < list.GetCount(); ++i) {
        if (WatchedPathsOverlap(list.GetAt(i)->m_strFileName, pszPath, nCodePage)) {
            return i;
        }
    }
    return -1;
}

OverlapChoice AskAboutOverlap(HWND hOwner, const CWatchList& list, const char* pszPath,
                              int* pnExisting) {
    const int nExisting = FindOverlappingItem(list, pszPath);
    *pnExisting = nExisting;
    if (nExisting < 0) {
        return OverlapChoice::kAddNew;
    }
    const CWatchItem& existing = *list.GetAt(nExisting);
    CString strText;
    AfxFormatString1(strText, IDS_ALREADY_WATCHED,
                     AliasOrTitle(existing.m_strTitle, existing.m_strFileName));
    // Yes, at hand, changes nothing that was there and adds no second row.
    switch (MessageBoxA(hOwner, strText, AfxGetAppName(), MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return OverlapChoice::kOpenExisting;
    case IDNO:
        return OverlapChoice::kAddNew;
    default:
        return OverlapChoice::kCancel;
    }
}
