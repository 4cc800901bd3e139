#pragma once

#include "InstanceState.h"
#include "KeepAwake.h"

#include <windows.h>

// What one start of the program does, decided from the single-instance guard,
// the running instance's window and the command line.
enum class StartAction {
    RunMainWindow,       // the first instance: run until the user exits
    UninstallOnly,       // no instance of this copy to close: ask about the files, then end
    EndSilently,         // another instance is still starting (or uninstalling)
    HandOver,            // bring the running instance's window to the front
    CloseAndUninstall,   // close the running instance, then ask about the files
    HandOverKeepAwake,   // tell the running instance to start or stop keeping awake
    RefuseKeepAwake,     // the keep-awake minutes are no number: say so, change nothing
    RefuseNoSuchProcess, // no process of the id the hold is to wait for runs: say so
    KeepAwakeLost,       // the running instance published no window in time: say so
    RunsAsAdministrator, // the running instance is out of this user's reach: say so
    OtherCopyNotReached, // a copy from another folder runs but shows no window: name it
};

struct StartFacts {
    InstanceState instance = InstanceState::First;
    // The running instance's main window was found.
    bool bMainWnd = false;
    // The instance that runs is a copy of the program from another folder
    // (its window, when found, is that copy's).
    bool bOtherCopy = false;
    bool bUninstall = false;
    KeepAwakeRequest::Kind keepAwake = KeepAwakeRequest::None;
    // The hold is to last while a process runs that does not run.
    bool bNoSuchProcess = false;
};

StartAction DecideStart(const StartFacts& facts);

// Whether a start that finds another instance running but no window of it
// waits a moment for one: that instance may still be starting, and a request
// for it would otherwise be lost. An uninstall does not wait (it would close
// an instance that is just starting), nor does a request that is refused anyway.
bool WaitsForMainWnd(const StartFacts& facts);

// "/UNINSTALL" anywhere in the arguments, in any letter case.
bool IsUninstallCommandLine(const char* pszCmdLine);
