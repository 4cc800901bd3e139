#pragma once

#include "CDialog.h"
#include "CHyperLink.h"
#include "CIconButton.h"

// The About box: product name in a large font, version, notices and the
// author's e-mail link. It changes nothing.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    CIconButton m_btnOK;
    CHyperLink m_title;
    CHyperLink m_emailLink;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
