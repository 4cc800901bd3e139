#pragma once

#include "CWnd.h"

#include <commctrl.h>

// A date and time picker (SysDateTimePick32) that the program uses for a
// time of day alone: minutes after midnight, the date part today's.
class CDateTimeCtrl : public CWnd {
public:
    // The pickers of a dialog template are created before the dialog gets any
    // message, so their class must be registered before the dialog runs.
    static void RegisterClass() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_DATE_CLASSES};
        ::InitCommonControlsEx(&controls);
    }

    // pszFormat as DTM_SETFORMAT takes it ("HH:mm": 24-hour hours and minutes).
    void SetFormat(const char* pszFormat) {
        SendMessage(DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(pszFormat));
    }
    void SetMinuteOfDay(int nMinute) {
        const int nMinutesPerDay = 24 * 60;
        nMinute = ((nMinute % nMinutesPerDay) + nMinutesPerDay) % nMinutesPerDay;
        SYSTEMTIME time = {};
        ::GetLocalTime(&time);
        time.wHour = static_cast<WORD>(nMinute / 60);
        time.wMinute = static_cast<WORD>(nMinute % 60);
        time.wSecond = 0;
        time.wMilliseconds = 0;
        SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    }
    int GetMinuteOfDay() const {
        SYSTEMTIME time = {};
        SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
        return time.wHour * 60 + time.wMinute;
    }
};
