#include "CAnchorLayout.h"

RECT CAnchorLayout::GetChildRect(HWND hWnd) const {
    RECT rect = {0, 0, 0, 0};
    ::GetWindowRect(hWnd, &rect);
    POINT topLeft = {rect.left, rect.top};
    POINT bottomRight = {rect.right, rect.bottom};
    ::ScreenToClient(m_hWndParent, &topLeft);
    ::ScreenToClient(m_hWndParent, &bottomRight);
    RECT child = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    return child;
}

RECT CAnchorLayout::GetReferenceRect(HWND hWndRef) const {
    if (hWndRef) {
        return GetChildRect(hWndRef);
    }
    RECT client = {0, 0, 0, 0};
    ::GetClientRect(m_hWndParent, &client);
    return client;
}

void CAnchorLayout::AddControl(HWND hWnd, HWND hWndRef, int nLeft, int nTop, int nRight,
                               int nBottom) {
    AnchorEntry entry = {nLeft, nTop, nRight, nBottom, hWnd, hWndRef, 0, 0, 0, 0};
    SetAnchorOffsets(entry, GetReferenceRect(hWndRef), GetChildRect(hWnd));
    m_entries.push_back(entry);
}

void CAnchorLayout::ApplyLayout(int, int) {
    for (const AnchorEntry& entry : m_entries) {
        if (!entry.hWnd) {
            continue;
        }
        RECT r = AnchoredRect(entry, GetReferenceRect(entry.hWndRef), GetChildRect(entry.hWnd));
        ::MoveWindow(entry.hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
}
