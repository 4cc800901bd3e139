#include "GuardText.h"

#include "AfxText.h"
#include "resource.h"

CString GuardTitle(const CWatchGuard::Display& display) {
    CString strTitle;
    strTitle.LoadString(display.bGuarding ? IDS_APP_TITLE_GUARDING : IDS_APP_TITLE);
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
    case TipDetail::WatchedAlias:
        strDetail = display.strAlias;
        break;
    case TipDetail::None:
        break;
    }
    if (!strDetail.IsEmpty()) {
        strTip += "\n";
        strTip += strDetail;
    }
    return strTip;
}
