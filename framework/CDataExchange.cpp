#include "CDataExchange.h"

#include "AfxResource.h"
#include "AfxText.h"
#include "CWinApp.h"

#include <string>

namespace {

void ShowMessage(CDataExchange* pDX, const CString& text) {
    // As the framework's AfxMessageBox: the application's title as caption.
    MessageBoxA(pDX->m_pDlgWnd->GetSafeHwnd(), text, AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
}

CString WindowText(HWND hWnd) {
    std::string buffer(static_cast<size_t>(::GetWindowTextLengthA(hWnd)) + 1, '\0');
    int n = ::GetWindowTextA(hWnd, &buffer[0], static_cast<int>(buffer.size()));
    return CString(buffer.data(), static_cast<size_t>(n > 0 ? n : 0));
}

CString LoadMessage(UINT nID, const char* pszFallback) {
    CString text;
    if (!text.LoadString(nID)) {
        text = pszFallback;
    }
    return text;
}

} // namespace

HWND CDataExchange::PrepareCtrl(int nIDC) {
    m_hWndLastControl = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC);
    m_bEditLastControl = false;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWnd = PrepareCtrl(nIDC);
    m_bEditLastControl = true;
    return hWnd;
}

void CDataExchange::Fail() {
    m_bFailed = true;
    if (!m_hWndLastControl) {
        return;
    }
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) {
        ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (pDX->Failed() || rControl.GetSafeHwnd()) {
        return;
    }
    rControl.SubclassWindow(pDX->PrepareCtrl(nIDC));
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    if (pDX->Failed()) {
        return;
    }
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = WindowText(hWnd);
    } else {
        ::SetWindowTextA(hWnd, value);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    if (pDX->Failed()) {
        return;
    }
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        CString text;
        text.Format("%u", value);
        ::SetWindowTextA(hWnd, text);
        return;
    }
    if (!AfxParseUnsigned(WindowText(hWnd), value)) {
        ShowMessage(pDX, LoadMessage(AFX_IDP_PARSE_UINT, "Please enter a positive integer."));
        pDX->Fail();
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->Failed()) {
        return;
    }
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = -1;
    }
    int index = 0;
    do {
        if (::SendMessageA(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                    value = index;
                }
            } else {
                ::SendMessageA(hWnd, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        hWnd = ::GetWindow(hWnd, GW_HWNDNEXT);
    } while (hWnd && !(::GetWindowLongA(hWnd, GWL_STYLE) & WS_GROUP));
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->Failed()) {
        return;
    }
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(hWnd, BM_GETCHECK, 0, 0));
        return;
    }
    if (value < 0 || value > 2) {
        value = 0;
    }
    ::SendMessageA(hWnd, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_TextInRange(CDataExchange* pDX, int nIDC, UINT& value, UINT minVal, UINT maxVal) {
    if (pDX->Failed()) {
        return;
    }
    if (!pDX->m_bSaveAndValidate) {
        DDX_Text(pDX, nIDC, value);
        return;
    }
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    UINT typed = 0;
    if (AfxParseUnsigned(WindowText(hWnd), typed) && typed >= minVal && typed <= maxVal) {
        value = typed;
        return;
    }
    CString low, high, text;
    low.Format("%u", minVal);
    high.Format("%u", maxVal);
    AfxFormatString2(text, AFX_IDP_PARSE_INT_RANGE, low, high);
    if (text.IsEmpty()) {
        const char* args[] = {low, high};
        AfxFormatStrings(text, "Please enter an integer between %1 and %2.", args, 2);
    }
    ShowMessage(pDX, text);
    pDX->Fail();
}
