#pragma once

#include "KeepAwake.h"

// What one start of the program does, decided from the single-instance guard,
// the published main window and the command line.
enum class StartAction {
    RunMainWindow,     // the first instance: run until the user exits
    UninstallOnly,     // no other instance: ask about the files, then end
    EndSilently,       // another instance is still starting (or uninstalling)
    HandOver,          // bring the running instance's window to the front
    CloseAndUninstall, // close the running instance, then ask about the files
    HandOverKeepAwake, // tell the running instance to start or stop keeping awake
    RefuseKeepAwake,   // the keep-awake minutes are no number: say so, change nothing
    KeepAwakeLost,     // the running instance published no window in time: say so
};

StartAction DecideStart(bool bAlreadyRunning, bool bMainWndPublished, bool bUninstall,
                        KeepAwakeRequest::Kind keepAwake = KeepAwakeRequest::None);

// Whether a start that finds another instance running but no window of it
// waits a moment for one: that instance may still be starting, and a request
// for it would otherwise be lost. An uninstall does not wait (it would close
// an instance that is just starting), nor does a request that is refused anyway.
bool WaitsForMainWnd(bool bUninstall, KeepAwakeRequest::Kind keepAwake);

// "/UNINSTALL" anywhere in the arguments, in any letter case.
bool IsUninstallCommandLine(const char* pszCmdLine);
