#include "KeepAwake.h"

#include "KeepAwakeOptions.h"

#include <cctype>
#include <cstring>

namespace {

const ULONGLONG kMinuteMs = 60 * 1000;
const char kSwitch[] = "/KEEPAWAKE";

// The switch's place in the command line, or null. Letters are compared one
// byte at a time; the switch is ASCII, and a double-byte character's second
// byte is never the first letter of a match that started in the character.
const char* FindSwitch(const char* pszCmdLine) {
    const size_t n = sizeof kSwitch - 1;
    for (const char* p = pszCmdLine; *p; p = CharNextA(p)) {
        size_t i = 0;
        while (i < n && p[i] && std::toupper(static_cast<unsigned char>(p[i])) == kSwitch[i])
            ++i;
        if (i == n)
            return p;
    }
    return nullptr;
}

bool IsSeparator(char c) {
    return c == '\0' || c == ' ' || c == '\t';
}

// The token is this (ASCII, upper-case) word in any letter case.
bool IsWord(const char* token, size_t length, const char* word) {
    if (length != std::strlen(word)) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        if (std::toupper(static_cast<unsigned char>(token[i])) != word[i]) {
            return false;
        }
    }
    return true;
}

// Decimal digits only, at most nMax.
bool ParseNumber(const char* digits, size_t length, unsigned long long nMax,
                 unsigned long long& number) {
    number = 0;
    for (size_t i = 0; i < length; ++i) {
        if (digits[i] < '0' || digits[i] > '9') {
            return false;
        }
        number = number * 10 + static_cast<unsigned>(digits[i] - '0');
        if (number > nMax) {
            return false;
        }
    }
    return length > 0;
}

// "HH:MM" as UNTIL= gives it, at most five characters.
bool ParseUntil(const char* text, size_t length, int& nMinute) {
    char time[6] = "";
    if (length >= sizeof time) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        time[i] = text[i];
    }
    time[length] = '\0';
    return ParseTimeOfDay(time, &nMinute);
}

// What a hand-over's lParam says of the request.
const LPARAM kComputerOnlyFlag = 1;
const LPARAM kProcessFlag = 2;
const LPARAM kUntilFlag = 4;
const int kMinutesPerDay = 24 * 60;
const ULONGLONG kMinuteInstants = 60ull * 10000000ull;
const ULONGLONG kSecondInstants = 10000000ull;
const ULONGLONG kMsInstants = 10000ull;

} // namespace

KeepAwakeHold StartKeepAwake(int nMinutes, ULONGLONG ullNow, bool bComputerOnly) {
    KeepAwakeHold hold;
    if (nMinutes == kKeepAwakeUntilStopped) {
        hold.bOn = true;
    } else if (nMinutes > 0) {
        hold.bOn = true;
        hold.bTimed = true;
        // Minutes come from any process that posts to the main window: no
        // hold outlasts what the command line allows.
        const int nCapped = nMinutes < kKeepAwakeMaxMinutes ? nMinutes : kKeepAwakeMaxMinutes;
        hold.ullDeadline = ullNow + static_cast<ULONGLONG>(nCapped) * kMinuteMs;
    }
    hold.bComputerOnly = hold.bOn && bComputerOnly;
    return hold;
}

KeepAwakeHold StartKeepAwakeWhile(DWORD dwProcessId, bool bComputerOnly) {
    KeepAwakeHold hold;
    hold.bOn = dwProcessId != 0;
    hold.bComputerOnly = hold.bOn && bComputerOnly;
    hold.dwProcessId = dwProcessId;
    return hold;
}

