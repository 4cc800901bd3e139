#pragma once

#include "CAnchorLayout.h"
#include "CDialog.h"
#include "CGlobalHotkey.h"
#include "CKeepAwakeOptionsDlg.h"
#include "CIcon.h"
#include "CIconButton.h"
#include "CProfileFile.h"
#include "CString.h"
#include "CWatchListView.h"
#include "CTrayIcon.h"
#include "CWatchGuard.h"
#include "CWatchList.h"
#include "CWatchListEditor.h"

#include <string>
#include <vector>

// The program's main window: the watch list in a resizable dialog with four
// buttons and a menu bar, alive for the whole run, shown or hidden while the
// program lives on in the notification area. It owns the guard, hands it the
// timer ticks, the hooks' wakes and the user's choices, and shows what it says.
class CWatchListDlg : public CDialog,
                      private CWatchGuard::View,
                      private CWatchListEditor::Host,
                      private CKeepAwakeOptionsDlg::HotkeyTaker {
public:
    CWatchListDlg();
    ~CWatchListDlg() override;

    void InitLayout();
    void LoadWindowSettings();
    void SaveWindowSettings();
    void SetRowText(int nRow, const CWatchItem& item);
    void ToggleMainWindow();
    void ShowTrayIcon(BOOL bShow);
    // void TrayCallback(WPARAM iconId, LPARAM mouseMessage, void* pMainWnd)
    static void TrayCallback(WPARAM wParam, LPARAM lParam, void* pData);
    // A hold to start with, from the command line.
    void SetStartupKeepAwake(const KeepAwakeRequest& request) { m_startupHold = request; }

protected:
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Enter and Esc must not end the program; Enter on a row opens it.
    void OnOK() override;
    void OnCancel() override {}

private:
    // BOOL OnCommand(UINT nID): TRUE when the command is one of ours
    BOOL OnCommand(UINT nID);
    // INT_PTR OnNotify(NMHDR* pNMHDR): TRUE when handled
    BOOL OnNotify(const NMHDR* pNMHDR);
    void OnSysCommand(UINT nID);
    void OnPaint();
    void OnSize(UINT nType, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO* pInfo);
    // void OnDpiChanged(UINT nDpi, const RECT* pSuggested): the window moved to
    // a monitor of another scale
    void OnDpiChanged(UINT nDpi, const RECT* pSuggested);
    void OnWindowPosChanging(WINDOWPOS* pPos);
    // LRESULT OnNcHitTest(POINT screenPoint): HTNOWHERE to leave it to the default
    LRESULT OnNcHitTest(POINT point);
    // void OnTimer(UINT_PTR nIDEvent): timer 1 counts the blackout down, any
    // other id runs the watch cycle
    void OnTimer(UINT_PTR nIDEvent);
    void ShowGuard(const CWatchGuard::Display& display) override;
    void ShowHold(int nHoldMinutes, bool bComputerOnly) override;
    void Notify(const CWatchGuard::Notice& notice) override;
    bool TakeHotkey(WORD wHotkey) override;
    // A balloon over the tray icon, when there is one and the user is not
    // busy with a full-screen program.
    void ShowBalloon(const CString& strText);
    // The settings' hotkey, taken at start; the user hears once when another
    // program has it.
    void TakeStartupHotkey();
    HICON DisplayedSmallIcon() const;
    void OnDestroy();
    BOOL OnQueryEndSession(WPARAM wParam, LPARAM lParam);
    // void OnEndSession(BOOL bEnding): FALSE when the log-off was cancelled
    void OnEndSession(BOOL bEnding);
    void OnTaskbarCreated();
    // void OnPowerBroadcast(WPARAM nEvent): WM_POWERBROADCAST
    void OnPowerBroadcast(WPARAM nEvent);

    void OnAddWatch();
    void OnDeleteWatch();
    void OnWatchProperties();
    void OnItemChangedList();
    void OnHideMainWnd();
    void OnShowMainWnd();
    void OnExit();
    void OnAbout();
    void OnToggleTrayIcon();
    void OnToggleAutoRun();
    void OnBlackoutDefaults();

    HWND EditorOwner() const override;
    bool EditorLocksComputerAwake() const override;
    // The administrator's policy, read anew: its programs in the list, its
    // rules in the guard; nothing happens while it stays the same.
    void ApplyAdminPolicy();
    void OnListEdited(bool bRemoved) override;

    // A dialog or message box of the program is open over the window.
    bool HasOpenDialog() const;
    // Brings that dialog to the front (with the window, when minimised).
    void ShowOpenDialog();
    // The exit's (and the session end's) save of both files.
    void SaveAll();
    // The save of one edit of the list.
    void SaveList();
    void SaveListFile();
    // Tells the user that a file could not be saved, and why: once for the
    // files of one save.
    void ReportSaveFailure(const wchar_t* pszPath, DWORD dwError);

    CIconButton m_btnHide;
    CIconButton m_btnAdd;
    CIconButton m_btnDelete;
    CIconButton m_btnProperties;
    CWatchListView m_listCtrl;
    HICON m_hIconNormal;
    HICON m_hIconGuard;
    CWatchList m_watchList;
    std::wstring m_strListPath;
    CProfileFile m_settings;
    // The smallest outer size, taken from the dialog's own layout at m_nMinTrackDpi.
    SIZE m_minTrackSize = {0, 0};
    UINT m_nMinTrackDpi = 96;
    CAnchorLayout m_layout;
    CTrayIcon m_trayIcon;
    BOOL m_bVisible = TRUE;
    BOOL m_bShowTrayIcon = TRUE;
    bool m_bSaveFailureShown = false;
    CIcon m_hIconNormalSmall;
    CIcon m_hIconGuardSmall;
    UINT m_nDpi = 96;
    bool m_bEndingSession = false;
    bool m_bDestroying = false;
    KeepAwakeRequest m_startupHold;
    // The menu bar's keep-awake submenu.
    HMENU m_hKeepAwakeMenu = nullptr;
    CWatchListEditor m_editor;
    CGlobalHotkey m_hotkey;
    // What the guard said last (the window starts showing the normal state);
    // the tray icon is made from it whenever it comes back.
    CWatchGuard::Display m_display;
    // Last: its hooks go first, before the window they report to.
    CWatchGuard m_guard;
};
