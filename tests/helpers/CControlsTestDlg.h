#pragma once

#include "CAnchorLayout.h"
#include "CDialog.h"
#include "CHyperLink.h"
#include "CIconButton.h"

#include <functional>

// A dialog with every kind of control the program's windows use, prepared the
// way the program prepares them. The body given to Run is called once the
// modal loop runs and the dialog is shown; the dialog closes when it returns.
class CControlsTestDlg : public CDialog {
public:
    CControlsTestDlg();

    // Runs the dialog modally around body; returns what DoModal returned.
    INT_PTR Run(std::function<void(CControlsTestDlg&)> body, bool bKeepOpen = false);

    CIconButton m_btnBrowse, m_btnUnderstood, m_btnOK, m_btnCancel;
    CIconButton m_btnHide, m_btnProperties, m_btnAdd, m_btnDelete;
    CHyperLink m_title, m_emailLink, m_plainLabel;
    CAnchorLayout m_layout;

protected:
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    std::function<void(CControlsTestDlg&)> m_body;
    bool m_bKeepOpen = false;
};
