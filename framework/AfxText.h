#pragma once

#include "CString.h"

#include <windows.h>

// Replaces "%1" to "%9" in lpszFormat by the nString texts of rglpsz; a
// marker without a text stays as it is. The result replaces rString.
void AfxFormatStrings(CString& rString, const char* lpszFormat, const char* const* rglpsz,
                      int nString);
// String nIDS of the program's resources with "%1" (and "%2") replaced.
void AfxFormatString1(CString& rString, UINT nIDS, const char* lpsz1);
void AfxFormatString2(CString& rString, UINT nIDS, const char* lpsz1, const char* lpsz2);

// Reads an unsigned decimal number, blanks allowed around it; false for no
// digits, anything else in the text, or a value beyond 32 bits.
bool AfxParseUnsigned(const char* psz, UINT& rValue);
