#pragma once

#include <windows.h>

// Where a control of a dialog goes when a horizontal band (client rows
// nTop to nBottom) is taken out, as when a note that does not apply is
// hidden: controls below the band move up by its height, a control that
// spans it (a group box) shrinks by it, the others stay.
RECT RectWithoutBand(const RECT& rect, int nTop, int nBottom);
