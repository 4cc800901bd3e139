#include "CWatchListDlg.h"

#include "AfxLanguage.h"
#include "AfxResource.h"
#include "AfxText.h"
#include "AreaBlackDecision.h"
#include "CAboutDlg.h"
#include "CAddWatchDlg.h"
#include "CBlackoutDefaultsDlg.h"
#include "CWatchPropDlg.h"
#include "DataFolder.h"
#include "DpiScale.h"
#include "CAutoRun.h"
#include "CMenu.h"
#include "CPathName.h"
#include "CSingleInstance.h"
#include "CommandRules.h"
#include "ModalPopups.h"
#include "TessikDLL.h"
#include "WakeQueue.h"
#include "WatchRowText.h"
#include "WindowPlacement.h"
#include "resource.h"

namespace {

const UINT_PTR TIMER_WATCH_CYCLE = 0;
const UINT_PTR TIMER_AREA_BLACK = 1;
const UINT kAreaBlackTickMs = 1000;
const UINT kWatchCycleMs = 5000;
const int kMinTrackWidth = 437;
const int kMinTrackHeight = 209;
const char kAutoRunValue[] = "Velatrix";
const char kSettingsFile[] = "Tessik.ini";
const char kListFile[] = "Tessik.dat";

struct ColumnDefault {
    UINT nHeading;
    int nWidth;
    int nEnglishWidth; // the English texts are longer, and so is their window
    const char* pszKey;
};
const ColumnDefault kColumns[] = {
    {IDS_COLUMN_ALIAS, 100, 80, "Col0"},
    {IDS_COLUMN_FILENAME, 150, 140, "Col1"},
    {IDS_COLUMN_CONDITION, 70, 110, "Col2"},
    {IDS_COLUMN_EFFECT, 70, 140, "Col3"},
};

int DefaultWidth(const ColumnDefault& column) {
    return AfxGetResourceLanguage() == AFX_LANG_ENGLISH ? column.nEnglishWidth : column.nWidth;
}

// The small picture when it could be loaded, else the large one shrunk.
HICON SmallIcon(HICON hSmall, HICON hLarge) {
    return hSmall ? hSmall : hLarge;
}

CString LoadText(UINT nID) {
    CString text;
    text.LoadString(nID);
    return text;
}

// The shell sends this to every top-level window when the taskbar has been
// re-created (explorer restarted) and all icons are gone.
UINT TaskbarCreatedMessage() {
    static const UINT s_uMessage = RegisterWindowMessageA("TaskbarCreated");
    return s_uMessage;
}

// The keep-awake menu's choices and their minutes.
struct HoldChoice {
    UINT nID;
    int nMinutes;
};
const HoldChoice kHoldChoices[] = {
    {ID_KEEPAWAKE_30, 30},
    {ID_KEEPAWAKE_60, 60},
    {ID_KEEPAWAKE_120, 120},
    {ID_KEEPAWAKE_ON, kKeepAwakeUntilStopped},
};

bool IsKeepAwakeMenu(HMENU hMenu) {
    return hMenu && GetMenuItemID(hMenu, 0) == ID_KEEPAWAKE_30;
}

// The keep-awake submenu of a menu or of one of its menus, or null.
HMENU FindKeepAwakeMenu(HMENU hMenu) {
    const int count = hMenu ? GetMenuItemCount(hMenu) : 0;
    for (int i = 0; i < count; ++i) {
        HMENU hSub = GetSubMenu(hMenu, i);
        if (IsKeepAwakeMenu(hSub)) {
            return hSub;
        }
        if (HMENU hFound = FindKeepAwakeMenu(hSub)) {
            return hFound;
        }
    }
    return nullptr;
}

} // namespace

CWatchListDlg::CWatchListDlg() : CDialog(IDD_WATCHLIST_DIALOG) {
    // Shared icons from the program's resources: the system frees them.
    m_hIconNormal = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    m_hIconGuard = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_GUARD));
    // The caption and the notification area show the small size; drawn at
    // that size, not shrunk from the large picture.
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    m_hIconNormalSmall.Attach(static_cast<HICON>(LoadImageA(
        AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, cx, cy, 0)));
    m_hIconGuardSmall.Attach(static_cast<HICON>(
        LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_GUARD), IMAGE_ICON, cx, cy, 0)));
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

