#pragma once

#include <windows.h>

class CWnd;

// The application object: the program's one static instance derives from it,
// and the entry point runs its InitInstance.
class CWinApp {
public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // The program's work; FALSE ends the process when it returns.
    virtual BOOL InitInstance() { return FALSE; }
    // The process's exit code, asked for once InitInstance has returned.
    virtual int ExitInstance() { return 0; }

    // The command line after the program's name.
    const char* m_lpCmdLine = "";
    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
// The application's title, the caption of the framework's messages: string
// AFX_IDS_APP_TITLE of the program's resources when they have one, else the
// executable's file name without its extension.
const char* AfxGetAppName();
// The application's main window, or null before it exists and after it ends.
CWnd* AfxGetMainWnd();
// A string of the resources in a message box under the application's title,
// owned by the main window; returns the button chosen.
int AfxMessageBox(UINT nIDPrompt, UINT nType);
// The program's entry: records the command line, runs InitInstance and
// returns what ExitInstance returns.
int AfxWinMain(const char* lpCmdLine);
