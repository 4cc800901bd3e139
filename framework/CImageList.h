#pragma once

#include <windows.h>
#include <commctrl.h>

// An owned image list, destroyed with the object.
class CImageList {
public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList();

    operator HIMAGELIST() const { return m_hImageList; }
    // Images of width cx cut from a bitmap resource of the program; pixels of
    // crMask become transparent.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);

private:
    HIMAGELIST m_hImageList = nullptr;
};
