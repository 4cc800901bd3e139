#pragma once

#include "CWnd.h"

// One exchange between a dialog's controls and its members; the direction flag
// says which way the values go (TRUE: controls to members).
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    CDataExchange(const CDataExchange&) = delete;
    CDataExchange& operator=(const CDataExchange&) = delete;

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Binds the dialog's control nIDC to rControl on the first exchange; later
// exchanges leave a bound control alone.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
