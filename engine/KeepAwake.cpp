#include "KeepAwake.h"

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

// What a hand-over's lParam says of the request.
const LPARAM kComputerOnlyFlag = 1;
const LPARAM kProcessFlag = 2;

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

KeepAwakeHold AgeKeepAwake(const KeepAwakeHold& hold, ULONGLONG ullNow) {
    if (hold.bOn && hold.bTimed && ullNow >= hold.ullDeadline) {
        return KeepAwakeHold();
    }
    return hold;
}

int KeepAwakeMinutesLeft(const KeepAwakeHold& hold, ULONGLONG ullNow) {
    if (!hold.bOn || !hold.bTimed || ullNow >= hold.ullDeadline) {
        return 0;
    }
    return static_cast<int>((hold.ullDeadline - ullNow + kMinuteMs - 1) / kMinuteMs);
}

TipDetail DecideTipDetail(const KeepAwakeHold& hold, bool bItemInEffect) {
    if (hold.bOn) {
        if (hold.dwProcessId != 0) {
            return TipDetail::WhileProcess;
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
        while (*p != ':' && !IsSeparator(*p)) {
            p = CharNextA(p);
        }
        const size_t length = static_cast<size_t>(p - token);
        unsigned long long number = 0;
        if (IsWord(token, length, "SYSTEM") && !request.bComputerOnly) {
            request.bComputerOnly = true;
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
    lParam = (request.bComputerOnly ? kComputerOnlyFlag : 0) |
             (request.dwProcessId != 0 ? kProcessFlag : 0);
    if (request.dwProcessId != 0) {
        wParam = request.dwProcessId;
    } else {
        const int nMinutes = request.kind == KeepAwakeRequest::Start ? request.nMinutes : 0;
        wParam = static_cast<WPARAM>(static_cast<INT_PTR>(nMinutes));
    }
}

KeepAwakeRequest DecodeKeepAwake(WPARAM wParam, LPARAM lParam) {
    KeepAwakeRequest request;
    if ((lParam & ~(kComputerOnlyFlag | kProcessFlag)) != 0) {
        return request;
    }
    request.bComputerOnly = (lParam & kComputerOnlyFlag) != 0;
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
