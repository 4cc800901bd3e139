// Entry point of the program. The guard comes first and goes last, so the
// mutex is held for the application object's whole life.
#include <windows.h>

#include "CSingleInstance.h"
#include "CWatchApp.h"

namespace {

CSingleInstance g_singleInstance("{5C1E2B90-3D47-4F0A-9B6E-7A2D4C8E1F03}");

} // namespace

CWatchApp theApp(g_singleInstance);

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int) {
    return AfxWinMain(lpCmdLine);
}
