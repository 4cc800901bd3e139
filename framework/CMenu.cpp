#include "CMenu.h"

#include "AfxLanguage.h"

BOOL CMenu::LoadMenu(UINT nIDResource) {
    DestroyMenu();
    m_hMenu = AfxLoadMenu(nIDResource);
    m_bOwned = m_hMenu != nullptr;
    return m_bOwned;
}

BOOL CMenu::DestroyMenu() {
    HMENU hMenu = m_hMenu;
    bool bOwned = m_bOwned;
    m_hMenu = nullptr;
    m_bOwned = false;
    return bOwned ? ::DestroyMenu(hMenu) : FALSE;
}

HMENU CMenu::FindSubMenuHolding(UINT nID) const {
    const int count = m_hMenu ? ::GetMenuItemCount(m_hMenu) : 0;
    for (int i = 0; i < count; ++i) {
        HMENU hSub = ::GetSubMenu(m_hMenu, i);
        if (!hSub) {
            continue;
        }
        const int subCount = ::GetMenuItemCount(hSub);
        for (int j = 0; j < subCount; ++j) {
            if (::GetMenuItemID(hSub, j) == nID) {
                return hSub;
            }
        }
        if (HMENU hFound = CMenu(hSub).FindSubMenuHolding(nID)) {
            return hFound;
        }
    }
    return nullptr;
}
