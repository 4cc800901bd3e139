#pragma once

#include <windows.h>

// How the hook tests talk to the HookTarget helper's window, which lives in a
// process of its own so that the hooks run in a process other than the test.
namespace HookTargetProtocol {

constexpr const char* kClassName = "QvHookTarget";

// Posted messages carry a marker in lParam; the helper records the last message
// whose lParam has the marker pattern, as its window procedure received it.
constexpr LPARAM kMarkerMask = 0x7FFF0000;
constexpr LPARAM kMarkerBase = 0x51A70000;

// Sent, wParam = marker: returns the message number the window received with
// that marker, or -1 when it has not arrived yet.
constexpr UINT kQueryMessage = WM_APP + 1;
// Sent, wParam = marker: returns the wParam that came with it.
constexpr UINT kQueryWParam = WM_APP + 2;
// A WM_SYSCOMMAND sent without the marker goes to the default window procedure.
// Sent: returns what the helper's own thread CBT hook last saw as the answer of
// the rest of the chain to a system command (1 refused, 0 allowed, -1 no such
// call since the last query).
constexpr UINT kQueryCbtAnswer = WM_APP + 3;

// A WM_SYSCOMMAND (or the WM_NULL the hooks make of it), a WM_COMMAND or a
// registered message posted without the marker is recorded as it came out of
// the hooks and is never acted on.
// Sent, wParam = one of the fields below: returns that field of the last such
// message, -1 for the message when none came since the last kForgetPosted.
constexpr UINT kQueryPosted = WM_APP + 4;
constexpr WPARAM kPostedMessage = 0;
constexpr WPARAM kPostedWParam = 1;
constexpr WPARAM kPostedLParam = 2;
constexpr WPARAM kForgetPosted = 3;

// Command line argument: load the hook library and install the hooks with the
// window given as a hexadecimal number as target, then just pump messages.
constexpr const char* kInstallArg = "/install";
// Command line argument: show the window with a frame and caption, so that its
// client area differs from its window rectangle, and bring it to the front.
constexpr const char* kVisibleArg = "/visible";

} // namespace HookTargetProtocol
