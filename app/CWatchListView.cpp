#include "CWatchListView.h"

#include "AfxLanguage.h"
#include "CProfileFile.h"
#include "CProfileText.h"
#include "CWatchItem.h"
#include "CWatchList.h"
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

// The texts a column's cells can show beside the ones typed by the user.
enum class CellTexts { Typed, Conditions, Effects };

struct ColumnDefault {
    UINT nHeading;
    int nWidth;
    int nEnglishWidth; // the English texts are longer, and so is their window
    const char* pszKey;
    CellTexts cells;
};
const ColumnDefault kColumns[kColumnCount] = {
    {IDS_COLUMN_ALIAS, 100, 80, "Col0", CellTexts::Typed},
    {IDS_COLUMN_FILENAME, 150, 140, "Col1", CellTexts::Typed},
    {IDS_COLUMN_CONDITION, 70, 110, "Col2", CellTexts::Conditions},
    {IDS_COLUMN_EFFECT, 70, 140, "Col3", CellTexts::Effects},
};

CString LoadText(UINT nID) {
    CString text;
    text.LoadString(nID);
    return text;
}

// The texts a column's cells can show: all of them, or (bMost) those most
// cells have.
std::vector<CString> TextsOf(CellTexts cells, bool bMost) {
    std::vector<CString> texts;
    switch (cells) {
    case CellTexts::Conditions:
        for (int nCondition = 0; nCondition <= 2; ++nCondition) {
            texts.push_back(LoadText(ConditionTextId(nCondition)));
        }
        break;
    case CellTexts::Effects:
        // Keeping the computer awake too is the longest, and the rarest.
        for (int nEffect = 1; nEffect <= 3; ++nEffect) {
            for (int nAwake = 0; nAwake <= (bMost ? 0 : 1); ++nAwake) {
                texts.push_back(EffectRowText(nEffect, nAwake));
            }
        }
        break;
    case CellTexts::Typed:
        break;
    }
    return texts;
}

int DesignWidth(const ColumnDefault& column, UINT nDpi) {
    return ScaleByDpi(
        AfxGetResourceLanguage() == AFX_LANG_ENGLISH ? column.nEnglishWidth : column.nWidth, nDpi);
}

// The data of a policy's row, which custom drawing greys.
const LPARAM kPolicyRow = 1;

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
    std::vector<ColumnNeed> needs;
    const int padding = ScaleByDpi(kColumnTextPadding, nDpi);
    const auto widest = [&](const std::vector<CString>& texts, int nFrom) {
        for (const CString& text : texts) {
            nFrom = std::max(nFrom, GetStringWidth(text) + padding);
        }
        return nFrom;
    };
    for (const ColumnDefault& column : kColumns) {
        const int heading = GetStringWidth(LoadText(column.nHeading)) + padding;
        ColumnNeed need;
        need.nLeast = widest(TextsOf(column.cells, true), heading);
        // The file names give way first: their column needs its heading only.
        const int design = needs.size() == kFillColumn ? 0 : DesignWidth(column, nDpi);
        need.nWhole = widest(TextsOf(column.cells, false), std::max(design, need.nLeast));
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

void CWatchListView::InsertRow(int nRow, const CWatchItem& item, bool bPolicy) {
    CString strAlias = item.m_strTitle;
    if (bPolicy) {
        strAlias += LoadText(IDS_POLICY_ROW_MARK);
    }
    InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, nRow, strAlias, 0, bPolicy ? kPolicyRow : 0);
    ShowItem(nRow, item, false);
}

void CWatchListView::ShowRows(const CWatchList& list) {
    for (int i = 0; i < list.GetCount(); ++i) {
        InsertRow(i, *list.GetAt(i), list.IsPolicyItem(i));
    }
}

void CWatchListView::ShowPolicyRows(const CWatchList& list) {
    for (int nRow = GetItemCount(); nRow-- > list.GetOwnCount();) {
        DeleteItem(nRow);
    }
    for (int i = list.GetOwnCount(); i < list.GetCount(); ++i) {
        InsertRow(i, *list.GetAt(i), true);
    }
}

LRESULT CWatchListView::OnCustomDraw(NMLVCUSTOMDRAW* pDraw) const {
    switch (pDraw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        if (pDraw->nmcd.lItemlParam == kPolicyRow) {
            pDraw->clrText = GetSysColor(COLOR_GRAYTEXT);
            return CDRF_NEWFONT;
        }
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

void CWatchListView::ShowItem(int nRow, const CWatchItem& item, bool bAlias) {
    if (bAlias) {
        SetItemText(nRow, 0, item.m_strTitle);
    }
    SetItemText(nRow, 1, item.m_strFileName);
    SetItemText(nRow, 2, LoadText(ConditionTextId(item.m_nValidCondition)));
    SetItemText(nRow, 3, EffectRowText(item.m_nMonitorEffec, item.m_nKeepSystemAwake));
}
