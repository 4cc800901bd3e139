#include "CListBox.h"

#include <vector>

void CListBox::GetText(int nIndex, CString& rString) const {
    int length = GetTextLen(nIndex);
    if (length == LB_ERR) {
        rString = "";
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    int n = static_cast<int>(SendMessage(LB_GETTEXT, static_cast<WPARAM>(nIndex),
                                         reinterpret_cast<LPARAM>(buffer.data())));
    rString = CString(buffer.data(), static_cast<size_t>(n > 0 ? n : 0));
}