UINT CWatchListDlg::KeepAwakeMessage() {
    static const UINT s_uMessage = RegisterWindowMessageA("Qorvane.KeepAwake");
    return s_uMessage;
}

INT_PTR CWatchListDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TaskbarCreatedMessage()) {
        OnTaskbarCreated();
        return FALSE;
    }
    if (message == KeepAwakeMessage()) {
        StartHold(static_cast<int>(static_cast<INT_PTR>(wParam)));
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
    case WM_QUERYENDSESSION:
        return SetMsgResult(OnQueryEndSession(wParam, lParam));
    case WM_ENDSESSION:
        OnEndSession();
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
        OnAreaBlackWake();
        return TRUE;
    case ID_KEEPAWAKE_30:
    case ID_KEEPAWAKE_60:
    case ID_KEEPAWAKE_120:
    case ID_KEEPAWAKE_ON:
    case ID_KEEPAWAKE_STOP:
        OnKeepAwake(nID);
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
    SendMessage(WM_SETICON, ICON_SMALL,
                reinterpret_cast<LPARAM>(SmallIcon(m_hIconNormalSmall, m_hIconNormal)));
    m_nDpi = GetWindowDpi(m_hWnd);
    m_bCounting = false;
    m_bBlackShown = false;
    InitLayout();
    CSingleInstance::SetMainWnd(m_hWnd);

    for (int n = 0; n < 4; ++n) {
        m_listCtrl.InsertColumn(n, LoadText(kColumns[n].nHeading), LVCFMT_LEFT,
                                ScaleByDpi(DefaultWidth(kColumns[n]), m_nDpi));
    }
    m_listCtrl.SetExtendedStyle(0, LVS_EX_FULLROWSELECT);
    m_listCtrl.EnableCellTips();

    m_btnProperties.ApplyStandardStyle(TRUE);
    m_btnProperties.SetIconFromResource(IDI_PROPERTIES);
    m_btnProperties.EnableWindow(FALSE);
    m_btnHide.ApplyStandardStyle(TRUE);
    m_btnHide.SetIconFromResource(IDI_HIDE);
    m_btnDelete.ApplyStandardStyle(TRUE);
    m_btnDelete.SetIconFromResource(IDI_DELETE);
    m_btnDelete.EnableWindow(FALSE);
    m_btnAdd.ApplyStandardStyle(TRUE);
    m_btnAdd.SetIconFromResource(IDI_ADD);

    const CString strFolder = GetDataFolder();
    CString strSettings = strFolder;
    strSettings += kSettingsFile;
    m_settings.SetPath(strSettings);
    LoadWindowSettings();

    m_strListPath = strFolder;
    m_strListPath += kListFile;
    m_watchList.Load(m_strListPath);
    for (int i = 0; i < m_watchList.GetCount(); ++i) {
        const CWatchItem& item = *m_watchList.GetAt(i);
        m_listCtrl.InsertItem(LVIF_TEXT | LVIF_IMAGE, i, item.m_strTitle, 0);
        SetRowText(i, item);
    }

    ::SetTimer(m_hWnd, TIMER_WATCH_CYCLE, kWatchCycleMs, nullptr);
    PrepareKeepAwakeMenu(FindKeepAwakeMenu(GetMenu()));
    // A hold asked for on the command line holds from the start.
    if (m_nStartupHoldMinutes != 0) {
        StartHold(m_nStartupHoldMinutes);
    }
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
    for (int n = 0; n < 4; ++n) {
        // A stored width is the user's own, in pixels; only the default scales.
        int width = m_settings.GetInt("Dialog", kColumns[n].pszKey,
                                      ScaleByDpi(DefaultWidth(kColumns[n]), m_nDpi));
        m_listCtrl.SetColumnWidth(n, LOWORD(width));
    }

    RECT rc;
    GetWindowRect(&rc);
    const POINT created = {rc.left, rc.top};
    const int left = m_settings.GetInt("Dialog", "Left", rc.left);
    const int top = m_settings.GetInt("Dialog", "Top", rc.top);
    const int width = m_settings.GetInt("Dialog", "Width", rc.right - left);
    const int height = m_settings.GetInt("Dialog", "Height", rc.bottom - top);
    const RECT restored = {left, top, left + width, top + height};
    MONITORINFO primary = {};
    primary.cbSize = sizeof primary;
    GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary);
    const bool bOnSomeMonitor = MonitorFromRect(&restored, MONITOR_DEFAULTTONULL) != nullptr;
    const RECT placed = PlaceRestoredWindow(restored, created, bOnSomeMonitor, primary.rcWork);
    ::MoveWindow(m_hWnd, placed.left, placed.top, placed.right - placed.left,
                 placed.bottom - placed.top, TRUE);

    m_bVisible = m_settings.GetInt("Dialog", "Visible", 1);
    if (!m_bVisible) {
        ShowWindow(SW_HIDE);
    }
    m_bShowTrayIcon = m_settings.GetInt("Config", "ShowTrayIcon", 1);
    ShowTrayIcon(m_bShowTrayIcon);

    CMenu menu(GetMenu());
    menu.CheckMenuItem(ID_TOGGLE_AUTORUN,
                       CAutoRun(kAutoRunValue).IsEnabled() ? MF_CHECKED : MF_UNCHECKED);
}

