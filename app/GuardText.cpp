#include "GuardText.h"

#include "AfxText.h"
#include "KeepAwakeOptions.h"
#include "resource.h"

#include <string>

UINT GuardTitleId(const CWatchGuard::Display& display) {
    if (!display.bGuarding) {
        return display.bPaused ? IDS_APP_TITLE_PAUSED : IDS_APP_TITLE;
    }
    // With the screen left alone the screen saver may start: "guarding"
    // would promise what is not done.
    return display.bScreen ? IDS_APP_TITLE_GUARDING : IDS_APP_TITLE_COMPUTER_AWAKE;
}

CString GuardTitle(const CWatchGuard::Display& display) {
    CString strTitle;
    strTitle.LoadString(GuardTitleId(display));
    return strTitle;
}

CString GuardTip(const CWatchGuard::Display& display) {
    CString strTip = GuardTitle(display);
    const bool bComputer = display.bComputerOnly;
    CString strDetail, strNumber;
    switch (display.detail) {
    case TipDetail::MinutesLeft:
        strNumber.Format("%d", display.nMinutesLeft);
        AfxFormatString1(
            strDetail, bComputer ? IDS_TIP_COMPUTER_MINUTES_LEFT : IDS_TIP_MINUTES_LEFT, strNumber);
        break;
    case TipDetail::UntilStopped:
        strDetail.LoadString(bComputer ? IDS_TIP_COMPUTER_UNTIL_STOPPED : IDS_TIP_UNTIL_STOPPED);
        break;
    case TipDetail::WhileProcess:
        strNumber.Format("%lu", static_cast<unsigned long>(display.dwProcessId));
        AfxFormatString1(strDetail,
                         bComputer ? IDS_TIP_COMPUTER_WHILE_PROCESS : IDS_TIP_WHILE_PROCESS,
                         strNumber);
        break;
    case TipDetail::UntilTime:
        AfxFormatString1(strDetail, bComputer ? IDS_TIP_COMPUTER_UNTIL_TIME : IDS_TIP_UNTIL_TIME,
                         FormatTimeOfDay(display.nUntilMinute));
        break;
    case TipDetail::WatchedAlias:
    case TipDetail::None:
        break;
    }
    CString strHours, strPause;
    if (display.bHours) {
        AfxFormatString1(strHours,
                         display.bHoursComputerOnly ? IDS_TIP_COMPUTER_WORKING_HOURS
                                                    : IDS_TIP_WORKING_HOURS,
                         FormatTimeOfDay(display.nHoursEnd));
    }
    if (display.bPaused) {
        CString strPercent, strFloor;
        strPercent.Format("%d", display.nBatteryPercent);
        strFloor.Format("%d", display.nBatteryFloor);
        if (display.nBatteryPercent >= 0) {
            AfxFormatString2(strPause, IDS_TIP_BATTERY_PAUSED, strPercent, strFloor);
        } else {
            strPause.LoadString(IDS_TIP_BATTERY_PAUSED_ALWAYS);
        }
    }
    const CString* lines[] = {&strPause, &strDetail, &strHours, &display.strAlias};
    for (const CString* pLine : lines) {
        if (!pLine->IsEmpty()) {
            strTip += "\n";
            strTip += *pLine;
        }
    }
    return strTip;
}

CString NoticeText(const CWatchGuard::Notice& notice) {
    using Notice = CWatchGuard::Notice;
    const KeepAwakeHold& hold = notice.hold;
    const bool bComputer = hold.bComputerOnly;
    CString strText, strNumber;
    switch (notice.kind) {
    case Notice::Started:
        if (hold.dwProcessId != 0) {
            strNumber.Format("%lu", static_cast<unsigned long>(hold.dwProcessId));
            AfxFormatString1(strText,
                             bComputer ? IDS_NOTICE_COMPUTER_WHILE : IDS_NOTICE_SCREEN_WHILE,
                             strNumber);
        } else if (hold.bUntil) {
            AfxFormatString1(strText,
                             bComputer ? IDS_NOTICE_COMPUTER_UNTIL : IDS_NOTICE_SCREEN_UNTIL,
                             FormatTimeOfDay(hold.nUntilMinute));
        } else if (hold.bTimed) {
            strNumber.Format("%d", notice.nHoldMinutes);
            AfxFormatString1(strText,
                             bComputer ? IDS_NOTICE_COMPUTER_TIMED : IDS_NOTICE_SCREEN_TIMED,
                             strNumber);
        } else {
            strText.LoadString(bComputer ? IDS_NOTICE_COMPUTER_UNTIL_STOPPED
                                         : IDS_NOTICE_SCREEN_UNTIL_STOPPED);
        }
        break;
    case Notice::Stopped:
        strText.LoadString(IDS_NOTICE_STOPPED);
        break;
    case Notice::TimeUp:
        strText.LoadString(IDS_NOTICE_TIME_UP);
        break;
    case Notice::ProcessEnded:
        strNumber.Format("%lu", static_cast<unsigned long>(hold.dwProcessId));
        AfxFormatString1(strText, IDS_NOTICE_PROCESS_ENDED, strNumber);
        break;
    case Notice::Paused:
        if (notice.nBatteryPercent >= 0) {
            CString strFloor;
            strNumber.Format("%d", notice.nBatteryPercent);
            strFloor.Format("%d", notice.nBatteryFloor);
            AfxFormatString2(strText, IDS_TIP_BATTERY_PAUSED, strNumber, strFloor);
        } else {
            strText.LoadString(IDS_TIP_BATTERY_PAUSED_ALWAYS);
        }
        break;
    case Notice::Resumed:
        strText.LoadString(IDS_NOTICE_RESUMED);
        break;
    case Notice::Forbidden:
        strText.LoadString(IDS_NOTICE_BY_POLICY);
        break;
    }
    return strText;
}

CString GuardStatusLine(const CWatchGuard::Display& display) {
    if (!display.bGuarding && !display.bPaused) {
        CString strNothing;
        strNothing.LoadString(IDS_STATUS_NOTHING);
        return strNothing;
    }
    const CString strTip = GuardTip(display);
    // The line break is ASCII: no byte of a double-byte character is one.
    std::string line;
    for (const char* p = strTip; *p; ++p) {
        if (*p == '\n') {
            line += "; ";
        } else {
            line += *p;
        }
    }
    return CString(line.c_str(), line.size());
}
