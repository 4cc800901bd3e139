#pragma once

#include <windows.h>

class CProfileFile;
class CProfileText;

#include <initializer_list>

// Where the main window goes after its saved rectangle has been applied.
// `restored` is the rectangle as read from the settings, `created` the
// top-left corner the dialog had before (unchanged when nothing was saved),
// `bOnSomeMonitor` whether any monitor shows part of `restored`, and
// `workArea` the primary monitor's work area. A visible saved position is
// kept exactly; no saved position, or one that no monitor shows any more (a
// monitor since unplugged), gives the same size centred on the work area.
RECT PlaceRestoredWindow(const RECT& restored, POINT created, bool bOnSomeMonitor,
                         const RECT& workArea);

// The smallest client area of the main window: the row of buttons, which
// keeps its distance to the right edge, stands whole with the same margin on
// its left, and the list, which grows and shrinks with the window, keeps at
// least half the height it was designed with. `client` is the client area as
// the dialog template lays it out, `buttons` the rectangle around the row of
// buttons and `list` the list's, both in that client area.
SIZE MinimumClientSize(SIZE client, const RECT& buttons, const RECT& list);

// Where a window's size grip is drawn in its client area.
RECT SizeGripRect(const RECT& client);

// The same on the system's monitors: where a window created at `created`
// goes with the saved rectangle `restored`.
RECT PlaceSavedWindow(const RECT& restored, POINT created);
// The rectangle to save for a window: its own, or when it is minimised the
// one it will be restored to, in the screen coordinates PlaceSavedWindow takes.
RECT WindowRectToSave(HWND hWnd);
// The smallest outer size of a dialog as its template lays it out: the list
// keeps half its height and the buttons stand whole (MinimumClientSize).
SIZE MinimumTrackSize(HWND hDlg, int nListID, std::initializer_list<int> buttonIDs);

// The window's rectangle as the settings' [Dialog] keeps it, placed on the
// monitors as PlaceSavedWindow does; the window's own where nothing is saved.
RECT ReadSavedWindowRect(CProfileFile& settings, HWND hWnd);
void WriteWindowRect(CProfileText& text, const RECT& rect);

// A resizable window's paint: the size grip, or the icon while minimised.
void PaintSizeGrip(HWND hWnd, HICON hIcon);
// HTBOTTOMRIGHT over the size grip (a point on the screen), else HTNOWHERE.
LRESULT SizeGripHitTest(HWND hWnd, POINT point);
