#include "CGdiObject.h"

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) {
        return FALSE;
    }
    BOOL deleted = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return deleted;
}
