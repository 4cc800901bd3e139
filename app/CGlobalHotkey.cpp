#include "CGlobalHotkey.h"

#include <commctrl.h>

namespace {

const int kFirstID = 1;
const int kSecondID = 2;

// Held down, a key repeats: one press toggles once.
const UINT kModNoRepeat = 0x4000;

} // namespace

CGlobalHotkey::~CGlobalHotkey() {
    Release();
}

UINT CGlobalHotkey::ModifiersOf(WORD wHotkey) {
    const UINT nFlags = HIBYTE(wHotkey);
    return ((nFlags & HOTKEYF_ALT) ? MOD_ALT : 0u) | ((nFlags & HOTKEYF_CONTROL) ? MOD_CONTROL : 0u) |
           ((nFlags & HOTKEYF_SHIFT) ? MOD_SHIFT : 0u);
}

bool CGlobalHotkey::Change(WORD wHotkey) {
    if (wHotkey == m_wHotkey) {
        return true;
    }
    if (wHotkey == 0) {
        Release();
        return true;
    }
    const int nNewID = m_nID == kFirstID ? kSecondID : kFirstID;
    UINT nModifiers = ModifiersOf(wHotkey);
    BOOL bTaken = RegisterHotKey(m_hWnd, nNewID, nModifiers | kModNoRepeat, LOBYTE(wHotkey));
    // Systems before Windows 7 know no "no repeat".
    if (!bTaken && GetLastError() == ERROR_INVALID_PARAMETER) {
        bTaken = RegisterHotKey(m_hWnd, nNewID, nModifiers, LOBYTE(wHotkey));
    }
    if (!bTaken) {
        return false;
    }
    Release();
    m_nID = nNewID;
    m_wHotkey = wHotkey;
    return true;
}

void CGlobalHotkey::Release() {
    if (m_nID != 0) {
        UnregisterHotKey(m_hWnd, m_nID);
    }
    m_nID = 0;
    m_wHotkey = 0;
}
