// A test-only library hooked into the program's GUI thread. Menus live in the
// memory of the process that owns them (Wine refuses menu calls from other
// processes), so their state is read here, inside the program, and handed
// back through window properties and global atoms, which every process sees.
// It also counts what the watch cycles change on the main window.
#include "MenuProbeProtocol.h"

#include <windows.h>

namespace {

void RecordPopup(HWND hwnd, HMENU hPopup) {
    char text[256] = "";
    GetMenuStringA(hPopup, 0, text, sizeof text, MF_BYPOSITION);
    ATOM atom = GlobalAddAtomA(text[0] ? text : "(empty)");
    SetPropA(hwnd, MenuProbe::kPopupFirstText,
             reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
    UINT item = GetMenuDefaultItem(hPopup, TRUE, 0);
    SetPropA(hwnd, MenuProbe::kPopupDefault,
             reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(item + 1)));
    // The test only needs to see the menu; close it again at once.
    EndMenu();
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    MenuProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPSTRUCT* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        static const UINT s_uQuery = RegisterWindowMessageA(MenuProbe::kQueryMessage);
        if (msg->message == s_uQuery) {
            UINT state =
                GetMenuState(GetMenu(msg->hwnd), static_cast<UINT>(msg->wParam), MF_BYCOMMAND);
            SetPropA(msg->hwnd, MenuProbe::kMenuState,
                     reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(state + 1)));
            char text[256] = "";
            if (msg->lParam && GetMenuStringA(GetMenu(msg->hwnd), static_cast<UINT>(msg->wParam),
                                              text, sizeof text, MF_BYCOMMAND))
                SetPropA(msg->hwnd, MenuProbe::kMenuText,
                         reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(GlobalAddAtomA(text))));
        } else if ((msg->message == WM_SETTEXT || msg->message == WM_SETICON) &&
                   !GetParent(msg->hwnd)) {
            UINT_PTR n = reinterpret_cast<UINT_PTR>(GetPropA(msg->hwnd, MenuProbe::kShownChanges));
            SetPropA(msg->hwnd, MenuProbe::kShownChanges, reinterpret_cast<HANDLE>(n + 1));
        } else if (msg->message == WM_INITMENUPOPUP && HIWORD(msg->lParam) == 0) {
            RecordPopup(msg->hwnd, reinterpret_cast<HMENU>(msg->wParam));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
