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
