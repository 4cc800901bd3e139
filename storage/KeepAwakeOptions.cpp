#include "KeepAwakeOptions.h"

#include "CProfileFile.h"
#include "CProfileText.h"

#include <cstring>

namespace {

const char kSchedule[] = "Schedule";
const char kPower[] = "Power";
const int kMinutesPerDay = 24 * 60;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool WorkingHours::IsSet() const {
    for (bool bDay : bDays) {
        if (bDay) {
            return true;
        }
    }
    return false;
}

bool ParseTimeOfDay(const char* pszText, int* pnMinutes) {
    const char* p = pszText ? pszText : "";
    int nHour = 0, nDigits = 0;
    for (; IsDigit(*p) && nDigits < 2; ++p, ++nDigits) {
        nHour = nHour * 10 + (*p - '0');
    }
    if (nDigits == 0 || *p != ':' || !IsDigit(p[1]) || !IsDigit(p[2]) || p[3] != '\0') {
        return false;
    }
    const int nMinute = (p[1] - '0') * 10 + (p[2] - '0');
    if (nHour > 23 || nMinute > 59) {
        return false;
    }
    *pnMinutes = nHour * 60 + nMinute;
    return true;
}

CString FormatTimeOfDay(int nMinutes) {
    const int n = ((nMinutes % kMinutesPerDay) + kMinutesPerDay) % kMinutesPerDay;
    CString text;
    text.Format("%02d:%02d", n / 60, n % 60);
    return text;
}

WorkingHours ParseWorkingHours(const char* pszDays, const char* pszStart, const char* pszEnd,
                               int nComputerOnly) {
    WorkingHours hours;
    hours.bComputerOnly = nComputerOnly == 1;
    int nStart = 0, nEnd = 0;
    const char* days = pszDays ? pszDays : "";
    if (std::strlen(days) != 7 || !ParseTimeOfDay(pszStart, &nStart) ||
        !ParseTimeOfDay(pszEnd, &nEnd)) {
        return hours;
    }
    WorkingHours parsed = hours;
    for (int i = 0; i < 7; ++i) {
        if (days[i] != '0' && days[i] != '1') {
            return hours;
        }
        parsed.bDays[i] = days[i] == '1';
    }
    parsed.nStart = nStart;
    parsed.nEnd = nEnd;
    return parsed;
}

KeepAwakeOptions ReadKeepAwakeOptions(CProfileFile& settings) {
    KeepAwakeOptions options;
    // Each GetString's text lives until the next call: kept first.
    const CString days = settings.GetString(kSchedule, "Days", "");
    const CString start = settings.GetString(kSchedule, "Start", "");
    const CString end = settings.GetString(kSchedule, "End", "");
    options.hours =
        ParseWorkingHours(days, start, end, settings.GetInt(kSchedule, "ComputerOnly", 0));
    const int nFloor = settings.GetInt(kPower, "BatteryFloor", 0);
    options.nBatteryFloor = nFloor >= 0 && nFloor <= 100 ? nFloor : 0;
    options.bEndOnLock = settings.GetInt(kPower, "EndOnLock", 0) == 1;
    options.wHotkey = HotkeyFromStored(settings.GetInt(kPower, "Hotkey", 0));
    options.bNotify = settings.GetInt(kPower, "Notify", 1) != 0;
    return options;
}

void WriteKeepAwakeOptions(CProfileText& text, const KeepAwakeOptions& options) {
    char days[8] = "";
    for (int i = 0; i < 7; ++i) {
        days[i] = options.hours.bDays[i] ? '1' : '0';
    }
    text.WriteString(kSchedule, "Days", days);
    text.WriteString(kSchedule, "Start", FormatTimeOfDay(options.hours.nStart));
    text.WriteString(kSchedule, "End", FormatTimeOfDay(options.hours.nEnd));
    text.WriteInt(kSchedule, "ComputerOnly", options.hours.bComputerOnly ? 1 : 0);
    text.WriteInt(kPower, "BatteryFloor", options.nBatteryFloor);
    text.WriteInt(kPower, "EndOnLock", options.bEndOnLock ? 1 : 0);
    text.WriteInt(kPower, "Hotkey", options.wHotkey);
    text.WriteInt(kPower, "Notify", options.bNotify ? 1 : 0);
}

WORD HotkeyFromStored(int nStored) {
    // HOTKEYF_SHIFT, HOTKEYF_CONTROL, HOTKEYF_ALT, HOTKEYF_EXT.
    const int kModifiers = 0x01 | 0x02 | 0x04 | 0x08;
    if (nStored <= 0 || nStored > 0xFFFF || (nStored & 0xFF) == 0 ||
        ((nStored >> 8) & ~kModifiers) != 0) {
        return 0;
    }
    return static_cast<WORD>(nStored);
}
