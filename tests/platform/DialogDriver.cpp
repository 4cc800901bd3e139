#include "DialogDriver.h"

#include <commctrl.h>

#include <thread>
#include <vector>

namespace {

// The static that holds a message box's text has this id, on Windows and Wine.
const int kMessageBoxTextId = 0xFFFF;

bool IsDialogWindow(HWND hWnd) {
    char cls[16] = "";
    GetClassNameA(hWnd, cls, sizeof cls);
    return lstrcmpA(cls, "#32770") == 0;
}

struct ThreadWindows {
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam) {
    reinterpret_cast<ThreadWindows*>(lParam)->windows.push_back(hWnd);
    return TRUE;
}

std::vector<HWND> DialogsOfThread(DWORD dwThread) {
    ThreadWindows found;
    EnumThreadWindows(dwThread, CollectWindow, reinterpret_cast<LPARAM>(&found));
    std::vector<HWND> dialogs;
    for (HWND hWnd : found.windows) {
        if (IsDialogWindow(hWnd) && IsWindowVisible(hWnd)) {
            dialogs.push_back(hWnd);
        }
    }
    return dialogs;
}

} // namespace

INT_PTR DialogDriver::Run(const std::function<INT_PTR()>& modal,
                          const std::function<void(DialogDriver&)>& script) {
    DialogDriver driver(GetCurrentThreadId());
    std::thread player([&driver, &script] {
        script(driver);
        driver.CancelAll();
    });
    INT_PTR result = modal();
    driver.m_bModalDone = true;
    player.join();
    return result;
}

HWND DialogDriver::FindDialog(HWND hOwner, bool bMessageBox) const {
    for (HWND hWnd : DialogsOfThread(m_dwModalThread)) {
        if (GetWindow(hWnd, GW_OWNER) != hOwner) {
            continue;
        }
        if ((GetDlgItem(hWnd, kMessageBoxTextId) != nullptr) == bMessageBox) {
            return hWnd;
        }
    }
    return nullptr;
}

bool DialogDriver::WaitUntil(const std::function<bool()>& condition, DWORD dwTimeout) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (m_bModalDone || GetTickCount() - start > dwTimeout) {
            return condition();
        }
        Sleep(20);
    }
    return true;
}

HWND DialogDriver::WaitForDialog(HWND hOwner) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindDialog(hOwner, false)) != nullptr; });
    return found;
}

HWND DialogDriver::WaitForMessageBox(HWND hOwner) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindDialog(hOwner, true)) != nullptr; });
    return found;
}

bool DialogDriver::WaitForClose() {
    return WaitUntil([this] { return m_bModalDone || DialogsOfThread(m_dwModalThread).empty(); });
}

void DialogDriver::CancelAll() {
    const DWORD start = GetTickCount();
    while (!m_bModalDone && GetTickCount() - start < 10000) {
        for (HWND hWnd : DialogsOfThread(m_dwModalThread)) {
            PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
        }
        Sleep(100);
    }
}

void DialogDriver::Click(HWND hDlg, int nID) {
    SendNotifyMessageA(GetDlgItem(hDlg, nID), BM_CLICK, 0, 0);
}

void DialogDriver::Sync(HWND hDlg) {
    SendMessageA(hDlg, WM_NULL, 0, 0);
}

void DialogDriver::SetText(HWND hDlg, int nID, const char* pszText) {
    SendMessageA(GetDlgItem(hDlg, nID), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pszText));
}

std::string DialogDriver::Text(HWND hWnd) {
    char text[1024] = "";
    int n = static_cast<int>(
        SendMessageA(hWnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)));
    return std::string(text, static_cast<size_t>(n > 0 ? n : 0));
}

bool DialogDriver::IsChecked(HWND hDlg, int nID) {
    return SendMessageA(GetDlgItem(hDlg, nID), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool DialogDriver::IsAllSelected(HWND hEdit) {
    DWORD start = 1, end = 0;
    SendMessageA(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return start == 0 && end == static_cast<DWORD>(SendMessageA(hEdit, EM_LINELENGTH, 0, 0));
}

std::string DialogDriver::AnswerMessageBox(HWND hBox, int nButton) {
    std::string text = Text(hBox, kMessageBoxTextId);
    PostMessageA(hBox, WM_COMMAND, static_cast<WPARAM>(nButton), 0);
    return text;
}

HWND DialogDriver::Focus() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(m_dwModalThread, &info);
    return info.hwndFocus;
}

int DialogDriver::PickerMinute(HWND hDlg, int nID) {
    SYSTEMTIME time = {};
    SendMessageA(GetDlgItem(hDlg, nID), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return time.wHour * 60 + time.wMinute;
}

void DialogDriver::ChoosePickerMinute(HWND hDlg, int nID, int nMinute) {
    HWND hPicker = GetDlgItem(hDlg, nID);
    NMDATETIMECHANGE change = {};
    GetLocalTime(&change.st);
    change.st.wHour = static_cast<WORD>(nMinute / 60);
    change.st.wMinute = static_cast<WORD>(nMinute % 60);
    change.st.wSecond = 0;
    change.dwFlags = GDT_VALID;
    SendMessageA(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&change.st));
    change.nmhdr.hwndFrom = hPicker;
    change.nmhdr.idFrom = static_cast<UINT_PTR>(nID);
    change.nmhdr.code = DTN_DATETIMECHANGE;
    SendMessageA(hDlg, WM_NOTIFY, static_cast<WPARAM>(nID), reinterpret_cast<LPARAM>(&change));
}

void DialogDriver::PressKey(UINT nVirtualKey) const {
    HWND hFocus = Focus();
    PostMessageA(hFocus, WM_KEYDOWN, nVirtualKey, 1);
    PostMessageA(hFocus, WM_KEYUP, nVirtualKey, 0xC0000001);
}