void CWatchListDlg::SaveWindowSettings() {
    BOOL bOk = TRUE;
    for (int n = 0; n < 4; ++n) {
        bOk =
            m_settings.WriteInt("Dialog", kColumns[n].pszKey, m_listCtrl.GetColumnWidth(n)) && bOk;
    }
    RECT r;
    if (IsIconic()) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        GetWindowPlacement(m_hWnd, &placement);
        r = placement.rcNormalPosition;
        // The restored rectangle is in work-area coordinates; Left and Top are
        // read back as screen coordinates, so a taskbar at the top or left
        // would otherwise shift the window at every such save.
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        if (GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTOPRIMARY), &info)) {
            OffsetRect(&r, info.rcWork.left - info.rcMonitor.left,
                       info.rcWork.top - info.rcMonitor.top);
        }
    } else {
        GetWindowRect(&r);
    }
    bOk = m_settings.WriteInt("Dialog", "Left", r.left) && bOk;
    bOk = m_settings.WriteInt("Dialog", "Top", r.top) && bOk;
    bOk = m_settings.WriteInt("Dialog", "Width", r.right - r.left) && bOk;
    bOk = m_settings.WriteInt("Dialog", "Height", r.bottom - r.top) && bOk;
    bOk = m_settings.WriteInt("Dialog", "Visible", m_bVisible) && bOk;
    if (!bOk) {
        ReportSaveFailure(m_settings.GetPath(), GetLastError());
    }
    if (!m_settings.WriteInt("Config", "ShowTrayIcon", m_bShowTrayIcon)) {
        ReportSaveFailure(m_settings.GetPath(), GetLastError());
    }
}

void CWatchListDlg::SaveList() {
    if (!m_watchList.Save(m_strListPath)) {
        ReportSaveFailure(m_strListPath, GetLastError());
    }
}

