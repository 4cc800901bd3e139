#pragma once

#include <windows.h>

// The one system-wide key combination that starts and stops a hold: a
// registration with the system, held by a window and given back when the
// object goes. The combination is a hotkey control's value (virtual key in
// the low byte, HOTKEYF_* modifiers in the next).
class CGlobalHotkey {
public:
    CGlobalHotkey() = default;
    CGlobalHotkey(const CGlobalHotkey&) = delete;
    CGlobalHotkey& operator=(const CGlobalHotkey&) = delete;
    ~CGlobalHotkey();

    // The window that gets WM_HOTKEY; before any Change.
    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    // Takes the new combination (0: none) in place of the old; false when the
    // system refuses it (another program holds it), the old one then stays.
    bool Change(WORD wHotkey);
    WORD Get() const { return m_wHotkey; }
    // Whether a WM_HOTKEY's id is ours.
    bool IsOurs(WPARAM nID) const { return m_nID != 0 && nID == static_cast<WPARAM>(m_nID); }

    // RegisterHotKey's modifiers for a hotkey control's value.
    static UINT ModifiersOf(WORD wHotkey);

private:
    void Release();

    HWND m_hWnd = nullptr;
    WORD m_wHotkey = 0;
    // Two ids taken in turn: the new combination is registered before the
    // old one is given up, so a refusal leaves the old one in place.
    int m_nID = 0;
};
