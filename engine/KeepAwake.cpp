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

} // namespace

KeepAwakeHold StartKeepAwake(int nMinutes, ULONGLONG ullNow) {
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
    if (IsSeparator(*p)) {
        request.kind = KeepAwakeRequest::Start;
        request.nMinutes = kKeepAwakeUntilStopped;
        return request;
    }
    request.kind = KeepAwakeRequest::Invalid;
    if (*p != ':') {
        return request;
    }
    ++p;
    long long minutes = 0;
    const char* digits = p;
    while (*p >= '0' && *p <= '9') {
        minutes = minutes * 10 + (*p - '0');
        if (minutes > kKeepAwakeMaxMinutes) {
            return request;
        }
        ++p;
    }
    if (p == digits || !IsSeparator(*p)) {
        return request;
    }
    request.kind = minutes == 0 ? KeepAwakeRequest::Stop : KeepAwakeRequest::Start;
    request.nMinutes = static_cast<int>(minutes);
    return request;
}
