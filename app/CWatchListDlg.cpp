#include "CWatchListDlg.h"

#include "AfxResource.h"
#include "AfxText.h"
#include "CAboutDlg.h"
#include "CBlackoutDefaultsDlg.h"
#include "CGuardSystem.h"
#include "DataFolder.h"
#include "DpiScale.h"
#include "GuardText.h"
#include "HotkeyText.h"
#include "KeepAwakeMenu.h"
#include "AutoRunMenu.h"
#include "CMenu.h"
#include "CSingleInstance.h"
#include "CStatusQuery.h"
#include "CWinApp.h"
#include "CommandRules.h"
#include "ModalPopups.h"
#include "ProfileSave.h"
#include "SaveFailureMessage.h"
#include "WindowPlacement.h"
#include "resource.h"

namespace {

const wchar_t kSettingsFile[] = L"Tessik.ini";
const wchar_t kListFile[] = L"Tessik.dat";

} // namespace

CWatchListDlg::CWatchListDlg()
    : CDialog(IDD_WATCHLIST_DIALOG), m_editor(m_watchList, m_listCtrl, *this),
      m_guard(m_watchList, *this, std::make_unique<CGuardSystem>(m_watchList, m_settings)) {
    // Shared icons from the program's resources: the system frees them.
    m_hIconNormal = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    m_hIconGuard = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_GUARD));
    // The caption and the notification area show the small size; drawn at
    // that size, not shrunk from the large picture.
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    m_hIconNormalSmall.Load(IDR_MAINFRAME, cx, cy);
    m_hIconGuardSmall.Load(IDI_GUARD, cx, cy);
}

CWatchListDlg::~CWatchListDlg() = default;

void CWatchListDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HIDE_WINDOW, m_btnHide);
    DDX_Control(pDX, IDC_ADD_WATCH, m_btnAdd);
    DDX_Control(pDX, IDC_DELETE_WATCH, m_btnDelete);
    DDX_Control(pDX, IDC_WATCH_PROPERTIES, m_btnProperties);
    DDX_Control(pDX, IDC_WATCH_LIST, m_listCtrl);
}

INT_PTR CWatchListDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == CTrayIcon::TaskbarCreatedMessage()) {
        OnTaskbarCreated();
        return FALSE;
    }
    if (message == CWatchGuard::KeepAwakeMessage()) {
        // A later start waits for the answer: its exit code tells a script.
        const bool bTaken = m_guard.StartHold(DecodeKeepAwake(wParam, lParam));
        return SetMsgResult(
            static_cast<LRESULT>(bTaken ? InstanceAnswer::HoldTaken : InstanceAnswer::HoldRefused));
    }
    if (message == CStatusQuery::Message()) {
        return SetMsgResult(CStatusQuery::Answer(m_hWnd, wParam, m_display));
    }
    if (message == CWatchGuard::HoldProcessEndedMessage()) {
        m_guard.OnHoldProcessEnded(static_cast<DWORD>(wParam));
        return TRUE;
    }
    if (message == CForegroundWatch::Message()) {
        m_guard.OnForegroundChanged();
        return TRUE;
    }
    if (message == CGuardSystem::HoldSaveFailedMessage()) {
        // Each change of the hold is saved on its own.
        m_bSaveFailureShown = false;
        ReportSaveFailure(m_settings.GetPath(), static_cast<DWORD>(wParam));
        return TRUE;
    }
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        if (IsCommandRequest(HIWORD(wParam), reinterpret_cast<HWND>(lParam)) &&
            OnCommand(LOWORD(wParam))) {
            return TRUE;
        }
        break;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == NM_CUSTOMDRAW &&
            wParam == IDC_WATCH_LIST) {
            return SetMsgResult(m_listCtrl.OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam)));
        }
        if (OnNotify(reinterpret_cast<const NMHDR*>(lParam))) {
            return SetMsgResult(0);
        }
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
            OnSysCommand(static_cast<UINT>(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(m_hIconNormal);
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return FALSE;
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return FALSE;
    case WM_WINDOWPOSCHANGING:
        OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam));
        return FALSE;
    case WM_NCHITTEST: {
        POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        LRESULT hit = OnNcHitTest(point);
        return hit == HTNOWHERE ? FALSE : SetMsgResult(hit);
    }
    case WM_TIMER:
        OnTimer(wParam);
        return TRUE;
    case WM_CLOSE:
        // A second start's uninstall waits for this process to end before it
        // deletes the files: an open dialog must not keep it alive, nor write
        // them back later.
        AfxCancelModalPopups(m_hWnd);
        EndDialog(IDCANCEL);
        return TRUE;
    case WM_HOTKEY:
        if (m_hotkey.IsOurs(wParam)) {
            m_guard.ToggleHold();
        }
        return TRUE;
    case WM_SETTINGCHANGE:
        // Group Policy's refresh says "Policy" when it has written anything.
        if (lParam && lstrcmpiA(reinterpret_cast<const char*>(lParam), "Policy") == 0) {
            ApplyAdminPolicy();
        }
        return FALSE;
    case WM_WTSSESSION_CHANGE:
        m_guard.OnSessionChange(wParam);
        return TRUE;
    case WM_POWERBROADCAST:
        OnPowerBroadcast(wParam);
        return SetMsgResult(TRUE);
    case WM_QUERYENDSESSION:
        return SetMsgResult(OnQueryEndSession(wParam, lParam));
    case WM_ENDSESSION:
        OnEndSession(static_cast<BOOL>(wParam));
        return SetMsgResult(0);
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default:
        break;
    }
    return CDialog::DialogProc(message, wParam, lParam);
}

