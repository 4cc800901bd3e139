#include "CWinApp.h"

#include "AfxResource.h"
#include "CString.h"
#include "CWnd.h"
#include "WideText.h"

namespace {

CWinApp* g_pApp = nullptr;

CString LoadAppName() {
    CString name;
    if (name.LoadString(AFX_IDS_APP_TITLE)) {
        return name;
    }
    const std::wstring path = ModulePath();
    std::wstring title = path.substr(path.find_last_of(L"\\/:") + 1);
    const size_t dot = title.find_last_of(L'.');
    if (dot != std::wstring::npos) {
        title.erase(dot);
    }
    AnsiFromWide(title.c_str(), &name);
    return name;
}

} // namespace

const char* AfxGetAppName() {
    static const CString s_name = LoadAppName();
    return s_name;
}

CWinApp::CWinApp() {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this) {
        g_pApp = nullptr;
    }
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

int AfxWinMain(const char* lpCmdLine) {
    CWinApp* pApp = AfxGetApp();
    if (!pApp) {
        return 1;
    }
    pApp->m_lpCmdLine = lpCmdLine ? lpCmdLine : "";
    // As in MFC, a start whose InitInstance fails ends with ExitInstance's
    // code; with no message loop of the application's own, one that
    // succeeds has nothing to run before it ends either.
    pApp->InitInstance();
    return pApp->ExitInstance();
}

int AfxMessageBox(UINT nIDPrompt, UINT nType) {
    CString text;
    text.LoadString(nIDPrompt);
    CWnd* pMainWnd = AfxGetMainWnd();
    return ::MessageBoxA(pMainWnd ? pMainWnd->GetSafeHwnd() : nullptr, text, AfxGetAppName(),
                         nType);
}