ULONGLONG LocalInstant(const SYSTEMTIME& local) {
    FILETIME time = {};
    if (!SystemTimeToFileTime(&local, &time)) {
        return 0;
    }
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

KeepAwakeHold StartKeepAwakeUntil(int nMinute, const SYSTEMTIME& localNow, bool bComputerOnly) {
    KeepAwakeHold hold;
    if (nMinute < 0 || nMinute >= kMinutesPerDay) {
        return hold;
    }
    SYSTEMTIME midnight = localNow;
    midnight.wHour = midnight.wMinute = midnight.wSecond = midnight.wMilliseconds = 0;
    ULONGLONG ullEnd = LocalInstant(midnight) + static_cast<ULONGLONG>(nMinute) * kMinuteInstants;
    if (ullEnd <= LocalInstant(localNow)) {
        ullEnd += kMinutesPerDay * kMinuteInstants;
    }
    hold.bOn = true;
    hold.bUntil = true;
    hold.ullUntilLocal = ullEnd;
    hold.nUntilMinute = nMinute;
    hold.bComputerOnly = bComputerOnly;
    return hold;
}

KeepAwakeHold AgeKeepAwake(const KeepAwakeHold& hold, ULONGLONG ullNow,
                           const SYSTEMTIME& localNow) {
    if (hold.bOn && hold.bTimed && ullNow >= hold.ullDeadline) {
        return KeepAwakeHold();
    }
    if (hold.bOn && hold.bUntil && LocalInstant(localNow) >= hold.ullUntilLocal) {
        return KeepAwakeHold();
    }
    return hold;
}

KeepAwakeHold CapKeepAwake(const KeepAwakeHold& hold, int nMaxMinutes, ULONGLONG ullNow,
                           const SYSTEMTIME& localNow, int* pnMinutes) {
    if (!hold.bOn || nMaxMinutes <= 0) {
        return hold;
    }
    const ULONGLONG ullLatest = ullNow + static_cast<ULONGLONG>(nMaxMinutes) * kMinuteMs;
    if (hold.bTimed) {
        if (hold.ullDeadline <= ullLatest) {
            return hold;
        }
        KeepAwakeHold capped = hold;
        capped.ullDeadline = ullLatest;
        if (*pnMinutes > nMaxMinutes) {
            *pnMinutes = nMaxMinutes;
        }
        return capped;
    }
    if (hold.bUntil) {
        const ULONGLONG ullLocalNow = LocalInstant(localNow);
        const ULONGLONG ullLeft =
            hold.ullUntilLocal > ullLocalNow ? hold.ullUntilLocal - ullLocalNow : 0;
        if (ullLeft <= static_cast<ULONGLONG>(nMaxMinutes) * kMinuteInstants) {
            return hold;
        }
    }
    KeepAwakeHold capped = StartKeepAwake(nMaxMinutes, ullNow, hold.bComputerOnly);
    if (hold.dwProcessId != 0) {
        // Still the process's hold, as the tip and the menus name it.
        capped.dwProcessId = hold.dwProcessId;
    } else {
        *pnMinutes = nMaxMinutes;
    }
    return capped;
}

int KeepAwakeMinutesLeft(const KeepAwakeHold& hold, ULONGLONG ullNow) {
    if (!hold.bOn || !hold.bTimed || ullNow >= hold.ullDeadline) {
        return 0;
    }
    return static_cast<int>((hold.ullDeadline - ullNow + kMinuteMs - 1) / kMinuteMs);
}

SavedHold SaveKeepAwake(const KeepAwakeHold& hold, int nMinutes, ULONGLONG ullNow,
                        ULONGLONG ullUtcNow) {
    SavedHold saved;
    if (!hold.bOn || hold.dwProcessId != 0) {
        return saved;
    }
    saved.bComputerOnly = hold.bComputerOnly;
    if (hold.bUntil) {
        saved.kind = SavedHold::UntilTime;
        saved.ullEnd = hold.ullUntilLocal;
        saved.nUntilMinute = hold.nUntilMinute;
    } else if (hold.bTimed) {
        saved.kind = SavedHold::Timed;
        saved.nMinutes = nMinutes;
        const ULONGLONG ullLeftMs = hold.ullDeadline > ullNow ? hold.ullDeadline - ullNow : 0;
        const ULONGLONG ullEnd = ullUtcNow + ullLeftMs * kMsInstants;
        saved.ullEnd = (ullEnd + kSecondInstants / 2) / kSecondInstants * kSecondInstants;
    } else {
        saved.kind = SavedHold::UntilStopped;
    }
    return saved;
}

KeepAwakeHold ResumeKeepAwake(const SavedHold& saved, ULONGLONG ullNow, ULONGLONG ullUtcNow,
                              const SYSTEMTIME& localNow, int* pnMinutes) {
    *pnMinutes = 0;
    KeepAwakeHold hold;
    switch (saved.kind) {
    case SavedHold::UntilStopped:
        hold = StartKeepAwake(kKeepAwakeUntilStopped, ullNow, saved.bComputerOnly);
        *pnMinutes = kKeepAwakeUntilStopped;
        break;
    case SavedHold::Timed: {
        if (saved.nMinutes < 1 || saved.nMinutes > kKeepAwakeMaxMinutes ||
            saved.ullEnd <= ullUtcNow) {
            return hold;
        }
        const ULONGLONG ullLeftMs = (saved.ullEnd - ullUtcNow + kMsInstants - 1) / kMsInstants;
        const ULONGLONG ullAskedMs = static_cast<ULONGLONG>(saved.nMinutes) * kMinuteMs;
        hold = StartKeepAwake(saved.nMinutes, ullNow, saved.bComputerOnly);
        hold.ullDeadline = ullNow + (ullLeftMs < ullAskedMs ? ullLeftMs : ullAskedMs);
        *pnMinutes = saved.nMinutes;
        break;
    }
    case SavedHold::UntilTime: {
        const ULONGLONG ullLocalNow = LocalInstant(localNow);
        if (saved.nUntilMinute < 0 || saved.nUntilMinute >= kMinutesPerDay ||
            saved.ullEnd % kMinuteInstants != 0 ||
            saved.ullEnd / kMinuteInstants % kMinutesPerDay !=
                static_cast<ULONGLONG>(saved.nUntilMinute) ||
            saved.ullEnd <= ullLocalNow ||
            saved.ullEnd - ullLocalNow > kMinutesPerDay * kMinuteInstants) {
            return hold;
        }
        hold.bOn = true;
        hold.bUntil = true;
        hold.ullUntilLocal = saved.ullEnd;
        hold.nUntilMinute = saved.nUntilMinute;
        hold.bComputerOnly = saved.bComputerOnly;
        *pnMinutes = kKeepAwakeUntilTime;
        break;
    }
    case SavedHold::None:
        break;
    }
    return hold;
}

TipDetail DecideTipDetail(const KeepAwakeHold& hold, bool bItemInEffect) {
    if (hold.bOn) {
        if (hold.dwProcessId != 0) {
            return TipDetail::WhileProcess;
        }
        if (hold.bUntil) {
            return TipDetail::UntilTime;
        }
        return hold.bTimed ? TipDetail::MinutesLeft : TipDetail::UntilStopped;
    }
    return bItemInEffect ? TipDetail::WatchedAlias : TipDetail::None;
}

KeepAwakeRequest ParseKeepAwakeCommandLine(const char* pszCmdLine) {
    KeepAwakeRequest request;
    const char* p = pszCmdLine ? FindSwitch(pszCmdLine) : nullptr;
    if (!p) {
        return request;
    }
    p += sizeof kSwitch - 1;
    request.kind = KeepAwakeRequest::Start;
    request.nMinutes = kKeepAwakeUntilStopped;
    bool bTimeGiven = false;
    while (*p == ':') {
        const char* token = ++p;
        if (IsWord(token, 6, "UNTIL=")) {
            // The time holds a colon of its own.
            for (p = token + 6; *p >= '0' && *p <= '9'; ++p) {
            }
            if (*p == ':') {
                for (++p; *p >= '0' && *p <= '9'; ++p) {
                }
            }
        } else {
            while (*p != ':' && !IsSeparator(*p)) {
                p = CharNextA(p);
            }
        }
        const size_t length = static_cast<size_t>(p - token);
        unsigned long long number = 0;
        if (IsWord(token, length, "SYSTEM") && !request.bComputerOnly) {
            request.bComputerOnly = true;
        } else if (length > 6 && IsWord(token, 6, "UNTIL=") && !bTimeGiven &&
                   ParseUntil(token + 6, length - 6, request.nUntilMinute)) {
            bTimeGiven = true;
        } else if (length > 4 && IsWord(token, 4, "PID=") && !bTimeGiven &&
                   ParseNumber(token + 4, length - 4, 0xFFFFFFFFull, number) && number != 0) {
            request.dwProcessId = static_cast<DWORD>(number);
            bTimeGiven = true;
        } else if (!bTimeGiven && ParseNumber(token, length, kKeepAwakeMaxMinutes, number)) {
            request.nMinutes = static_cast<int>(number);
            if (number == 0) {
                request.kind = KeepAwakeRequest::Stop;
            }
            bTimeGiven = true;
        } else {
            return KeepAwakeRequest{KeepAwakeRequest::Invalid};
        }
    }
    if (!IsSeparator(*p)) {
        return KeepAwakeRequest{KeepAwakeRequest::Invalid};
    }
    return request;
}

void EncodeKeepAwake(const KeepAwakeRequest& request, WPARAM& wParam, LPARAM& lParam) {
    const bool bUntil = request.kind == KeepAwakeRequest::Start && request.nUntilMinute >= 0;
    lParam = (request.bComputerOnly ? kComputerOnlyFlag : 0) |
             (request.dwProcessId != 0 ? kProcessFlag : 0) | (bUntil ? kUntilFlag : 0);
    if (request.dwProcessId != 0) {
        wParam = request.dwProcessId;
    } else if (bUntil) {
        wParam = static_cast<WPARAM>(request.nUntilMinute);
    } else {
        const int nMinutes = request.kind == KeepAwakeRequest::Start ? request.nMinutes : 0;
        wParam = static_cast<WPARAM>(static_cast<INT_PTR>(nMinutes));
    }
}

KeepAwakeRequest DecodeKeepAwake(WPARAM wParam, LPARAM lParam) {
    KeepAwakeRequest request;
    if ((lParam & ~(kComputerOnlyFlag | kProcessFlag | kUntilFlag)) != 0 ||
        (lParam & (kProcessFlag | kUntilFlag)) == (kProcessFlag | kUntilFlag)) {
        return request;
    }
    request.bComputerOnly = (lParam & kComputerOnlyFlag) != 0;
    if (lParam & kUntilFlag) {
        if (wParam >= static_cast<WPARAM>(kMinutesPerDay)) {
            return KeepAwakeRequest();
        }
        request.kind = KeepAwakeRequest::Start;
        request.nUntilMinute = static_cast<int>(wParam);
        return request;
    }
    if (lParam & kProcessFlag) {
        if (wParam == 0 || static_cast<WPARAM>(static_cast<DWORD>(wParam)) != wParam) {
            return KeepAwakeRequest();
        }
        request.kind = KeepAwakeRequest::Start;
        request.dwProcessId = static_cast<DWORD>(wParam);
        return request;
    }
    const INT_PTR nMinutes = static_cast<INT_PTR>(wParam);
    if (nMinutes == 0) {
        request.kind = KeepAwakeRequest::Stop;
    } else if (nMinutes == kKeepAwakeUntilStopped || nMinutes > 0) {
        request.kind = KeepAwakeRequest::Start;
        request.nMinutes =
            nMinutes > kKeepAwakeMaxMinutes ? kKeepAwakeMaxMinutes : static_cast<int>(nMinutes);
    } else {
        return KeepAwakeRequest();
    }
    return request;
}

KeepAwakeRequest ToggleKeepAwake(bool bHoldOn, const KeepAwakeRequest& lastChoice,
                                 bool bComputerOnly) {
    KeepAwakeRequest request;
    if (bHoldOn) {
        request.kind = KeepAwakeRequest::Stop;
        return request;
    }
    // A process that was held for has gone by now: until stopped instead.
    if (lastChoice.kind == KeepAwakeRequest::Start && lastChoice.dwProcessId == 0) {
        request = lastChoice;
    } else {
        request.kind = KeepAwakeRequest::Start;
        request.nMinutes = kKeepAwakeUntilStopped;
    }
    request.bComputerOnly = bComputerOnly;
    return request;
}
