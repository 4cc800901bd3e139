#include "UntilTime.h"

#include <windows.h>

namespace {

const int kMinutesPerDay = 24 * 60;

} // namespace

int CurrentMinuteOfDay() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return now.wHour * 60 + now.wMinute;
}

bool IsLaterToday(int nNowMinute, int nChosenMinute) {
    return nChosenMinute > nNowMinute;
}

int NextFullHour(int nNowMinute) {
    return (nNowMinute / 60 + 1) * 60 % kMinutesPerDay;
}
