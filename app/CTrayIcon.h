#pragma once

#include "CTrayIconWnd.h"

#include <shellapi.h>

// One icon in the notification area, with the hidden window that receives its
// callbacks. The owner removes the icon (Delete) before the object goes; the
// object destroys only its window.
class CTrayIcon {
public:
    CTrayIcon() = default;
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;
    virtual ~CTrayIcon();

    // The shell sends this to every top-level window when the taskbar has
    // been re-created (explorer restarted) and all icons are gone.
    static UINT TaskbarCreatedMessage();

    // Each returns what Shell_NotifyIconA answered.
    BOOL Create(UINT uID, HICON hIcon, const char* pszTip, TRAYNOTIFYPROC pfn, void* pData);
    BOOL Delete();
    // Tells the shell the picture and the tip, each only when it differs
    // from what the shell was told last (the tip as far as it fits); TRUE
    // when there was nothing to tell.
    BOOL Update(HICON hIcon, const char* pszTip);
    // Adds the icon again with the picture and tip it had last, after the
    // shell has re-created the notification area and forgotten it. Create
    // and Restore keep trying for a while when the shell does not take the
    // icon: at logon the notification area may not be there yet, and with
    // the window hidden the icon is the user's only way in.
    BOOL Restore();
    // A balloon over the icon (Windows 10 and 11 show it as a notification);
    // the shell cuts what does not fit.
    BOOL ShowBalloon(const char* pszTitle, const char* pszText);
    // Windows' own rule for notifications: none while a full-screen program,
    // a presentation or quiet hours have the user's attention.
    static bool UserAcceptsNotifications();
    // void OnRetryTimer(UINT_PTR nIDEvent): the hidden window's timer
    void OnRetryTimer(UINT_PTR nIDEvent);

    HWND GetHiddenWnd() const { return m_wnd.GetSafeHwnd(); }

private:
    // The fields up to the longer tip, which every shell since Windows 2000
    // takes.
    void Prepare(NOTIFYICONDATAA& data, UINT uFlags) const;
    // Tells the shell the icon; an icon it had taken already (a timed-out
    // add may have) counts as added.
    BOOL Add();
    void StopRetries();

    CTrayIconWnd m_wnd;
    UINT m_uID = 0;
    // What the shell was told last, to tell it again after a restart.
    HICON m_hIcon = nullptr;
    char m_szTip[128] = "";
    int m_nRetriesLeft = 0;
};
