#pragma once

#include "CWatchGuard.h"
#include "CWnd.h"
#include "StartupDecision.h"

#include <windows.h>

#include <string>

// A later start asking the running instance what it keeps awake. The asker
// sends the instance's main window a registered message with the handle of a
// message-only window of its own; the instance sends the line back to that
// window (WM_COPYDATA, UTF-16) and answers whether something is kept awake. A
// thread waiting in SendMessageTimeout handles the messages sent to it, and
// the instance's modal dialogs keep handling sent messages too, so the answer
// comes also while one is open.
class CStatusQuery : public CWnd {
public:
    // Creates the window the answer comes back to.
    CStatusQuery();
    ~CStatusQuery() override;

    // Asks the instance of this main window; the line it sent back goes to
    // *pLine. Lost, with no line, when it did not answer in time.
    InstanceAnswer Ask(HWND hMainWnd, std::wstring* pLine);

    // The message the instance's main window answers with Answer.
    static UINT Message();
    // The instance's side: sends the line of what it shows to the asker's
    // window (wParam) and returns the answer for the message's result.
    static LRESULT Answer(HWND hMainWnd, WPARAM wParam, const CWatchGuard::Display& display);
    // The line in what another process sent: any process of the session may
    // send to the asker's window, so sizes are checked, the text ends at the
    // first NUL or at its size, and line breaks and other control characters
    // become blanks. False when it is no status line.
    static bool ReadLine(const COPYDATASTRUCT* pData, std::wstring* pLine);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // BOOL OnCopyData(HWND hSender, const COPYDATASTRUCT* pData): TRUE when
    // it was the line asked for
    bool OnCopyData(HWND hSender, const COPYDATASTRUCT* pData);

    HWND m_hAsked = nullptr;
    bool m_bHasLine = false;
    std::wstring m_line;
};
