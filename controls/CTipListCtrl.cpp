#include "CTipListCtrl.h"

namespace {

// The list view draws a cell's text this far from each of its edges.
const int kCellTextMargin = 6;

} // namespace

bool IsCellTextCut(int nTextWidth, int nCellWidth) {
    return nTextWidth > nCellWidth - 2 * kCellTextMargin;
}

CTipListCtrl::~CTipListCtrl() {
    // The list view owns the tip and normally takes it along when it goes.
    if (m_hTip && IsWindow(m_hTip)) {
        ::DestroyWindow(m_hTip);
    }
}

BOOL CTipListCtrl::EnableCellTips() {
    if (m_hTip || !m_hWnd) {
        return FALSE;
    }
    m_hTip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                             WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0, m_hWnd, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    if (!m_hTip) {
        return FALSE;
    }
    // A tracked tool: the control decides when and where it shows.
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    tool.hwnd = m_hWnd;
    tool.uId = 1;
    tool.lpszText = const_cast<char*>("");
    ::SendMessageA(m_hTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    return TRUE;
}

LRESULT CTipListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        break;
    case WM_MOUSEHOVER:
        OnMouseHover(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        break;
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_KEYDOWN:
        HideTip();
        m_nItem = m_nSubItem = -1;
        break;
    default:
        break;
    }
    return DefWindowProc(message, wParam, lParam);
}

bool CTipListCtrl::HitCell(POINT point, int* pItem, int* pSubItem) const {
    LVHITTESTINFO hit = {};
    hit.pt = point;
    SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.iItem < 0 || !(hit.flags & LVHT_ONITEM)) {
        return false;
    }
    *pItem = hit.iItem;
    *pSubItem = hit.iSubItem;
    return true;
}

void CTipListCtrl::OnMouseMove(POINT point) {
    int nItem = -1, nSubItem = -1;
    HitCell(point, &nItem, &nSubItem);
    if (nItem == m_nItem && nSubItem == m_nSubItem) {
        return;
    }
    HideTip();
    m_nItem = nItem;
    m_nSubItem = nSubItem;
    if (!m_hTip || nItem < 0) {
        return;
    }
    // The tip comes when the mouse rests on the new cell.
    TRACKMOUSEEVENT track = {sizeof track, TME_HOVER | TME_LEAVE, m_hWnd, HOVER_DEFAULT};
    TrackMouseEvent(&track);
}

void CTipListCtrl::OnMouseHover(POINT point) {
    int nItem = -1, nSubItem = -1;
    if (!m_hTip || !HitCell(point, &nItem, &nSubItem)) {
        return;
    }
    m_nItem = nItem;
    m_nSubItem = nSubItem;
    RECT cell = {};
    cell.top = nSubItem;
    cell.left = LVIR_LABEL;
    if (!SendMessage(LVM_GETSUBITEMRECT, nItem, reinterpret_cast<LPARAM>(&cell))) {
        return;
    }
    m_strTip = GetItemText(nItem, nSubItem);
    const int nTextWidth = static_cast<int>(
        SendMessage(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(m_strTip.GetString())));
    if (m_strTip.IsEmpty() || !IsCellTextCut(nTextWidth, cell.right - cell.left)) {
        return;
    }
    // The tip wears the list's font and lies over the cell's text, so the
    // whole text seems to unfold in place.
    ::SendMessageA(m_hTip, WM_SETFONT, static_cast<WPARAM>(SendMessage(WM_GETFONT)), FALSE);
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_hWnd;
    tool.uId = 1;
    tool.lpszText = const_cast<char*>(m_strTip.GetString());
    ::SendMessageA(m_hTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    RECT text = {cell.left + kCellTextMargin, cell.top, cell.left + kCellTextMargin + nTextWidth,
                 cell.bottom};
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&text), 2);
    ::SendMessageA(m_hTip, TTM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&text));
    // A long text starts further left rather than run off the monitor.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoA(MonitorFromRect(&text, MONITOR_DEFAULTTONEAREST), &monitor) &&
        text.right > monitor.rcWork.right) {
        const int nShift = text.right - monitor.rcWork.right;
        text.left =
            text.left - nShift < monitor.rcWork.left ? monitor.rcWork.left : text.left - nShift;
    }
    ::SendMessageA(m_hTip, TTM_TRACKPOSITION, 0, MAKELPARAM(text.left, text.top));
    ::SendMessageA(m_hTip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void CTipListCtrl::HideTip() {
    if (!m_hTip) {
        return;
    }
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_hWnd;
    tool.uId = 1;
    ::SendMessageA(m_hTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}
