#pragma once

#include <windows.h>

// What the cycle probe inside the program and the wake benchmark agree on.
namespace CycleProbe {
constexpr WPARAM kWakeCommand = 3728;
// Properties of the main window: watch cycles run, wake commands taken from
// the queue (handled or removed unhandled), the last marker retrieved.
constexpr const char* kCycles = "Qorvane.CycleProbe.Cycles";
constexpr const char* kWakes = "Qorvane.CycleProbe.Wakes";
// Titles and icons set on the main window.
constexpr const char* kShownChanges = "Qorvane.CycleProbe.ShownChanges";
constexpr const char* kMarker = "Qorvane.CycleProbe.Marker";
// Posted by the benchmark behind a burst, wParam = burst number.
constexpr const char* kMarkerMessage = "Qorvane.CycleProbe.Marker";
} // namespace CycleProbe
