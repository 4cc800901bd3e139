#pragma once

#include "CWnd.h"

class CTrayIcon;

// The callback message the shell sends for the notification-area icon.
#define WM_TRAYNOTIFY (WM_USER + 122)

// void TrayNotify(WPARAM iconId, LPARAM mouseMessage, void* pData)
typedef void (*TRAYNOTIFYPROC)(WPARAM wParam, LPARAM lParam, void* pData);

// The never-shown window that receives the icon's callback messages and hands
// them to a plain function.
class CTrayIconWnd : public CWnd {
public:
    CTrayIconWnd() = default;

    // Creates the hidden window "TrayIconWnd".
    BOOL Create();
    void SetCallback(TRAYNOTIFYPROC pfnCallback, void* pCallbackData) {
        m_pfnCallback = pfnCallback;
        m_pCallbackData = pCallbackData;
    }
    // The icon whose retries this window's timer runs.
    void SetIcon(CTrayIcon* pIcon) { m_pIcon = pIcon; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    TRAYNOTIFYPROC m_pfnCallback = nullptr;
    void* m_pCallbackData = nullptr;
    CTrayIcon* m_pIcon = nullptr;
};
