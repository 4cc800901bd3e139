#include "CDataExchange.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.GetSafeHwnd()) {
        return;
    }
    rControl.SubclassWindow(::GetDlgItem(pDX->m_pDlgWnd->GetSafeHwnd(), nIDC));
}
