#pragma once

#include "CGdiObject.h"

// An owned region. A window that accepts it through SetWindowRgn takes it over,
// and then the region must be let go, not deleted.
class CRgn : public CGdiObject {
public:
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    // Replaces the region held so far; FALSE (and no region) when creation fails.
    BOOL CreateRectRgnIndirect(const RECT* pRect) {
        Attach(::CreateRectRgnIndirect(pRect));
        return m_hObject != nullptr;
    }
    int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) {
        return ::CombineRgn(*this, *pRgn1, *pRgn2, nCombineMode);
    }
    // Gives up ownership without deleting.
    HRGN Detach() {
        HRGN hRgn = *this;
        m_hObject = nullptr;
        return hRgn;
    }
};
