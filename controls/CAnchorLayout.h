#pragma once

#include <windows.h>

#include <vector>

#include "AnchorGeometry.h"

// Keeps child controls at fixed distances from sides of a reference rectangle
// (the parent's client area or another window) as the parent changes size.
// The layout does not own the windows it names.
class CAnchorLayout {
public:
    CAnchorLayout() = default;
    CAnchorLayout(const CAnchorLayout&) = delete;
    CAnchorLayout& operator=(const CAnchorLayout&) = delete;
    virtual ~CAnchorLayout() = default;

    void SetParentWnd(HWND hWndParent) { m_hWndParent = hWndParent; }
    // Registers a control (none for a control that was not found: it is kept
    // and skipped harmlessly). hWndRef none: the parent's client area.
    void AddControl(HWND hWnd, HWND hWndRef, int nLeft, int nTop, int nRight, int nBottom);
    // Moves every control in registration order, so a reference window that was
    // registered earlier is in its new place when later controls follow it.
    // The new client size is read from the windows; the arguments are not used.
    void ApplyLayout(int cx, int cy);

private:
    // The window's rectangle in the parent's client coordinates.
    RECT GetChildRect(HWND hWnd) const;
    RECT GetReferenceRect(HWND hWndRef) const;

    HWND m_hWndParent = nullptr;
    std::vector<AnchorEntry> m_entries;
};
