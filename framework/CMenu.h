#pragma once

#include <windows.h>

// A menu handle. A menu loaded here, in the interface language (AfxLanguage.h),
// is destroyed with the object; one that is only wrapped (a window's menu bar,
// a popup inside another menu) belongs to its window or parent menu.
class CMenu {
public:
    CMenu() = default;
    explicit CMenu(HMENU hMenu) : m_hMenu(hMenu) {}
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    ~CMenu() { DestroyMenu(); }

    operator HMENU() const { return m_hMenu; }

    BOOL LoadMenu(UINT nIDResource);
    BOOL DestroyMenu();

    HMENU GetSubMenu(int nPos) const { return ::GetSubMenu(m_hMenu, nPos); }
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
        return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck);
    }
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
        return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable);
    }
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const char* pszNewItem) {
        return ::ModifyMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, pszNewItem);
    }
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos) {
        return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos);
    }
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, HWND hWndOwner) {
        return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, hWndOwner, nullptr);
    }

private:
    HMENU m_hMenu = nullptr;
    bool m_bOwned = false;
};
