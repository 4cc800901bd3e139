// Opened by a hyperlink label in a test: tells the test it ran.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HANDLE hEvent = OpenEventA(EVENT_MODIFY_STATE, FALSE, "QorvaneLinkTargetRan");
    if (!hEvent) {
        return 1;
    }
    SetEvent(hEvent);
    CloseHandle(hEvent);
    return 0;
}
