#include "ModernStandby.h"

#include <windows.h>

namespace {

using CallNtPowerInformationFn = LONG(WINAPI*)(int, void*, ULONG, void*, ULONG);

// POWER_INFORMATION_LEVEL SystemPowerCapabilities.
const int kSystemPowerCapabilities = 4;
// AoAc follows ProcessorMaxThrottle, FastSystemS4, Hiberboot and
// WakeAlarmPresent in SYSTEM_POWER_CAPABILITIES; older headers, mingw-w64's
// among them, still call those bytes spare, so the member is read by its place.
const size_t kAoAcOffset = 20;

} // namespace

bool HasModernStandby() {
    // Bound by name: the program imports no power-management library, and
    // powrprof.dll is loaded only for this one question.
    HMODULE hPowrProf = LoadLibraryA("powrprof.dll");
    if (!hPowrProf) {
        return false;
    }
    const auto pCall = reinterpret_cast<CallNtPowerInformationFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(hPowrProf, "CallNtPowerInformation")));
    SYSTEM_POWER_CAPABILITIES capabilities = {};
    const bool bAnswered = pCall && pCall(kSystemPowerCapabilities, nullptr, 0, &capabilities,
                                          sizeof capabilities) == 0;
    FreeLibrary(hPowrProf);
    static_assert(kAoAcOffset < sizeof(SYSTEM_POWER_CAPABILITIES), "AoAc lies in the structure");
    return bAnswered && reinterpret_cast<const BYTE*>(&capabilities)[kAoAcOffset] != 0;
}
