#pragma once

// Font arithmetic of the hyperlink label, apart from any window.
#include <windows.h>

// Character height (negative: without internal leading) of a font of nPoints
// on a device of nPixelsPerInch, rounded to the nearest pixel.
int PointsToFontHeight(int nPoints, int nPixelsPerInch);

// A font description with the given attributes, every other field zero and
// the default character set. A face name longer than the field holds is cut.
LOGFONTA BuildLinkFont(const char* pszFace, int nHeight, int nWeight, BYTE bItalic,
                       BYTE bUnderline);
