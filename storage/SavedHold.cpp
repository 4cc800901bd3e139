#include "SavedHold.h"

#include "CProfileFile.h"
#include "CProfileText.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char kSection[] = "Hold";
const char* const kKindNames[] = {"", "UntilStopped", "Timed", "UntilTime"};
const int kMinutesPerDay = 24 * 60;
const int kMaxMinutes = 7 * kMinutesPerDay;

// "YYYY-MM-DDTHH:MM:SS" (then "Z" when bUtc) as an instant; false for any
// other text and for a date that does not exist.
bool ParseInstant(const char* pszText, bool bUtc, ULONGLONG& ullInstant) {
    const char kPattern[] = "0000-00-00T00:00:00";
    const size_t n = sizeof kPattern - 1;
    if (!pszText || std::strlen(pszText) != n + (bUtc ? 1 : 0) || (bUtc && pszText[n] != 'Z')) {
        return false;
    }
    int fields[6] = {};
    int nField = 0;
    for (size_t i = 0; i < n; ++i) {
        if (kPattern[i] != '0') {
            if (pszText[i] != kPattern[i]) {
                return false;
            }
            ++nField;
        } else if (pszText[i] < '0' || pszText[i] > '9') {
            return false;
        } else {
            fields[nField] = fields[nField] * 10 + (pszText[i] - '0');
        }
    }
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(fields[0]);
    time.wMonth = static_cast<WORD>(fields[1]);
    time.wDay = static_cast<WORD>(fields[2]);
    time.wHour = static_cast<WORD>(fields[3]);
    time.wMinute = static_cast<WORD>(fields[4]);
    time.wSecond = static_cast<WORD>(fields[5]);
    // The platform refuses a month, day or time that does not exist.
    FILETIME file = {};
    if (time.wYear < 1601 || !SystemTimeToFileTime(&time, &file)) {
        return false;
    }
    ullInstant = (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
    return true;
}

void FormatInstant(ULONGLONG ullInstant, bool bUtc, char (&szText)[32]) {
    FILETIME file = {static_cast<DWORD>(ullInstant), static_cast<DWORD>(ullInstant >> 32)};
    SYSTEMTIME time = {};
    FileTimeToSystemTime(&file, &time);
    std::snprintf(szText, sizeof szText, "%04u-%02u-%02uT%02u:%02u:%02u%s", time.wYear, time.wMonth,
                  time.wDay, time.wHour, time.wMinute, time.wSecond, bUtc ? "Z" : "");
}

} // namespace

SavedHold ParseSavedHold(const char* pszKind, int nMinutes, const char* pszEnd, int nUntilMinute,
                         int nComputerOnly) {
    SavedHold hold;
    int nKind = SavedHold::None;
    for (int k = SavedHold::UntilStopped; k <= SavedHold::UntilTime; ++k) {
        if (pszKind && lstrcmpiA(pszKind, kKindNames[k]) == 0) {
            nKind = k;
        }
    }
    hold.bComputerOnly = nComputerOnly == 1;
    switch (nKind) {
    case SavedHold::UntilStopped:
        hold.kind = SavedHold::UntilStopped;
        break;
    case SavedHold::Timed:
        if (nMinutes < 1 || nMinutes > kMaxMinutes || !ParseInstant(pszEnd, true, hold.ullEnd)) {
            return SavedHold();
        }
        hold.kind = SavedHold::Timed;
        hold.nMinutes = nMinutes;
        break;
    case SavedHold::UntilTime:
        if (nUntilMinute < 0 || nUntilMinute >= kMinutesPerDay ||
            !ParseInstant(pszEnd, false, hold.ullEnd)) {
            return SavedHold();
        }
        hold.kind = SavedHold::UntilTime;
        hold.nUntilMinute = nUntilMinute;
        break;
    default:
        return SavedHold();
    }
    return hold;
}

SavedHold ReadSavedHold(CProfileFile& settings) {
    // Each GetString's text lives until the next call: kept first.
    const std::string kind = settings.GetString(kSection, "Kind", "");
    const std::string end = settings.GetString(kSection, "End", "");
    return ParseSavedHold(kind.c_str(), settings.GetInt(kSection, "Minutes", 0), end.c_str(),
                          settings.GetInt(kSection, "UntilMinute", -1),
                          settings.GetInt(kSection, "ComputerOnly", 0));
}

void WriteSavedHold(CProfileText& text, const SavedHold& hold) {
    // Keys of another kind of hold must not stay behind.
    text.RemoveSection(kSection);
    if (hold.kind == SavedHold::None) {
        return;
    }
    text.WriteString(kSection, "Kind", kKindNames[hold.kind]);
    char szEnd[32];
    if (hold.kind == SavedHold::Timed) {
        text.WriteInt(kSection, "Minutes", hold.nMinutes);
        FormatInstant(hold.ullEnd, true, szEnd);
        text.WriteString(kSection, "End", szEnd);
    } else if (hold.kind == SavedHold::UntilTime) {
        text.WriteInt(kSection, "UntilMinute", hold.nUntilMinute);
        FormatInstant(hold.ullEnd, false, szEnd);
        text.WriteString(kSection, "End", szEnd);
    }
    text.WriteInt(kSection, "ComputerOnly", hold.bComputerOnly ? 1 : 0);
}
