#include "CDialog.h"

#include "AfxLanguage.h"
#include "AfxResource.h"
#include "CWinApp.h"
#include "ModalPopups.h"

HWND CDialog::GetSafeOwner() const {
    if (m_pParentWnd) {
        return m_pParentWnd->GetSafeHwnd();
    }
    // A dialog without a parent belongs to the application's main window, as
    // the framework has always done: the main window then takes no input
    // while the dialog is up, and the dialog gets no taskbar button of its
    // own. A dialog opened from another dialog stacks on that one.
    const CWnd* pMain = AfxGetMainWnd();
    if (!pMain || pMain == this || !pMain->GetSafeHwnd()) {
        return nullptr;
    }
    const HWND hOpen = AfxGetModalPopup(pMain->GetSafeHwnd());
    return hOpen ? hOpen : pMain->GetSafeHwnd();
}

INT_PTR CDialog::DoModal() {
    // The template of the interface language: the dialog manager's own search
    // goes by the system's language. It disables the owner for the dialog's
    // life and enables it again before the dialog goes, so the owner gets the
    // activation back.
    DWORD cbTemplate = 0;
    const void* pTemplate = AfxLoadResource(RT_DIALOG, m_nIDTemplate, &cbTemplate);
    if (!pTemplate) {
        return -1;
    }
    m_nIDMenu = DialogTemplateMenuId(pTemplate, cbTemplate);
    return DialogBoxIndirectParamA(AfxGetResourceHandle(), static_cast<LPCDLGTEMPLATEA>(pTemplate),
                                   GetSafeOwner(), &CDialog::StaticDialogProc,
                                   reinterpret_cast<LPARAM>(this));
}

void CDialog::UseMenuOfLanguage() {
    // The dialog manager loaded the template's menu by the system's language.
    HMENU hMenu = m_nIDMenu ? AfxLoadMenu(m_nIDMenu) : nullptr;
    if (!hMenu) {
        return;
    }
    HMENU hLoaded = ::GetMenu(m_hWnd);
    if (::SetMenu(m_hWnd, hMenu)) {
        ::DestroyMenu(hLoaded);
    } else {
        ::DestroyMenu(hMenu);
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.Failed() ? FALSE : TRUE;
}

INT_PTR CDialog::DialogProc(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) {
            break;
        }
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* pResult) {
    HWND hControl = nullptr;
    switch (message) {
    case WM_DRAWITEM:
        // Menus draw through the same message with no control window.
        if (wParam != 0) {
            hControl = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
        }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_COMMAND:
        hControl = reinterpret_cast<HWND>(lParam);
        break;
    default:
        return false;
    }
    CWnd* pControl = CWnd::FromHandle(hControl);
    LRESULT result = 0;
    if (!pControl || !pControl->OnChildNotify(message, wParam, lParam, &result)) {
        return false;
    }
    // A colour query returns its brush directly; the other two report "handled".
    *pResult = message == WM_CTLCOLORSTATIC ? static_cast<INT_PTR>(result) : TRUE;
    return true;
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // No exception may unwind through user32's frames.
    try {
        if (message == WM_INITDIALOG) {
            reinterpret_cast<CDialog*>(lParam)->Bind(hWnd);
            reinterpret_cast<CDialog*>(lParam)->UseMenuOfLanguage();
        }
        CDialog* pDlg = static_cast<CDialog*>(CWnd::FromHandle(hWnd));
        if (!pDlg) {
            return FALSE;
        }
        INT_PTR result = 0;
        if (ReflectToControl(message, wParam, lParam, &result)) {
            return result;
        }
        result = pDlg->DialogProc(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            pDlg->Unbind();
        }
        return result;
    } catch (...) {
        return FALSE;
    }
}