void CWatchListDlg::ReportSaveFailure(const char* pszPath, DWORD dwError) {
    // Once a run is enough to tell the user; and never while the session
    // ends, when a question would hold up the log-off.
    if (m_bSaveFailureShown || m_bEndingSession) {
        return;
    }
    m_bSaveFailureShown = true;
    char* pszSystem = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, dwError, 0, reinterpret_cast<char*>(&pszSystem), 0, nullptr);
    CString strText;
    AfxFormatString2(strText, IDS_SAVE_FAILED, pszPath, pszSystem ? pszSystem : "");
    if (pszSystem) {
        LocalFree(pszSystem);
    }
    // While the window is going away it cannot own the box; otherwise it
    // does, even hidden, so that nothing else opens over the box.
    HWND hOwner = m_bDestroying ? nullptr : m_hWnd;
    MessageBoxA(hOwner, strText, LoadText(IDS_APP_TITLE),
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

void CWatchListDlg::SetRowText(int nRow, const CWatchItem& item) {
    m_listCtrl.SetItemText(nRow, 1, item.m_strFileName);
    m_listCtrl.SetItemText(nRow, 2, LoadText(ConditionTextId(item.m_nValidCondition)));
    m_listCtrl.SetItemText(nRow, 3, EffectRowText(item.m_nMonitorEffec, item.m_nKeepSystemAwake));
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
    const UINT dpi = GetWindowDpi(m_hWnd);
    pInfo->ptMinTrackSize.x = ScaleByDpi(kMinTrackWidth, dpi);
    pInfo->ptMinTrackSize.y = ScaleByDpi(kMinTrackHeight, dpi);
}

void CWatchListDlg::OnDpiChanged(UINT nDpi, const RECT* pSuggested) {
    if (nDpi == 0 || nDpi == m_nDpi) {
        return;
    }
    ::SetWindowPos(m_hWnd, nullptr, pSuggested->left, pSuggested->top,
                   pSuggested->right - pSuggested->left, pSuggested->bottom - pSuggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    // The columns keep the share of the window the user gave them.
    for (int n = 0; n < 4; ++n) {
        m_listCtrl.SetColumnWidth(n, MulDiv(m_listCtrl.GetColumnWidth(n), static_cast<int>(nDpi),
                                            static_cast<int>(m_nDpi)));
    }
    m_nDpi = nDpi;
    for (CIconButton* pButton : {&m_btnHide, &m_btnAdd, &m_btnDelete, &m_btnProperties}) {
        pButton->ReloadPicture();
    }
}

RECT CWatchListDlg::GetGripRect() const {
    RECT client;
    GetClientRect(&client);
    return RECT{client.right - GetSystemMetrics(SM_CXVSCROLL),
                client.bottom - GetSystemMetrics(SM_CYHSCROLL), client.right, client.bottom};
}

void CWatchListDlg::OnPaint() {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(m_hWnd, &ps);
    if (IsIconic()) {
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
        RECT client;
        GetClientRect(&client);
        DrawIcon(hdc, (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
                 (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2, m_hIconNormal);
    } else {
        RECT grip = GetGripRect();
        DrawFrameControl(hdc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
    EndPaint(m_hWnd, &ps);
}

LRESULT CWatchListDlg::OnNcHitTest(POINT point) {
    ScreenToClient(m_hWnd, &point);
    RECT grip = GetGripRect();
    return PtInRect(&grip, point) ? HTBOTTOMRIGHT : HTNOWHERE;
}

void CWatchListDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == TIMER_AREA_BLACK) {
        OnAreaBlackTick();
        return;
    }
    if (m_bBlackShown) {
        return;
    }
    const ULONGLONG ullNow = GetTickCount64();
    const bool bWasHolding = m_hold.bOn;
    m_hold = AgeKeepAwake(m_hold, ullNow);
    if (bWasHolding && !m_hold.bOn) {
        PrepareKeepAwakeMenu(FindKeepAwakeMenu(GetMenu()));
    }
    WatchCycleFacts facts;
    facts.bKeepAwake = m_hold.bOn;
    BYTE bForeground = 0;
    facts.nFirstInEffect = m_evaluator.FindFirstInEffect(&bForeground);
    facts.bFirstInForeground = bForeground != 0;
    facts.bCounting = m_bCounting;
    if (facts.nFirstInEffect >= 0) {
        const CWatchItem& first = *m_watchList.GetAt(facts.nFirstInEffect);
        facts.nAreaBlack = first.m_nAreaBlack;
        int nDefaultWait = 60, nDefaultIdentify = 0;
        if (NeedsBlackoutDefaults(facts.nFirstInEffect, facts.bFirstInForeground,
                                  facts.nAreaBlack)) {
            nDefaultWait = m_settings.GetInt("AreaBlack", "WaitTime", 60);
            nDefaultIdentify = m_settings.GetInt("AreaBlack", "Identify", 0);
        }
        facts.blackout = ResolveBlackout(first.m_nAreaBlack, first.m_nWaitTime, first.m_nIdentify,
                                         nDefaultWait, nDefaultIdentify);
        for (int k = facts.nFirstInEffect; k != -1; k = m_evaluator.FindNextInEffect()) {
            facts.effects.push_back(m_watchList.GetAt(k)->m_nMonitorEffec);
        }
    }
    const WatchCycleActions actions = DecideWatchCycle(facts);
    const CString strTitle = LoadText(actions.bGuarding ? IDS_APP_TITLE_GUARDING : IDS_APP_TITLE);
    ApplyWatchCycle(actions, strTitle, ComposeTip(strTitle, facts.nFirstInEffect, ullNow));
}

CString CWatchListDlg::ComposeTip(const CString& strTitle, int nFirstInEffect,
                                  ULONGLONG ullNow) const {
    CString strTip = strTitle;
    CString strDetail;
    switch (DecideTipDetail(m_hold, nFirstInEffect >= 0)) {
    case TipDetail::MinutesLeft: {
        CString strMinutes;
        strMinutes.Format("%d", KeepAwakeMinutesLeft(m_hold, ullNow));
        AfxFormatString1(strDetail, IDS_TIP_MINUTES_LEFT, strMinutes);
        break;
    }
    case TipDetail::UntilStopped:
        strDetail = LoadText(IDS_TIP_UNTIL_STOPPED);
        break;
    case TipDetail::WatchedAlias: {
        const CWatchItem& item = *m_watchList.GetAt(nFirstInEffect);
        strDetail = item.m_strTitle.IsEmpty() ? CString(CPathName(item.m_strFileName).GetTitle())
                                              : item.m_strTitle;
        break;
    }
    case TipDetail::None:
        break;
    }
    if (!strDetail.IsEmpty()) {
        strTip += "\n";
        strTip += strDetail;
    }
    return strTip;
}

void CWatchListDlg::ApplyWatchCycle(const WatchCycleActions& actions, const CString& strTitle,
                                    const CString& strTip) {
    // Each of these calls makes the taskbar, the shell or other processes do
    // work: a cycle that finds things as they are touches none of them.
    HICON hIcon = actions.bGuarding ? m_hIconGuard : m_hIconNormal;
    HICON hSmall = actions.bGuarding ? SmallIcon(m_hIconGuardSmall, m_hIconGuard)
                                     : SmallIcon(m_hIconNormalSmall, m_hIconNormal);
    if (reinterpret_cast<HICON>(SendMessage(WM_GETICON, ICON_BIG)) != hIcon) {
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
    }
    if (reinterpret_cast<HICON>(SendMessage(WM_GETICON, ICON_SMALL)) != hSmall) {
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hSmall));
    }
    if (m_trayIcon.GetIcon() != hSmall) {
        m_trayIcon.SetIcon(hSmall);
    }
    if (!m_trayIcon.HasTip(strTip)) {
        m_trayIcon.SetTip(strTip);
    }
    CString strShown;
    GetWindowText(strShown);
    if (strShown != strTitle) {
        SetWindowText(strTitle);
    }

    if (actions.bSetActiveAreaMode) {
        m_nActiveAreaMode = actions.nActiveAreaMode;
    }
    if (actions.bArmCountdown) {
        m_nSecondsLeft = actions.nSecondsLeft;
        m_bCounting = true;
        ::SetTimer(m_hWnd, TIMER_AREA_BLACK, kAreaBlackTickMs, nullptr);
        SetAreaBlackStatus(0, 1);
    }
    // Every way a countdown ends tells the hooks so: with none running there
    // is nothing to stop.
    if (actions.bStopCountdown && m_bCounting) {
        m_bCounting = false;
        SetAreaBlackStatus(0, 0);
        ::KillTimer(m_hWnd, TIMER_AREA_BLACK);
    }
    if (actions.bGuarding) {
        if (!m_hookThread.IsInstalled()) {
            // Posted to the hook thread; one that did not take (a full
            // session table) is asked for again by the next cycle.
            m_hookThread.Install(m_hWnd);
        }
        const int nFlags = (actions.bPreventSaver ? 1 : 0) | (actions.bPreventPowerOff ? 2 : 0);
        if (nFlags != m_nFlagsInPlace) {
            SetMonitorEffect(actions.bPreventSaver, actions.bPreventPowerOff);
            m_nFlagsInPlace = nFlags;
        }
    } else if (m_hookThread.IsRequested()) {
        RemoveHooks();
    }
    m_displayRequest.Hold(actions.bHoldDisplayOn);
}

void CWatchListDlg::RemoveHooks() {
    m_hookThread.Uninstall();
    m_nFlagsInPlace = -1;
}

void CWatchListDlg::OnAreaBlackTick() {
    const AreaBlackTickActions tick =
        DecideAreaBlackTick(m_bCounting, m_bBlackShown, m_nSecondsLeft);
    m_nSecondsLeft = tick.nSecondsLeft;
    if (tick.bKillTimer) {
        ::KillTimer(m_hWnd, TIMER_AREA_BLACK);
    }
    if (tick.bClearCounting) {
        m_bCounting = false;
    }
    if (tick.bTellHooks) {
        SetAreaBlackStatus(tick.hooks.bBlackShown, tick.hooks.bCounting);
    }
    if (tick.bShowBlackout) {
        // Only the hooks see the input that ends a blackout: without them (a
        // full session table, a failed install, hooks removed at a session's
        // end that did not come) the screen would stay black. The countdown
        // ends instead; the next cycle installs the hooks and arms it again.
        if (m_hookThread.IsInstalled()) {
            ShowAreaBlack();
        } else {
            m_bCounting = false;
            SetAreaBlackStatus(0, 0);
            ::KillTimer(m_hWnd, TIMER_AREA_BLACK);
        }
    }
}

void CWatchListDlg::GetActiveArea(RECT* pRect) const {
    HWND hForeground = ::GetForegroundWindow();
    switch (ActiveAreaKindFor(m_nActiveAreaMode, hForeground != nullptr)) {
    case ActiveAreaKind::WindowRect:
        ::GetWindowRect(hForeground, pRect);
        break;
    case ActiveAreaKind::ClientRect: {
        ::GetClientRect(hForeground, pRect);
        POINT origin = {0, 0};
        ::ClientToScreen(hForeground, &origin);
        OffsetRect(pRect, origin.x, origin.y);
        break;
    }
    case ActiveAreaKind::None:
        SetRectEmpty(pRect);
        break;
    }
}

void CWatchListDlg::ShowAreaBlack() {
    RECT rcActive;
    GetActiveArea(&rcActive);
    // Input is not reported while the window comes up, nor during the retries
    // while it cannot be created: the countdown stays armed with no seconds left.
    const AreaBlackHookStatus quiet = HookStatusIn(AreaBlackState::Appearing);
    SetAreaBlackStatus(quiet.bBlackShown, quiet.bCounting);
    if (m_blackWnd.Show(rcActive)) {
        // The class has no cursor, so the pointer stays hidden over the black area.
        ::SetCursor(nullptr);
        m_bBlackShown = true;
    }
}

void CWatchListDlg::SaveAll() {
    SaveList();
    SaveWindowSettings();
}

void CWatchListDlg::OnDestroy() {
    m_bDestroying = true;
    m_trayIcon.Delete();
    SaveAll();
    m_displayRequest.Hold(false);
}

BOOL CWatchListDlg::OnQueryEndSession(WPARAM wParam, LPARAM lParam) {
    if (!::DefWindowProcA(m_hWnd, WM_QUERYENDSESSION, wParam, lParam)) {
        return FALSE;
    }
    m_bEndingSession = true;
    SaveAll();
    return TRUE;
}

void CWatchListDlg::OnEndSession() {
    m_bEndingSession = true;
    SaveAll();
    RemoveHooks();
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
        m_trayIcon.Create(0, SmallIcon(m_hIconNormalSmall, m_hIconNormal), LoadText(IDS_APP_TITLE),
                          &TrayCallback, this);
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
    CAutoRun autoRun(kAutoRunValue);
    const bool bWasEnabled = autoRun.IsEnabled();
    if (bWasEnabled) {
        autoRun.Disable();
    } else {
        autoRun.Enable();
    }
    // The mark shows what the registry holds now.
    const bool bEnabled = autoRun.IsEnabled();
    CMenu menu(GetMenu());
    menu.CheckMenuItem(ID_TOGGLE_AUTORUN, bEnabled ? MF_CHECKED : MF_UNCHECKED);
    // Only an administrator can delete a registration under the machine-wide
    // key; without a word the click would seem to do nothing.
    if (bWasEnabled && bEnabled) {
        MessageBoxA(m_hWnd, LoadText(IDS_AUTORUN_BY_ADMIN), LoadText(IDS_APP_TITLE),
                    MB_OK | MB_ICONINFORMATION);
    }
}

void CWatchListDlg::TrayCallback(WPARAM, LPARAM lParam, void* pData) {
    CWatchListDlg* pDlg = static_cast<CWatchListDlg*>(pData);
    CMenu menu;
    menu.LoadMenu(IDR_TRAY_MENU);
    CMenu popup(menu.GetSubMenu(0));
    POINT cursor;
    GetCursorPos(&cursor);
    if (HMENU hKeepAwake = FindKeepAwakeMenu(popup)) {
        pDlg->PrepareKeepAwakeMenu(hKeepAwake);
    }
    switch (LOWORD(lParam)) {
    case WM_LBUTTONDBLCLK:
        if (pDlg->HasOpenDialog()) {
            pDlg->ShowOpenDialog();
        } else {
            pDlg->ToggleMainWindow();
        }
        break;
    case WM_RBUTTONDOWN:
        if (popup) {
            pDlg->SetForegroundWindow();
            if (pDlg->m_bVisible) {
                popup.ModifyMenu(0, MF_BYPOSITION | MF_STRING, ID_TOGGLE_MAIN_WND,
                                 LoadText(IDS_HIDE_WINDOW));
            }
            popup.SetDefaultItem(0, TRUE);
            popup.TrackPopupMenu(TPM_RIGHTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, *pDlg);
        }
        break;
    default:
        break;
    }
}

int CWatchListDlg::GetSelectedRow() const {
    const int nRow = m_listCtrl.GetNextItem(-1, LVNI_SELECTED);
    return nRow >= 0 && nRow < m_watchList.GetCount() ? nRow : -1;
}

const CWatchItem* CWatchListDlg::GetSelectedItem() const {
    const int nRow = GetSelectedRow();
    return nRow >= 0 ? m_watchList.GetAt(nRow) : nullptr;
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
    CAddWatchDlg addDlg;
    if (addDlg.DoModal() != IDOK) {
        return;
    }
    CWatchPropDlg propDlg;
    propDlg.m_item.m_strFileName = addDlg.m_strFileName;
    if (propDlg.DoModal() != IDOK) {
        return;
    }
    m_watchList.Add(propDlg.m_item);
    const int nRow = m_listCtrl.GetItemCount();
    m_listCtrl.InsertItem(LVIF_TEXT | LVIF_IMAGE, nRow, propDlg.m_item.m_strTitle, 0);
    SetRowText(nRow, propDlg.m_item);
    m_listCtrl.SetItemState(nRow, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    m_listCtrl.SetFocus();
    SaveList();
    OnTimer(TIMER_WATCH_CYCLE);
}

void CWatchListDlg::OnDeleteWatch() {
    const CWatchItem* pItem = GetSelectedItem();
    if (!pItem) {
        return;
    }
    CString strText, strCaption;
    AfxFormatString1(strText, IDS_DELETE_QUESTION, pItem->m_strTitle);
    strCaption.LoadString(IDS_DELETE_CAPTION);
    if (MessageBoxA(m_hWnd, strText, strCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) !=
        IDYES) {
        return;
    }
    // Rows may have moved while the question was open.
    const int nRow = m_watchList.IndexOf(pItem);
    if (nRow < 0) {
        return;
    }
    m_watchList.RemoveAt(nRow);
    m_listCtrl.DeleteItem(nRow);
    m_listCtrl.SetFocus();
    SaveList();
    RemoveHooks();
    // No row is selected any more, whether or not the list view said so.
    OnItemChangedList();
}

void CWatchListDlg::OnWatchProperties() {
    const int nSelected = GetSelectedRow();
    if (nSelected < 0) {
        return;
    }
    const CWatchItem* pEdited = m_watchList.GetAt(nSelected);
    CWatchPropDlg propDlg;
    m_watchList.CopyItem(nSelected, propDlg.m_item);
    if (propDlg.DoModal() != IDOK) {
        return;
    }
    // The item is found again by what it is, not by the row it had: the
    // list may have changed while the dialog was open, and an item deleted
    // meanwhile is not written back over another.
    const int nRow = m_watchList.IndexOf(pEdited);
    if (nRow < 0) {
        return;
    }
    CWatchItem* pItem = m_watchList.GetAt(nRow);
    pItem->CopyFrom(propDlg.m_item);
    SetRowText(nRow, *pItem);
    m_listCtrl.SetItemText(nRow, 0, pItem->m_strTitle);
    SaveList();
    OnTimer(TIMER_WATCH_CYCLE);
}

void CWatchListDlg::OnItemChangedList() {
    const BOOL bValid = GetSelectedRow() >= 0;
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

void CWatchListDlg::OnAreaBlackWake() {
    const AreaBlackHookStatus idle = HookStatusIn(AreaBlackState::Idle);
    SetAreaBlackStatus(idle.bBlackShown, idle.bCounting);
    m_bBlackShown = false;
    m_bCounting = false;
    ::KillTimer(m_hWnd, TIMER_AREA_BLACK);
    m_blackWnd.DestroyWindow();
    // A moving mouse queues a wake per move; they would each run the cycle
    // again with a fresh process snapshot. Taken only now, in the idle state
    // with the hooks quiet, so nothing that runs during the removal can meet
    // a half-reset blackout.
    DrainQueuedWakes(m_hWnd);
    OnTimer(TIMER_WATCH_CYCLE);
}

void CWatchListDlg::OnKeepAwake(UINT nID) {
    int nMinutes = 0;
    for (const HoldChoice& choice : kHoldChoices) {
        if (choice.nID == nID) {
            nMinutes = choice.nMinutes;
        }
    }
    StartHold(nMinutes);
}

void CWatchListDlg::StartHold(int nMinutes) {
    m_hold = StartKeepAwake(nMinutes, GetTickCount64());
    m_nHoldMinutes = m_hold.bOn ? nMinutes : 0;
    PrepareKeepAwakeMenu(FindKeepAwakeMenu(GetMenu()));
    OnTimer(TIMER_WATCH_CYCLE);
}

void CWatchListDlg::PrepareKeepAwakeMenu(HMENU hMenu) const {
    if (!hMenu) {
        return;
    }
    CMenu menu(hMenu);
    for (const HoldChoice& choice : kHoldChoices) {
        const bool bRunning = m_hold.bOn && choice.nMinutes == m_nHoldMinutes;
        menu.CheckMenuItem(choice.nID, MF_BYCOMMAND | (bRunning ? MF_CHECKED : MF_UNCHECKED));
    }
    // The stop item and its separator come and go with the hold.
    const bool bHasStop =
        menu.GetMenuState(ID_KEEPAWAKE_STOP, MF_BYCOMMAND) != static_cast<UINT>(-1);
    if (m_hold.bOn && !bHasStop) {
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING, ID_KEEPAWAKE_STOP, LoadText(IDS_KEEPAWAKE_STOP));
    } else if (!m_hold.bOn && bHasStop) {
        menu.DeleteMenu(ID_KEEPAWAKE_STOP, MF_BYCOMMAND);
        const int nLast = menu.GetMenuItemCount() - 1;
        if (nLast >= 0 && (menu.GetMenuState(nLast, MF_BYPOSITION) & MF_SEPARATOR)) {
            menu.DeleteMenu(nLast, MF_BYPOSITION);
        }
    }
}
