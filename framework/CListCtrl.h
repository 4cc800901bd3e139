#pragma once

#include "CWnd.h"

#include <commctrl.h>

// A report-style list-view control: one message per member.
class CListCtrl : public CWnd {
public:
    int InsertColumn(int nCol, const char* pszHeading, int nFormat, int nWidth);
    // Inserts a row with mask, text, image and data; returns its index or -1.
    int InsertItem(UINT nMask, int nItem, const char* pszItem, int nImage, LPARAM lParam = 0);
    BOOL SetItemText(int nItem, int nSubItem, const char* pszText);
    // The whole text, up to kMaxItemTextBytes.
    CString GetItemText(int nItem, int nSubItem) const;
    // A path of 32767 UTF-16 units in any code page.
    static constexpr size_t kMaxItemTextBytes = 3 * 32768;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    BOOL DeleteItem(int nItem) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, nItem)); }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int GetNextItem(int nItem, int nFlags) const {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, nItem, MAKELPARAM(nFlags, 0)));
    }
    BOOL SetColumnWidth(int nCol, int cx) {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, nCol, MAKELPARAM(cx, 0)));
    }
    int GetColumnWidth(int nCol) const {
        return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, nCol));
    }
    // The width of the text in the list's font, without the margins of a cell.
    int GetStringWidth(const char* pszText) const {
        return static_cast<int>(
            SendMessage(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(pszText)));
    }
    DWORD SetExtendedStyle(DWORD dwMask, DWORD dwStyle) {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, dwMask, dwStyle));
    }
};
