#include "ModalPopups.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct OwnedPopup {
    HWND hWnd;
    int nDepth; // 1 for a window hOwner owns itself, 2 for one owned by that...
};

struct SearchContext {
    HWND hOwner;
    std::vector<OwnedPopup> popups;
};

// How many owners up the chain hOwner stands; 0 when it is not there.
int OwnerDepth(HWND hWnd, HWND hOwner) {
    int depth = 0;
    // A chain is short; the bound only keeps a broken one from looping.
    for (HWND h = GetWindow(hWnd, GW_OWNER); h && depth < 64; h = GetWindow(h, GW_OWNER)) {
        ++depth;
        if (h == hOwner) {
            return depth;
        }
    }
    return 0;
}

// Dialogs and message boxes: the windows that run a modal loop. Menus and
// tips are owned popups too, but nothing to end or bring forward.
bool IsDialogWindow(HWND hWnd) {
    char name[16] = "";
    GetClassNameA(hWnd, name, sizeof name);
    return std::strcmp(name, "#32770") == 0;
}

BOOL CALLBACK CollectOwnedPopup(HWND hWnd, LPARAM lParam) {
    SearchContext* pContext = reinterpret_cast<SearchContext*>(lParam);
    if (IsWindowVisible(hWnd) && IsDialogWindow(hWnd)) {
        const int depth = OwnerDepth(hWnd, pContext->hOwner);
        if (depth > 0) {
            pContext->popups.push_back({hWnd, depth});
        }
    }
    return TRUE;
}

// The owned dialogs, innermost first.
std::vector<OwnedPopup> OwnedPopups(HWND hOwner) {
    SearchContext context = {hOwner, {}};
    if (hOwner) {
        EnumThreadWindows(GetWindowThreadProcessId(hOwner, nullptr), &CollectOwnedPopup,
                          reinterpret_cast<LPARAM>(&context));
    }
    std::stable_sort(context.popups.begin(), context.popups.end(),
                     [](const OwnedPopup& a, const OwnedPopup& b) { return a.nDepth > b.nDepth; });
    return context.popups;
}

} // namespace

HWND AfxGetModalPopup(HWND hOwner) {
    // Each modal loop disables the window under it: the one still enabled
    // is the one in charge.
    for (const OwnedPopup& popup : OwnedPopups(hOwner)) {
        if (IsWindowEnabled(popup.hWnd)) {
            return popup.hWnd;
        }
    }
    return nullptr;
}

bool AfxActivateModalPopup(HWND hOwner) {
    const HWND hPopup = AfxGetModalPopup(hOwner);
    if (!hPopup) {
        return false;
    }
    SetForegroundWindow(hPopup);
    return true;
}

void AfxCancelModalPopups(HWND hOwner) {
    for (const OwnedPopup& popup : OwnedPopups(hOwner)) {
        // A Cancel button gets its click, so that the dialog's own cancel
        // runs (a file dialog ends only this way); a box without one (Yes and
        // No, or a lone OK) ends with IDCANCEL, which no caller takes as a yes.
        const HWND hCancel = GetDlgItem(popup.hWnd, IDCANCEL);
        if (hCancel) {
            SendMessageA(popup.hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(hCancel));
        } else {
            EndDialog(popup.hWnd, IDCANCEL);
        }
    }
}