BOOL CWatchListDlg::OnCommand(UINT nID) {
    // The popup menu, a second start and other programs reach the window
    // while it is disabled under a dialog.
    if (HasOpenDialog()) {
        switch (DecideCommandWhileModal(nID)) {
        case ModalCommand::ShowOpenDialog:
            ShowOpenDialog();
            return TRUE;
        case ModalCommand::CancelDialogsThen:
            AfxCancelModalPopups(m_hWnd);
            break;
        case ModalCommand::Run:
            break;
        }
    }
    switch (nID) {
    case IDC_ADD_WATCH:
    case ID_ADD_WATCH:
        OnAddWatch();
        return TRUE;
    case IDC_DELETE_WATCH:
    case ID_DELETE_WATCH:
        OnDeleteWatch();
        return TRUE;
    case IDC_WATCH_PROPERTIES:
    case ID_WATCH_PROPERTIES:
        OnWatchProperties();
        return TRUE;
    case IDC_HIDE_WINDOW:
    case ID_HIDE_MAIN_WND:
        OnHideMainWnd();
        return TRUE;
    case ID_TOGGLE_MAIN_WND:
        ToggleMainWindow();
        return TRUE;
    case ID_SHOW_MAIN_WND:
        OnShowMainWnd();
        return TRUE;
    case ID_APP_EXIT:
        OnExit();
        return TRUE;
    case ID_APP_ABOUT:
        OnAbout();
        return TRUE;
    case ID_TOGGLE_TRAY_ICON:
        OnToggleTrayIcon();
        return TRUE;
    case ID_TOGGLE_AUTORUN:
        OnToggleAutoRun();
        return TRUE;
    case ID_BLACKOUT_DEFAULTS:
        OnBlackoutDefaults();
        return TRUE;
    case ID_AREA_BLACK_WAKE:
        m_guard.OnWake();
        return TRUE;
    case ID_KEEPAWAKE_30:
    case ID_KEEPAWAKE_60:
    case ID_KEEPAWAKE_120:
    case ID_KEEPAWAKE_ON:
    case ID_KEEPAWAKE_STOP:
    case ID_KEEPAWAKE_COMPUTER_ONLY:
    case ID_KEEPAWAKE_UNTIL:
    case ID_KEEPAWAKE_OPTIONS:
        OnKeepAwakeCommand(nID, m_guard, *this);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CWatchListDlg::OnNotify(const NMHDR* pNMHDR) {
    if (pNMHDR->idFrom != IDC_WATCH_LIST) {
        return FALSE;
    }
    switch (pNMHDR->code) {
    case NM_DBLCLK:
        OnWatchProperties();
        return TRUE;
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN*>(pNMHDR)->wVKey == VK_DELETE) {
            OnDeleteWatch();
        }
        return TRUE;
    case LVN_ITEMCHANGED:
        OnItemChangedList();
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CWatchListDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIconNormal));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(DisplayedSmallIcon()));
    m_nDpi = GetWindowDpi(m_hWnd);
    m_guard.Start(m_hWnd);
    InitLayout();
    CSingleInstance::SetMainWnd(m_hWnd);
    // The template's layout, before anything moves: the window may not
    // shrink below what keeps every button whole.
    m_minTrackSize =
        MinimumTrackSize(m_hWnd, IDC_WATCH_LIST,
                         {IDC_HIDE_WINDOW, IDC_WATCH_PROPERTIES, IDC_ADD_WATCH, IDC_DELETE_WATCH});
    m_nMinTrackDpi = m_nDpi;
    m_listCtrl.InitColumns(m_nDpi);

    const struct {
        CIconButton& button;
        UINT nIcon;
        BOOL bEnabled;
    } buttons[] = {{m_btnProperties, IDI_PROPERTIES, FALSE},
                   {m_btnHide, IDI_HIDE, TRUE},
                   {m_btnDelete, IDI_DELETE, FALSE},
                   {m_btnAdd, IDI_ADD, TRUE}};
    for (const auto& b : buttons) {
        b.button.ApplyStandardStyle(TRUE);
        b.button.SetIconFromResource(b.nIcon);
        b.button.EnableWindow(b.bEnabled);
    }

    const std::wstring strFolder = GetDataFolder();
    m_settings.SetPath((strFolder + kSettingsFile).c_str());
    LoadWindowSettings();

    m_guard.ReloadOptions();
    TakeStartupHotkey();

    m_strListPath = strFolder + kListFile;
    m_watchList.Load(m_strListPath.c_str());
    m_listCtrl.ShowRows(m_watchList);

    ::SetTimer(m_hWnd, CWatchGuard::kCycleTimer, CWatchGuard::kCycleMs, nullptr);
    m_hKeepAwakeMenu = FindKeepAwakeMenu(GetMenu());
    ShowHold(0, false);
    // Before the saved hold comes back: the policy may forbid or shorten it.
    ApplyAdminPolicy();
    // A hold asked for on the command line, or the one of the last run, holds
    // from the start.
    m_guard.TakeUpHold(m_startupHold);
    return TRUE;
}

