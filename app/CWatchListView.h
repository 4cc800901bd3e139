#pragma once

#include "CTipListCtrl.h"

#include <vector>

class CProfileFile;
class CProfileText;
class CWatchItem;
class CWatchList;

// The main window's list: a row per watch item, in list order, and four
// columns whose widths the user may change and the settings keep.
class CWatchListView : public CTipListCtrl {
public:
    // The columns with their headings at the design widths for nDpi, full-row
    // selection and the cells' tips; once the control is bound to its window.
    void InitColumns(UINT nDpi);
    // The widths the settings hold where they are sane, else the defaults for
    // the list as wide as it is now.
    void LoadColumnWidths(CProfileFile& settings, UINT nDpi);
    void SaveColumnWidths(CProfileText& text) const;
    // The columns keep the share of the window the user gave them when the
    // window moves to a monitor of another scale.
    void ScaleColumnWidths(UINT nFromDpi, UINT nToDpi);
    // The item's texts in its row: columns 1 to 3, and the alias with bAlias.
    void ShowItem(int nRow, const CWatchItem& item, bool bAlias);
    // A new row nRow for the item; the row of a program the administrator's
    // policy watches is greyed and says so.
    void InsertRow(int nRow, const CWatchItem& item, bool bPolicy = false);
    // A row per item of the list.
    void ShowRows(const CWatchList& list);
    // The rows of the list's policy items anew, after the user's own.
    void ShowPolicyRows(const CWatchList& list);
    // LRESULT OnCustomDraw(NMLVCUSTOMDRAW* pDraw): the list's NM_CUSTOMDRAW,
    // whose colours the list view draws with
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW* pDraw) const;

private:
    // What each column takes to show its texts whole; the file names fill
    // what is left of the list's width.
    std::vector<int> DefaultWidths(UINT nDpi) const;
};
