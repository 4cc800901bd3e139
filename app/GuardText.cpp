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
    CString strDetail;
    switch (display.detail) {
    case TipDetail::MinutesLeft: {
        CString strMinutes;
        strMinutes.Format("%d", display.nMinutesLeft);
        AfxFormatString1(strDetail, IDS_TIP_MINUTES_LEFT, strMinutes);
        break;
    }
    case TipDetail::UntilStopped:
        strDetail.LoadString(IDS_TIP_UNTIL_STOPPED);
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
