#include "HyperLinkFont.h"

#include <cstring>

int PointsToFontHeight(int nPoints, int nPixelsPerInch) {
    return -MulDiv(nPoints, nPixelsPerInch, 72);
}

LOGFONTA BuildLinkFont(const char* pszFace, int nHeight, int nWeight, BYTE bItalic,
                       BYTE bUnderline) {
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nHeight;
    lf.lfWeight = nWeight;
    lf.lfItalic = bItalic;
    lf.lfUnderline = bUnderline;
    if (pszFace) {
        // Cut on a whole character: half a double-byte character would name
        // another face.
        size_t n = 0;
        while (pszFace[n]) {
            size_t step = IsDBCSLeadByte(static_cast<BYTE>(pszFace[n])) && pszFace[n + 1] ? 2 : 1;
            if (n + step > sizeof lf.lfFaceName - 1) {
                break;
            }
            n += step;
        }
        std::memcpy(lf.lfFaceName, pszFace, n);
    }
    return lf;
}
