#include "CAboutDlg.h"

#include "AboutEmail.h"
#include "AfxResource.h"
#include "resource.h"

namespace {

// "楷体_GB2312" in the ANSI code page 936 the program's texts use; the
// compiler's own character set must not decide these bytes.
const char kTitleFace[] = "\xbf\xac\xcc\xe5_GB2312";

HCURSOR HandCursor() {
    return LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDCUR_HAND));
}

} // namespace

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDC_ABOUT_TITLE, m_title);
    DDX_Control(pDX, IDC_ABOUT_EMAIL, m_emailLink);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_btnOK.ApplyStandardStyle(TRUE);
    m_btnOK.SetIconFromResource(IDI_UNDERSTOOD);
    m_btnOK.SetHoverCursor(HandCursor());
    m_title.SetFontFace(kTitleFace, 20, FW_BOLD, 0, 0);
    m_emailLink.SetUnderline(1);
    m_emailLink.SetLinkColor(0xFF0000);
    m_emailLink.SetLinkCursor(HandCursor());
    m_emailLink.SetTarget("mailto:" QV_AUTHOR_EMAIL);
    return TRUE;
}
