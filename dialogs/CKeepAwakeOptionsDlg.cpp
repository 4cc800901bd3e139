#include "CKeepAwakeOptionsDlg.h"

#include "AfxText.h"
#include "BandLayout.h"
#include "CWinApp.h"
#include "HotkeyText.h"
#include "DataFolder.h"
#include "KeepAwakeOptions.h"
#include "ModernStandby.h"
#include "SaveFailureMessage.h"

#include "resource.h"

namespace {

const char kTimeFormat[] = "HH:mm";

int CheckState(bool bChecked) {
    return bChecked ? BST_CHECKED : BST_UNCHECKED;
}

} // namespace

CKeepAwakeOptionsDlg::CKeepAwakeOptionsDlg(CWnd* pParent)
    : CDialog(IDD_KEEPAWAKE_OPTIONS, pParent), m_bModernStandby(HasModernStandby()) {
    CDateTimeCtrl::RegisterClass();
    CHotKeyCtrl::RegisterClass();
}

void CKeepAwakeOptionsDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_WORK_START, m_pickStart);
    DDX_Control(pDX, IDC_WORK_END, m_pickEnd);
    for (int i = 0; i < 7; ++i) {
        DDX_Check(pDX, IDC_DAY_MONDAY + i, m_nDays[i]);
    }
    if (pDX->m_bSaveAndValidate) {
        m_nStart = m_pickStart.GetMinuteOfDay();
        m_nEnd = m_pickEnd.GetMinuteOfDay();
    } else {
        m_pickStart.SetMinuteOfDay(m_nStart);
        m_pickEnd.SetMinuteOfDay(m_nEnd);
    }
    DDX_Check(pDX, IDC_COMPUTER_ONLY, m_nComputerOnly);
    DDX_TextInRange(pDX, IDC_BATTERY_FLOOR, m_nBatteryFloor, 0, 100);
    DDX_Check(pDX, IDC_END_ON_LOCK, m_nEndOnLock);
    DDX_Control(pDX, IDC_HOTKEY, m_hotkey);
    if (pDX->m_bSaveAndValidate) {
        m_wHotkey = m_hotkey.GetHotKey();
    } else {
        m_hotkey.SetHotKey(m_wHotkey);
    }
    DDX_Check(pDX, IDC_NOTIFY, m_nNotify);
}

INT_PTR CKeepAwakeOptionsDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // A hotkey control takes every key, Backspace too: clearing it needs
        // a button of its own.
        if (LOWORD(wParam) == IDC_HOTKEY_CLEAR && HIWORD(wParam) == BN_CLICKED) {
            m_hotkey.SetHotKey(0);
            ::SetFocus(m_hotkey.GetSafeHwnd());
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CDialog::DialogProc(message, wParam, lParam);
}

BOOL CKeepAwakeOptionsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_btnOK.ApplyStandardStyle(TRUE);
    m_btnOK.SetIconFromBitmap(IDB_OK);
    m_btnCancel.ApplyStandardStyle(TRUE);
    m_btnCancel.SetIconFromBitmap(IDB_CANCEL);
    m_pickStart.SetFormat(kTimeFormat);
    m_pickEnd.SetFormat(kTimeFormat);

    m_settings.SetPath(GetDataFilePath(L"Tessik.ini").c_str());
    const KeepAwakeOptions options = ReadKeepAwakeOptions(m_settings);
    for (int i = 0; i < 7; ++i) {
        m_nDays[i] = CheckState(options.hours.bDays[i]);
    }
    m_nStart = options.hours.nStart;
    m_nEnd = options.hours.nEnd;
    m_nComputerOnly = CheckState(options.hours.bComputerOnly);
    m_nBatteryFloor = static_cast<UINT>(options.nBatteryFloor);
    m_nEndOnLock = CheckState(options.bEndOnLock);
    m_wHotkey = m_wHotkeyBefore = options.wHotkey;
    m_nNotify = CheckState(options.bNotify);
    if (!m_bModernStandby) {
        RemoveStandbyNote();
    }
    UpdateData(FALSE);
    m_hotkey.RequireModifier();
    return TRUE;
}

void CKeepAwakeOptionsDlg::RemoveStandbyNote() {
    HWND hNote = GetDlgItem(IDC_MODERN_STANDBY_NOTE);
    RECT note = {}, above = {};
    ::GetWindowRect(hNote, &note);
    ::GetWindowRect(GetDlgItem(IDC_COMPUTER_ONLY), &above);
    ::ShowWindow(hNote, SW_HIDE);
    // From the bottom of the control above the note: the gap below the note
    // becomes the one below that control.
    POINT band[2] = {{0, above.bottom}, {0, note.bottom}};
    ::MapWindowPoints(nullptr, m_hWnd, band, 2);
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (hChild == hNote) {
            continue;
        }
        RECT rect = {};
        ::GetWindowRect(hChild, &rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        const RECT moved = RectWithoutBand(rect, band[0].y, band[1].y);
        ::SetWindowPos(hChild, nullptr, moved.left, moved.top, moved.right - moved.left,
                       moved.bottom - moved.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Shorter by the band and centred where the template centred it.
    const int nBand = band[1].y - band[0].y;
    RECT window = {};
    GetWindowRect(&window);
    ::SetWindowPos(m_hWnd, nullptr, window.left, window.top + nBand / 2, window.right - window.left,
                   window.bottom - window.top - nBand, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CKeepAwakeOptionsDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    KeepAwakeOptions options;
    for (int i = 0; i < 7; ++i) {
        options.hours.bDays[i] = m_nDays[i] == BST_CHECKED;
    }
    options.hours.nStart = m_nStart;
    options.hours.nEnd = m_nEnd;
    options.hours.bComputerOnly = m_nComputerOnly == BST_CHECKED;
    options.nBatteryFloor = static_cast<int>(m_nBatteryFloor);
    options.bEndOnLock = m_nEndOnLock == BST_CHECKED;
    options.wHotkey = HotkeyFromStored(m_wHotkey);
    options.bNotify = m_nNotify == BST_CHECKED;
    const bool bNewHotkey = options.wHotkey != m_wHotkeyBefore && m_pHotkeyTaker;
    if (bNewHotkey && !m_pHotkeyTaker->TakeHotkey(options.wHotkey)) {
        CString strText;
        AfxFormatString1(strText, IDS_HOTKEY_TAKEN, DescribeHotkey(options.wHotkey));
        ::MessageBoxA(m_hWnd, strText, AfxGetAppName(), MB_OK | MB_ICONWARNING);
        m_hotkey.SetHotKey(m_wHotkeyBefore);
        ::SetFocus(m_hotkey.GetSafeHwnd());
        return;
    }
    // Other sections and keys stay as they are.
    if (!SaveSettingsOrTell(m_hWnd, m_settings.GetPath(), [&](CProfileText& text) {
            WriteKeepAwakeOptions(text, options);
            return true;
        })) {
        // What the file does not hold would be gone at the next start.
        if (bNewHotkey) {
            m_pHotkeyTaker->TakeHotkey(m_wHotkeyBefore);
        }
        return;
    }
    EndDialog(IDOK);
}
