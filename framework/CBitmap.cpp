#include "CBitmap.h"

#include "AfxResource.h"

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
    Attach(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(LOWORD(nIDResource)), IMAGE_BITMAP,
                        0, 0, 0));
    return m_hObject != nullptr;
}
