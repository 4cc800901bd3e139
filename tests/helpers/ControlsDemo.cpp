// Shows the controls' test dialog with the buttons in their states (idle,
// hovered, pressed, disabled) and the labels dressed as in the About box,
// until it is closed.
#include "CControlsTestDlg.h"
#include "ControlsTestIds.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    CControlsTestDlg dlg;
    dlg.Run(
        [hInstance](CControlsTestDlg& d) {
            HCURSOR hHand = LoadCursorA(hInstance, MAKEINTRESOURCEA(IDCUR_HAND));
            d.m_title.SetFontFace("Tahoma", 20, FW_BOLD, 0, 0);
            d.m_emailLink.SetUnderline(1);
            d.m_emailLink.SetLinkColor(0xFF0000);
            d.m_emailLink.SetLinkCursor(hHand);
            d.m_emailLink.SetTarget("mailto:someone@example.com");
            d.m_btnDelete.EnableWindow(FALSE);
            d.m_btnBrowse.EnableWindow(FALSE);
            SendMessageA(d.m_btnProperties.GetSafeHwnd(), BM_SETSTATE, TRUE, 0);
            SendMessageA(d.m_btnOK.GetSafeHwnd(), BM_SETSTATE, TRUE, 0);
            SendMessageA(d.m_btnHide.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
            SetWindowPos(d.GetSafeHwnd(), nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            InvalidateRect(d.GetSafeHwnd(), nullptr, TRUE);
        },
        true);
    return 0;
}