void CWatchListDlg::InitLayout() {
    m_layout.SetParentWnd(m_hWnd);
    m_layout.AddControl(GetDlgItem(IDC_WATCH_LIST), nullptr, ANCHOR_NONE, ANCHOR_NONE, ANCHOR_RIGHT,
                        ANCHOR_BOTTOM);
    for (int nID : {IDC_ADD_WATCH, IDC_WATCH_PROPERTIES, IDC_HIDE_WINDOW, IDC_DELETE_WATCH}) {
        m_layout.AddControl(GetDlgItem(nID), nullptr, ANCHOR_RIGHT, ANCHOR_BOTTOM, ANCHOR_RIGHT,
                            ANCHOR_BOTTOM);
    }
}

void CWatchListDlg::LoadWindowSettings() {
    const RECT placed = ReadSavedWindowRect(m_settings, m_hWnd);
    ::MoveWindow(m_hWnd, placed.left, placed.top, placed.right - placed.left,
                 placed.bottom - placed.top, TRUE);
    // After the move: the defaults fill the list's width as it is now.
    m_listCtrl.LoadColumnWidths(m_settings, m_nDpi);

    m_bVisible = m_settings.GetInt("Dialog", "Visible", 1);
    if (!m_bVisible) {
        ShowWindow(SW_HIDE);
    }
    m_bShowTrayIcon = m_settings.GetInt("Config", "ShowTrayIcon", 1);
    ShowTrayIcon(m_bShowTrayIcon);

    ShowAutoRunItem(GetMenu());
}

void CWatchListDlg::SaveWindowSettings() {
    const RECT r = WindowRectToSave(m_hWnd);
    // In one step, as the list: a save cut short leaves the old settings,
    // never an empty file; keys of others (the blackout defaults, the
    // language) stay as they are.
    const auto write = [&](CProfileText& text) {
        m_listCtrl.SaveColumnWidths(text);
        WriteWindowRect(text, r);
        text.WriteInt("Dialog", "Visible", m_bVisible);
        text.WriteInt("Config", "ShowTrayIcon", m_bShowTrayIcon);
        return true;
    };
    if (!SaveProfileInOneStep(m_settings.GetPath(), 0, write)) {
        ReportSaveFailure(m_settings.GetPath(), GetLastError());
    }
}

