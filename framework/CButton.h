#pragma once

#include "CWnd.h"

// A push button; an owner-drawn one draws itself in DrawItem.
class CButton : public CWnd {
protected:
    // void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct): the parent's WM_DRAWITEM
    // for this button, reflected.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
