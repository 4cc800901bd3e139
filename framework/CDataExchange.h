#pragma once

#include "CString.h"
#include "CWnd.h"

// One exchange between a dialog's controls and its members; the direction flag
// says which way the values go (TRUE: controls to members). A value that does
// not convert fails the exchange: the user has been told, the focus is on the
// control, and the exchange functions that follow do nothing.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    CDataExchange(const CDataExchange&) = delete;
    CDataExchange& operator=(const CDataExchange&) = delete;

    // The dialog's control nIDC, remembered as the one a failure points at.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Ends the exchange unsuccessfully: the focus goes to the last control
    // prepared, with all of an edit's text selected.
    void Fail();
    bool Failed() const { return m_bFailed; }

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

private:
    HWND m_hWndLastControl = nullptr;
    bool m_bEditLastControl = false;
    bool m_bFailed = false;
};

// Binds the dialog's control nIDC to rControl on the first exchange; later
// exchanges leave a bound control alone.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// The control's text, unchanged.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// The control's text as an unsigned decimal number; text that is not one
// shows the framework's message (AFX_IDP_PARSE_UINT) and fails the exchange.
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
// The index of the checked button in the radio group that starts at nIDC and
// runs to the next control with WS_GROUP; -1 for none checked.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// The control's text as an unsigned decimal number from minVal to maxVal:
// DDX_Text and DDV_MinMaxUInt in one, except that text which is no number
// at all also gets the range message (AFX_IDP_PARSE_INT_RANGE), so that the
// user learns what the field takes whatever was typed.
void DDX_TextInRange(CDataExchange* pDX, int nIDC, UINT& value, UINT minVal, UINT maxVal);
// The check box's state: 0 cleared, 1 checked, 2 indeterminate. A value
// outside 0 to 2 shows the box cleared and becomes 0.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
