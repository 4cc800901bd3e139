#pragma once

#include "CListCtrl.h"
#include "CString.h"

// A report-style list view in which a cell whose column cuts its text shows
// the whole text in a tip laid over the cell while the mouse rests on it.
class CTipListCtrl : public CListCtrl {
public:
    CTipListCtrl() = default;
    ~CTipListCtrl() override;

    // Creates the tip window; once the control is bound to its window.
    BOOL EnableCellTips();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // void OnMouseMove(POINT point)
    void OnMouseMove(POINT point);
    // void OnMouseHover(POINT point)
    void OnMouseHover(POINT point);
    void HideTip();
    // The cell at a client point, false outside every cell.
    bool HitCell(POINT point, int* pItem, int* pSubItem) const;

    HWND m_hTip = nullptr;
    int m_nItem = -1;
    int m_nSubItem = -1;
    CString m_strTip;
};

// Whether a text of the given width is cut in a cell of the given width, the
// list view's margins taken into account.
bool IsCellTextCut(int nTextWidth, int nCellWidth);
