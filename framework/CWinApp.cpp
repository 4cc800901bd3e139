#include "CWinApp.h"

namespace {

CWinApp* g_pApp = nullptr;

} // namespace

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
    pApp->InitInstance();
    return 0;
}
