#pragma once

#include "CDataExchange.h"
#include "CWnd.h"

// A dialog built from a template of the interface language (AfxLanguage.h),
// with the menu it names in that language too. DoModal runs the platform's
// modal loop and returns the value given to EndDialog.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr)
        : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

    // Runs the dialog modally, owned by the parent or, without one, by the
    // application's main window (or the dialog already open over it).
    INT_PTR DoModal();
    // The window that owns the dialog while it runs.
    HWND GetSafeOwner() const;
    void EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }
    // Runs DoDataExchange in the given direction; FALSE when a value did not
    // convert (the user has been told and the focus is on its control).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    // Hands a message's result to the dialog manager (messages such as
    // WM_NOTIFY and WM_NCHITTEST return theirs this way); TRUE for DialogProc.
    INT_PTR SetMsgResult(LRESULT lResult) {
        SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, lResult);
        return TRUE;
    }

protected:
    // The one dispatch function of a dialog: a switch over the messages the
    // class handles; the rest go to the base class's DialogProc. Returns what
    // a dialog procedure returns (TRUE when handled, or the value of the
    // messages that return one directly, such as WM_CTLCOLORSTATIC).
    virtual INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam);

    // BOOL OnInitDialog(): binds the controls (UpdateData(FALSE)); TRUE lets
    // the platform set the focus.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Hands a control's draw request, colour query or notification to the
    // control's own object, if it has one.
    static bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* pResult);
    void UseMenuOfLanguage();

    UINT m_nIDTemplate;
    UINT m_nIDMenu = 0;
    CWnd* m_pParentWnd;
};
