#include "HotkeyText.h"

#include <commctrl.h>

CString DescribeHotkey(WORD wHotkey) {
    CString strText;
    if (wHotkey == 0) {
        return strText;
    }
    const UINT nFlags = HIBYTE(wHotkey);
    // The names Windows itself writes in menus, whatever the language.
    if (nFlags & HOTKEYF_CONTROL) {
        strText += "Ctrl+";
    }
    if (nFlags & HOTKEYF_SHIFT) {
        strText += "Shift+";
    }
    if (nFlags & HOTKEYF_ALT) {
        strText += "Alt+";
    }
    const UINT vk = LOBYTE(wHotkey);
    LONG lParam = static_cast<LONG>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) << 16);
    if (nFlags & HOTKEYF_EXT) {
        lParam |= 1L << 24;
    }
    char szKey[64] = "";
    if (GetKeyNameTextA(lParam, szKey, sizeof szKey) > 0) {
        strText += szKey;
    } else {
        CString strCode;
        strCode.Format("#%u", vk);
        strText += strCode;
    }
    return strText;
}
