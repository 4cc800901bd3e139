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
    // The popup, at any depth below this menu, that holds the command nID
    // itself; null when none does.
    HMENU FindSubMenuHolding(UINT nID) const;
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    // The item's flags, or (UINT)-1 when the menu has no such item.
    UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const char* pszNewItem = nullptr) {
        return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, pszNewItem);
    }
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0,
                    const char* pszNewItem = nullptr) {
        return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, pszNewItem);
    }
    BOOL DeleteMenu(UINT nPosition, UINT nFlags) {
        return ::DeleteMenu(m_hMenu, nPosition, nFlags);
    }
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
