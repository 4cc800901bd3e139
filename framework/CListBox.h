#pragma once

#include "CString.h"
#include "CWnd.h"

// A list box of text lines.
class CListBox : public CWnd {
public:
    // Index of the new line, or LB_ERR / LB_ERRSPACE.
    int AddString(const char* lpszItem) {
        return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszItem)));
    }
    // LB_ERR when no line is selected.
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int GetTextLen(int nIndex) const {
        return static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(nIndex)));
    }
    // Empties rString for an index with no line.
    void GetText(int nIndex, CString& rString) const;
};
