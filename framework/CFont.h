#pragma once

#include "CGdiObject.h"

// An owned font.
class CFont : public CGdiObject {
public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    // Replaces the font held so far; FALSE (and no font) when creation fails.
    BOOL CreateFontIndirect(const LOGFONTA* pLogFont) {
        Attach(::CreateFontIndirectA(pLogFont));
        return m_hObject != nullptr;
    }
};
