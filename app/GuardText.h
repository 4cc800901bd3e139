#pragma once

#include "CString.h"
#include "CWatchGuard.h"

// The texts that show the guard's state: the window title, and the tray tip,
// which names under the title what holds the screen (or the computer): the
// hold, then the watched items in effect.
UINT GuardTitleId(const CWatchGuard::Display& display);
CString GuardTitle(const CWatchGuard::Display& display);
CString GuardTip(const CWatchGuard::Display& display);
// The balloon's text for a notice: what is held now, or what ended.
CString NoticeText(const CWatchGuard::Notice& notice);
// The tip in one line, for a script that asks: its lines joined by "; ", or
// that nothing is kept awake.
CString GuardStatusLine(const CWatchGuard::Display& display);