void CWatchListDlg::SaveList() {
    // Each edit is saved on its own, and the user hears of each one lost.
    m_bSaveFailureShown = false;
    SaveListFile();
}

void CWatchListDlg::SaveListFile() {
    if (!m_watchList.Save(m_strListPath.c_str())) {
        ReportSaveFailure(m_strListPath.c_str(), GetLastError());
    }
}

void CWatchListDlg::ReportSaveFailure(const wchar_t* pszPath, DWORD dwError) {
    // Once for the files of one save; and never while the session ends,
    // when a question would hold up the log-off.
    if (m_bSaveFailureShown || m_bEndingSession) {
        return;
    }
    m_bSaveFailureShown = true;
    // While the window is going away it cannot own the box; otherwise it
    // does, even hidden, so that nothing else opens over the box.
    ShowSaveFailure(m_bDestroying ? nullptr : m_hWnd, pszPath, dwError);
}

void CWatchListDlg::SetRowText(int nRow, const CWatchItem& item) {
    m_listCtrl.ShowItem(nRow, item, false);
}

void CWatchListDlg::OnWindowPosChanging(WINDOWPOS* pPos) {
    // The dialog manager shows the dialog once when it first goes idle, and
    // others may try later: while the window is meant to be hidden, a show
    // becomes a hide.
    if ((pPos->flags & SWP_SHOWWINDOW) && !m_bVisible) {
        pPos->flags &= ~SWP_SHOWWINDOW;
        pPos->flags |= SWP_HIDEWINDOW;
    }
}

void CWatchListDlg::OnHideMainWnd() {
    m_bVisible = FALSE;
    ShowWindow(SW_HIDE);
}

void CWatchListDlg::OnShowMainWnd() {
    m_bVisible = TRUE;
    // Restoring works whether the window was hidden from the normal or the
    // minimised state, and does not depend on how the program was started.
    ShowWindow(SW_RESTORE);
    SetForegroundWindow();
}

void CWatchListDlg::ToggleMainWindow() {
    if (m_bVisible) {
        OnHideMainWnd();
    } else {
        OnShowMainWnd();
    }
}

void CWatchListDlg::OnSize(UINT nType, int, int) {
    if (nType == SIZE_MINIMIZED) {
        // Without the icon a hidden window could only come back through a
        // second start: it stays on the taskbar instead.
        if (m_bShowTrayIcon) {
            m_bVisible = FALSE;
            ShowWindow(SW_HIDE);
        }
        return;
    }
    RECT client;
    GetClientRect(&client);
    m_layout.ApplyLayout(client.right, client.bottom);
    InvalidateRect(nullptr, TRUE);
}

void CWatchListDlg::OnGetMinMaxInfo(MINMAXINFO* pInfo) {
    // Asked for before the dialog has laid itself out, too.
    if (m_minTrackSize.cx == 0) {
        return;
    }
    const int dpi = static_cast<int>(GetWindowDpi(m_hWnd));
    pInfo->ptMinTrackSize.x = MulDiv(m_minTrackSize.cx, dpi, static_cast<int>(m_nMinTrackDpi));
    pInfo->ptMinTrackSize.y = MulDiv(m_minTrackSize.cy, dpi, static_cast<int>(m_nMinTrackDpi));
}

void CWatchListDlg::OnDpiChanged(UINT nDpi, const RECT* pSuggested) {
    if (nDpi == 0 || nDpi == m_nDpi) {
        return;
    }
    ::SetWindowPos(m_hWnd, nullptr, pSuggested->left, pSuggested->top,
                   pSuggested->right - pSuggested->left, pSuggested->bottom - pSuggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    m_listCtrl.ScaleColumnWidths(m_nDpi, nDpi);
    m_nDpi = nDpi;
    for (CIconButton* pButton : {&m_btnHide, &m_btnAdd, &m_btnDelete, &m_btnProperties}) {
        pButton->ReloadPicture();
    }
}

void CWatchListDlg::OnPaint() {
    PaintSizeGrip(m_hWnd, m_hIconNormal);
}

LRESULT CWatchListDlg::OnNcHitTest(POINT point) {
    return SizeGripHitTest(m_hWnd, point);
}

void CWatchListDlg::OnTimer(UINT_PTR nIDEvent) {
    m_guard.OnTimer(nIDEvent);
}

void CWatchListDlg::ShowGuard(const CWatchGuard::Display& display) {
    const bool bGuardingChanged = display.bGuarding != m_display.bGuarding;
    const bool bTitleChanged = GuardTitleId(display) != GuardTitleId(m_display);
    m_display = display;
    if (bGuardingChanged) {
        HICON hIcon = display.bGuarding ? m_hIconGuard : m_hIconNormal;
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(DisplayedSmallIcon()));
    }
    if (bTitleChanged) {
        SetWindowText(GuardTitle(display));
    }
    m_trayIcon.Update(DisplayedSmallIcon(), GuardTip(display));
}

