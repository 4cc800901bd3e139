#pragma once

#include <windows.h>

// Where the main window goes after its saved rectangle has been applied.
// `restored` is the rectangle as read from the settings, `created` the
// top-left corner the dialog had before (unchanged when nothing was saved),
// `bOnSomeMonitor` whether any monitor shows part of `restored`, and
// `workArea` the primary monitor's work area. A visible saved position is
// kept exactly; no saved position, or one that no monitor shows any more (a
// monitor since unplugged), gives the same size centred on the work area.
RECT PlaceRestoredWindow(const RECT& restored, POINT created, bool bOnSomeMonitor,
                         const RECT& workArea);
