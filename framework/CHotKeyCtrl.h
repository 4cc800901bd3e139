#pragma once

#include "CWnd.h"

#include <commctrl.h>

// A hotkey control (msctls_hotkey32): the key combination the user types
// into it, as one value (virtual key in the low byte, HOTKEYF_* modifiers in
// the next).
class CHotKeyCtrl : public CWnd {
public:
    // The controls of a dialog template are created before the dialog gets
    // any message, so their class must be registered before the dialog runs.
    static void RegisterClass() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_HOTKEY_CLASS};
        ::InitCommonControlsEx(&controls);
    }

    void SetHotKey(WORD wHotkey) { SendMessage(HKM_SETHOTKEY, wHotkey, 0); }
    WORD GetHotKey() const { return LOWORD(SendMessage(HKM_GETHOTKEY, 0, 0)); }
    // A key alone, or with Shift alone, would take a key away from typing.
    void RequireModifier() {
        SendMessage(HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    }
};
