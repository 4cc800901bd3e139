#pragma once

#include <windows.h>

// Sole owner of one GDI object (pen, brush, font, bitmap, region), deleted when
// replaced and when the owner goes.
class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject() { DeleteObject(); }

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // Takes ownership, deleting the object held so far.
    void Attach(HGDIOBJ hObject) {
        DeleteObject();
        m_hObject = hObject;
    }
    BOOL DeleteObject();

protected:
    HGDIOBJ m_hObject = nullptr;
};
