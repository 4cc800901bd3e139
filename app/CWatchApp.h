#pragma once

#include "CWinApp.h"

#include <string>

class CConsoleReport;
class CSingleInstance;

// The program: one instance at a time, handing over to the running one, or
// removing its files on request.
class CWatchApp : public CWinApp {
public:
    explicit CWatchApp(CSingleInstance& instance) : m_instance(instance) {}

    // Runs the whole life of the program; always FALSE, so the process ends.
    BOOL InitInstance() override;
    // What the start comes to for a script that started it (ExitCodeOf).
    int ExitInstance() override { return m_nExitCode; }
    // Asks whether to delete the two configuration files, and does so on Yes,
    // once the instance that was told to close has ended.
    void Uninstall(bool bOwnerClosing);

private:
    // The interface language, chosen the first time a text is needed.
    void ChooseInterfaceLanguage();
    // Tells what the start found: to the console or the redirected stream
    // (STD_OUTPUT_HANDLE or STD_ERROR_HANDLE) a script gave it, else in a
    // message box with this icon.
    void Report(CConsoleReport& console, DWORD nStdHandle, const std::wstring& text, UINT nIcon);
    // A warning of the string table with one argument.
    void Warn(CConsoleReport& console, UINT nID, const std::wstring& strArgument);

    CSingleInstance& m_instance;
    bool m_bLanguageChosen = false;
    int m_nExitCode = 0;
};
