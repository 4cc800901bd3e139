#pragma once

#include "CString.h"

#include <windows.h>

// A hotkey control's value (virtual key in the low byte, HOTKEYF_* modifiers
// in the next) as people read it: "Ctrl+Alt+K", in the keyboard's own key
// names; empty for none.
CString DescribeHotkey(WORD wHotkey);