void CWatchListDlg::ShowHold(int nHoldMinutes, bool bComputerOnly) {
    PrepareKeepAwakeMenu(m_hKeepAwakeMenu, nHoldMinutes, bComputerOnly, m_guard.GetPolicy());
}

void CWatchListDlg::Notify(const CWatchGuard::Notice& notice) {
    if (m_guard.GetOptions().bNotify) {
        ShowBalloon(NoticeText(notice));
    }
}

void CWatchListDlg::ShowBalloon(const CString& strText) {
    if (m_bShowTrayIcon && CTrayIcon::UserAcceptsNotifications()) {
        m_trayIcon.ShowBalloon(AfxGetAppName(), strText);
    }
}

bool CWatchListDlg::TakeHotkey(WORD wHotkey) {
    return m_hotkey.Change(wHotkey);
}

void CWatchListDlg::TakeStartupHotkey() {
    m_hotkey.Attach(m_hWnd);
    const WORD wHotkey = m_guard.GetOptions().wHotkey;
    if (wHotkey != 0 && !m_hotkey.Change(wHotkey)) {
        CString strText;
        AfxFormatString1(strText, IDS_HOTKEY_LOST, DescribeHotkey(wHotkey));
        ShowBalloon(strText);
    }
}

HICON CWatchListDlg::DisplayedSmallIcon() const {
    // The small picture when it could be loaded, else the large one shrunk.
    HICON hSmall = m_display.bGuarding ? m_hIconGuardSmall : m_hIconNormalSmall;
    return hSmall ? hSmall : m_display.bGuarding ? m_hIconGuard : m_hIconNormal;
}

void CWatchListDlg::SaveAll() {
    m_bSaveFailureShown = false;
    SaveListFile();
    SaveWindowSettings();
}

void CWatchListDlg::OnDestroy() {
    m_bDestroying = true;
    m_trayIcon.Delete();
    SaveAll();
    m_guard.Stop();
}

BOOL CWatchListDlg::OnQueryEndSession(WPARAM wParam, LPARAM lParam) {
    if (!::DefWindowProcA(m_hWnd, WM_QUERYENDSESSION, wParam, lParam)) {
        return FALSE;
    }
    // Saved now, without a word: the session may end before the answer
    // to a question comes.
    m_bEndingSession = true;
    SaveAll();
    return TRUE;
}

void CWatchListDlg::OnEndSession(BOOL bEnding) {
    // Another program or the user cancelled the log-off: the program goes
    // on as before, and tells of failed saves again.
    m_bEndingSession = bEnding != FALSE;
    if (!bEnding) {
        return;
    }
    SaveAll();
    m_guard.RemoveHooks();
}

void CWatchListDlg::OnPowerBroadcast(WPARAM nEvent) {
    // The battery rule and the working hours are right at once, not only at
    // the next cycle: on a change of the power source, and on waking up.
    if (nEvent == PBT_APMPOWERSTATUSCHANGE || nEvent == PBT_APMRESUMEAUTOMATIC ||
        nEvent == PBT_APMRESUMESUSPEND) {
        m_guard.RunCycle();
    }
}

void CWatchListDlg::OnExit() {
    EndDialog(IDOK);
}

void CWatchListDlg::OnSysCommand(UINT) {
    OnAbout();
}

void CWatchListDlg::ShowTrayIcon(BOOL bShow) {
    CMenu menu(GetMenu());
    if (bShow) {
        m_trayIcon.Create(0, DisplayedSmallIcon(), GuardTip(m_display), &TrayCallback, this);
        menu.CheckMenuItem(ID_TOGGLE_TRAY_ICON, MF_CHECKED);
    } else {
        m_trayIcon.Delete();
        menu.CheckMenuItem(ID_TOGGLE_TRAY_ICON, MF_UNCHECKED);
    }
}

