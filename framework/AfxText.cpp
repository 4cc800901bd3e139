#include "AfxText.h"

#include <string>

void AfxFormatStrings(CString& rString, const char* lpszFormat, const char* const* rglpsz,
                      int nString) {
    std::string out;
    // A byte scan is safe in the double-byte code pages: their trail bytes
    // start at 0x40, so neither '%' nor a digit can be the second half of a
    // character.
    for (const char* p = lpszFormat; *p; ++p) {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '9' && p[1] - '1' < nString) {
            const char* arg = rglpsz[p[1] - '1'];
            out += arg ? arg : "";
            ++p;
        } else {
            out += *p;
        }
    }
    rString = out.c_str();
}

void AfxFormatString1(CString& rString, UINT nIDS, const char* lpsz1) {
    CString format;
    format.LoadString(nIDS);
    AfxFormatStrings(rString, format, &lpsz1, 1);
}

void AfxFormatString2(CString& rString, UINT nIDS, const char* lpsz1, const char* lpsz2) {
    CString format;
    format.LoadString(nIDS);
    const char* args[] = {lpsz1, lpsz2};
    AfxFormatStrings(rString, format, args, 2);
}

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

bool AfxParseUnsigned(const char* psz, UINT& rValue) {
    const char* p = psz;
    while (IsBlank(*p)) {
        ++p;
    }
    unsigned long long value = 0;
    const char* digits = p;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + static_cast<unsigned>(*p - '0');
        if (value > 0xFFFFFFFFull) {
            return false;
        }
    }
    if (p == digits) {
        return false;
    }
    while (IsBlank(*p)) {
        ++p;
    }
    if (*p) {
        return false;
    }
    rValue = static_cast<UINT>(value);
    return true;
}
