#include "CImageList.h"

#include "AfxResource.h"

CImageList::~CImageList() {
    if (m_hImageList) {
        ImageList_Destroy(m_hImageList);
    }
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
    if (m_hImageList) {
        ImageList_Destroy(m_hImageList);
    }
    m_hImageList = ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(LOWORD(nBitmapID)),
                                        cx, nGrow, crMask, IMAGE_BITMAP, 0);
    return m_hImageList != nullptr;
}