void CWatchListDlg::OnToggleTrayIcon() {
    m_bShowTrayIcon = !m_bShowTrayIcon;
    ShowTrayIcon(m_bShowTrayIcon);
}

void CWatchListDlg::OnTaskbarCreated() {
    if (m_bShowTrayIcon) {
        m_trayIcon.Restore();
    }
}

void CWatchListDlg::OnToggleAutoRun() {
    ToggleAutoRunItem(GetMenu());
}

void CWatchListDlg::TrayCallback(WPARAM, LPARAM lParam, void* pData) {
    CWatchListDlg* pDlg = static_cast<CWatchListDlg*>(pData);
    switch (LOWORD(lParam)) {
    case WM_LBUTTONDBLCLK:
        if (pDlg->HasOpenDialog()) {
            pDlg->ShowOpenDialog();
        } else {
            pDlg->ToggleMainWindow();
        }
        break;
    case WM_RBUTTONDOWN:
        pDlg->SetForegroundWindow();
        TrackTrayMenu(*pDlg, pDlg->m_bVisible != FALSE, pDlg->m_guard.GetHoldMinutes(),
                      pDlg->m_guard.IsComputerOnlyChosen(), pDlg->m_guard.GetPolicy());
        break;
    default:
        break;
    }
}

bool CWatchListDlg::HasOpenDialog() const {
    return !IsWindowEnabled() || AfxGetModalPopup(m_hWnd) != nullptr;
}

void CWatchListDlg::ShowOpenDialog() {
    if (AfxActivateModalPopup(m_hWnd)) {
        return;
    }
    // A minimised owner hides the dialogs it owns; restored, it shows them.
    OnShowMainWnd();
    AfxActivateModalPopup(m_hWnd);
}

void CWatchListDlg::OnOK() {
    // Enter on a row opens it, as a double-click does; elsewhere Enter must
    // not end the program.
    if (::GetFocus() == m_listCtrl.GetSafeHwnd()) {
        OnWatchProperties();
    }
}

void CWatchListDlg::OnAddWatch() {
    m_editor.Add();
}

void CWatchListDlg::OnDeleteWatch() {
    m_editor.DeleteSelected();
}

void CWatchListDlg::OnWatchProperties() {
    m_editor.EditSelected();
}

HWND CWatchListDlg::EditorOwner() const {
    return m_hWnd;
}

void CWatchListDlg::OnListEdited(bool bRemoved) {
    SaveList();
    if (!bRemoved) {
        m_guard.RunCycle();
        return;
    }
    // The hooks stay off until the next cycle has looked at the shorter list.
    m_guard.RemoveHooks();
    // No row is selected any more, whether or not the list view said so.
    OnItemChangedList();
}

void CWatchListDlg::ApplyAdminPolicy() {
    const AdminPolicy policy = ReadAdminPolicy();
    if (policy == m_guard.GetPolicy()) {
        return;
    }
    m_watchList.SetPolicyItems(PolicyWatchItems(policy.watched));
    m_listCtrl.ShowPolicyRows(m_watchList);
    m_guard.ApplyPolicy(policy);
    OnItemChangedList();
}

bool CWatchListDlg::EditorLocksComputerAwake() const {
    return m_guard.GetPolicy().bDisableComputerAwake;
}

void CWatchListDlg::OnItemChangedList() {
    // The policy's rows cannot be changed: their buttons stay grey.
    const int nRow = m_editor.GetSelectedRow();
    const BOOL bValid = nRow >= 0 && !m_watchList.IsPolicyItem(nRow);
    m_btnProperties.EnableWindow(bValid);
    m_btnDelete.EnableWindow(bValid);
    CMenu menu(GetMenu());
    menu.EnableMenuItem(ID_DELETE_WATCH, bValid ? MF_ENABLED : MF_GRAYED);
    menu.EnableMenuItem(ID_WATCH_PROPERTIES, bValid ? MF_ENABLED : MF_GRAYED);
}

void CWatchListDlg::OnAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}

void CWatchListDlg::OnBlackoutDefaults() {
    CBlackoutDefaultsDlg defaultsDlg;
    defaultsDlg.DoModal();
}
