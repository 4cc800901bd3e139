#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

// Plays the user's part against modal dialogs that run on the test's thread.
// The script runs on a second thread and reaches the dialogs only through
// window messages, as input would arrive; it never blocks on a handler that
// may open a message box, so it can answer the box.
class DialogDriver {
public:
    // Runs script on a second thread while modal runs here. Whatever the
    // script leaves open is cancelled when it ends, so modal always returns.
    static INT_PTR Run(const std::function<INT_PTR()>& modal,
                       const std::function<void(DialogDriver&)>& script);

    // The shown dialog of the modal thread owned by hOwner (none: a dialog
    // with no owner), or nullptr when none appears within the time limit.
    HWND WaitForDialog(HWND hOwner = nullptr);
    // A message box that hOwner owns; its text is the message.
    HWND WaitForMessageBox(HWND hOwner);
    // No window of the modal thread is open any more.
    bool WaitForClose();
    // Polls until the condition holds; false after the time limit.
    bool WaitUntil(const std::function<bool()>& condition, DWORD dwTimeout = 10000);

    // A click as the mouse gives it; returns before the click's handler ends.
    static void Click(HWND hDlg, int nID);
    // Returns once the modal thread has handled everything sent before.
    static void Sync(HWND hDlg);
    static void SetText(HWND hDlg, int nID, const char* pszText);
    static std::string Text(HWND hWnd);
    static std::string Text(HWND hDlg, int nID) { return Text(GetDlgItem(hDlg, nID)); }
    static bool IsChecked(HWND hDlg, int nID);
    // All of the edit's text is selected (positions count characters).
    static bool IsAllSelected(HWND hEdit);
    static bool IsEnabled(HWND hDlg, int nID) {
        return IsWindowEnabled(GetDlgItem(hDlg, nID)) != 0;
    }
    // A time picker's time of day, in minutes after midnight.
    static int PickerMinute(HWND hDlg, int nID);
    // Sets a time picker's time of day and tells its dialog, as the picker
    // does when the user changes it; returns once the dialog has handled it.
    static void ChoosePickerMinute(HWND hDlg, int nID, int nMinute);
    // A key pressed and released where the keyboard focus of the modal
    // thread is, for the dialog manager to take (Enter, Esc).
    void PressKey(UINT nVirtualKey) const;
    // Reads the box's message and answers it with the button (OK unless told).
    static std::string AnswerMessageBox(HWND hBox, int nButton = IDOK);
    // The window with the keyboard focus in the modal thread.
    HWND Focus() const;

private:
    explicit DialogDriver(DWORD dwModalThread) : m_dwModalThread(dwModalThread) {}
    HWND FindDialog(HWND hOwner, bool bMessageBox) const;
    void CancelAll();

    DWORD m_dwModalThread;
    std::atomic<bool> m_bModalDone{false};
};
