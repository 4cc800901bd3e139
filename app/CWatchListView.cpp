#include "CWatchListView.h"

#include "AfxLanguage.h"
#include "CProfileFile.h"
#include "CProfileText.h"
#include "CWatchItem.h"
#include "ColumnWidths.h"
#include "DpiScale.h"
#include "WatchRowText.h"
#include "resource.h"

#include <algorithm>

namespace {

// What the list view adds to a text's width around a cell's text.
const int kColumnTextPadding = 16;
// The column whose texts (paths) are long: it takes the list's spare width.
const size_t kFillColumn = 1;
const int kColumnCount = 4;

struct ColumnDefault {
    UINT nHeading;
    int nWidth;
    int nEnglishWidth; // the English texts are longer, and so is their window
    const char* pszKey;
    // The texts a cell of the column can show (0 ends the list).
    UINT nCellTexts[3];
};
const ColumnDefault kColumns[kColumnCount] = {
    {IDS_COLUMN_ALIAS, 100, 80, "Col0", {0, 0, 0}},
    {IDS_COLUMN_FILENAME, 150, 140, "Col1", {0, 0, 0}},
    {IDS_COLUMN_CONDITION,
     70,
     110,
     "Col2",
     {ConditionTextId(0), ConditionTextId(1), ConditionTextId(2)}},
    {IDS_COLUMN_EFFECT, 70, 140, "Col3", {EffectTextId(1), EffectTextId(2), EffectTextId(3)}},
};

int DesignWidth(const ColumnDefault& column, UINT nDpi) {
    return ScaleByDpi(
        AfxGetResourceLanguage() == AFX_LANG_ENGLISH ? column.nEnglishWidth : column.nWidth, nDpi);
}

CString LoadText(UINT nID) {
    CString text;
    text.LoadString(nID);
    return text;
}

} // namespace

void CWatchListView::InitColumns(UINT nDpi) {
    for (int n = 0; n < kColumnCount; ++n) {
        InsertColumn(n, LoadText(kColumns[n].nHeading), LVCFMT_LEFT,
                     DesignWidth(kColumns[n], nDpi));
    }
    SetExtendedStyle(0, LVS_EX_FULLROWSELECT);
    EnableCellTips();
}

std::vector<int> CWatchListView::DefaultWidths(UINT nDpi) const {
    std::vector<int> needs;
    const int padding = ScaleByDpi(kColumnTextPadding, nDpi);
    for (const ColumnDefault& column : kColumns) {
        // The file names give way first: their column needs its heading only.
        int need = needs.size() == kFillColumn ? 0 : DesignWidth(column, nDpi);
        need = std::max(need, GetStringWidth(LoadText(column.nHeading)) + padding);
        for (UINT nText : column.nCellTexts) {
            if (nText != 0) {
                need = std::max(need, GetStringWidth(LoadText(nText)) + padding);
            }
        }
        needs.push_back(need);
    }
    // Room for a vertical scroll bar, so that a longer list does not make the
    // columns scroll sideways.
    RECT list;
    ::GetClientRect(m_hWnd, &list);
    return DefaultColumnWidths(needs, kFillColumn, list.right - GetSystemMetrics(SM_CXVSCROLL));
}

void CWatchListView::LoadColumnWidths(CProfileFile& settings, UINT nDpi) {
    const std::vector<int> defaults = DefaultWidths(nDpi);
    for (int n = 0; n < kColumnCount; ++n) {
        // A stored width is the user's own, in pixels; only the default scales.
        const int stored = settings.GetInt("Dialog", kColumns[n].pszKey, -1);
        SetColumnWidth(n, StoredOrDefaultWidth(stored, defaults[static_cast<size_t>(n)]));
    }
}

void CWatchListView::SaveColumnWidths(CProfileText& text) const {
    for (int n = 0; n < kColumnCount; ++n) {
        text.WriteInt("Dialog", kColumns[n].pszKey, GetColumnWidth(n));
    }
}

void CWatchListView::ScaleColumnWidths(UINT nFromDpi, UINT nToDpi) {
    for (int n = 0; n < kColumnCount; ++n) {
        SetColumnWidth(
            n, MulDiv(GetColumnWidth(n), static_cast<int>(nToDpi), static_cast<int>(nFromDpi)));
    }
}

void CWatchListView::InsertRow(int nRow, const CWatchItem& item) {
    InsertItem(LVIF_TEXT | LVIF_IMAGE, nRow, item.m_strTitle, 0);
    ShowItem(nRow, item, false);
}

void CWatchListView::ShowItem(int nRow, const CWatchItem& item, bool bAlias) {
    if (bAlias) {
        SetItemText(nRow, 0, item.m_strTitle);
    }
    SetItemText(nRow, 1, item.m_strFileName);
    SetItemText(nRow, 2, LoadText(ConditionTextId(item.m_nValidCondition)));
    SetItemText(nRow, 3, EffectRowText(item.m_nMonitorEffec, item.m_nKeepSystemAwake));
}
