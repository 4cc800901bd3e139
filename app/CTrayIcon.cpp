#include "CTrayIcon.h"

#include <cstring>

namespace {

// The record has room for 127 bytes of tip and a NUL. A longer tip is cut
// before the character that does not fit, never inside one.
const size_t kTipSize = 128;

// The shell comes up within a minute or two of a logon.
const UINT_PTR kRetryTimer = 1;
const UINT kRetryMs = 4000;
const int kRetries = 30;

// Copies as much of the text as fits into a field of nSize bytes, never
// cutting a character in two.
void CopyText(char* target, size_t nSize, const char* pszText) {
    const char* text = pszText ? pszText : "";
    const char* end = text;
    while (*end) {
        const char* next = CharNextA(end);
        if (static_cast<size_t>(next - text) > nSize - 1) {
            break;
        }
        end = next;
    }
    const size_t n = static_cast<size_t>(end - text);
    std::memcpy(target, text, n);
    target[n] = '\0';
}

void CopyTip(char* target, const char* pszTip) {
    CopyText(target, kTipSize, pszTip);
}

// QUERY_USER_NOTIFICATION_STATE's "accepts notifications"; older SDK headers
// lack the type.
const int kAcceptsNotifications = 5;
// How long a balloon stays up; Windows 10 and later decide for themselves.
const UINT kBalloonMs = 10000;

} // namespace

CTrayIcon::~CTrayIcon() {
    StopRetries();
    m_wnd.DestroyWindow();
}

void CTrayIcon::Prepare(NOTIFYICONDATAA& data, UINT uFlags) const {
    std::memset(&data, 0, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = m_wnd.GetSafeHwnd();
    data.uID = m_uID;
    data.uFlags = uFlags;
}

BOOL CTrayIcon::Create(UINT uID, HICON hIcon, const char* pszTip, TRAYNOTIFYPROC pfn, void* pData) {
    if (!m_wnd.GetSafeHwnd() && !m_wnd.Create()) {
        return FALSE;
    }
    m_wnd.SetCallback(pfn, pData);
    m_wnd.SetIcon(this);
    m_uID = uID;
    m_hIcon = hIcon;
    CopyTip(m_szTip, pszTip);
    return Restore();
}

BOOL CTrayIcon::Add() {
    NOTIFYICONDATAA data;
    Prepare(data, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    data.uCallbackMessage = WM_TRAYNOTIFY;
    data.hIcon = m_hIcon;
    CopyTip(data.szTip, m_szTip);
    return Shell_NotifyIconA(NIM_ADD, &data) || Shell_NotifyIconA(NIM_MODIFY, &data);
}

BOOL CTrayIcon::Restore() {
    if (!m_wnd.GetSafeHwnd()) {
        return FALSE;
    }
    StopRetries();
    if (Add()) {
        return TRUE;
    }
    m_nRetriesLeft = kRetries;
    ::SetTimer(m_wnd.GetSafeHwnd(), kRetryTimer, kRetryMs, nullptr);
    return FALSE;
}

void CTrayIcon::OnRetryTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kRetryTimer) {
        return;
    }
    if (Add() || --m_nRetriesLeft <= 0) {
        StopRetries();
    }
}

void CTrayIcon::StopRetries() {
    m_nRetriesLeft = 0;
    if (m_wnd.GetSafeHwnd()) {
        ::KillTimer(m_wnd.GetSafeHwnd(), kRetryTimer);
    }
}

BOOL CTrayIcon::Delete() {
    if (!m_wnd.GetSafeHwnd()) {
        return FALSE;
    }
    StopRetries();
    NOTIFYICONDATAA data;
    Prepare(data, 0);
    return Shell_NotifyIconA(NIM_DELETE, &data);
}

BOOL CTrayIcon::Update(HICON hIcon, const char* pszTip) {
    char szTip[kTipSize];
    CopyTip(szTip, pszTip);
    const UINT uFlags =
        (hIcon != m_hIcon ? NIF_ICON : 0u) | (std::strcmp(szTip, m_szTip) != 0 ? NIF_TIP : 0u);
    if (uFlags == 0 || !m_wnd.GetSafeHwnd()) {
        return uFlags == 0;
    }
    m_hIcon = hIcon;
    CopyTip(m_szTip, pszTip);
    NOTIFYICONDATAA data;
    Prepare(data, uFlags);
    data.hIcon = hIcon;
    CopyTip(data.szTip, pszTip);
    return Shell_NotifyIconA(NIM_MODIFY, &data);
}

UINT CTrayIcon::TaskbarCreatedMessage() {
    static const UINT s_uMessage = RegisterWindowMessageA("TaskbarCreated");
    return s_uMessage;
}

BOOL CTrayIcon::ShowBalloon(const char* pszTitle, const char* pszText) {
    if (!m_wnd.GetSafeHwnd()) {
        return FALSE;
    }
    NOTIFYICONDATAA data;
    Prepare(data, NIF_INFO);
    CopyText(data.szInfoTitle, sizeof data.szInfoTitle, pszTitle);
    CopyText(data.szInfo, sizeof data.szInfo, pszText);
    data.uTimeout = kBalloonMs;
    data.dwInfoFlags = NIIF_INFO;
    return Shell_NotifyIconA(NIM_MODIFY, &data);
}

bool CTrayIcon::UserAcceptsNotifications() {
    // Bound at run time: the call came with Windows Vista.
    using QueryState = HRESULT(WINAPI*)(int*);
    HMODULE hShell = GetModuleHandleA("shell32.dll");
    const QueryState query =
        hShell ? reinterpret_cast<QueryState>(
                     reinterpret_cast<void (*)()>(GetProcAddress(hShell, "SHQueryUserNotificationState")))
               : nullptr;
    int nState = kAcceptsNotifications;
    if (!query || FAILED(query(&nState))) {
        return true;
    }
    return nState == kAcceptsNotifications;
}
