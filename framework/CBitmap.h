#pragma once

#include "CGdiObject.h"

// An owned bitmap.
class CBitmap : public CGdiObject {
public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    // Loads a bitmap resource of the program at its own size.
    BOOL LoadBitmap(UINT nIDResource);
    BOOL GetBitmap(BITMAP* pBitmap) const {
        return ::GetObjectA(m_hObject, sizeof(BITMAP), pBitmap) == sizeof(BITMAP);
    }
};
