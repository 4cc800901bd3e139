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
    RefuseByPolicy,      // the administrator's policy forbids the hold asked for: say so
    KeepAwakeLost,       // the running instance published no window in time: say so
    RunsAsAdministrator, // the running instance is out of this user's reach: say so
    OtherCopyNotReached, // a copy from another folder runs but shows no window: name it
    AskStatus,           // ask the running instance what it keeps awake, and say it
    StatusNoInstance,    // asked what is kept awake with no instance running: say so
    StatusLost,          // the running instance published no window in time: say so
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
    // The administrator's policy forbids the hold asked for.
    bool bForbiddenByPolicy = false;
    // "/STATUS": only ask, whatever else the command line asks for.
    bool bStatus = false;
};

StartAction DecideStart(const StartFacts& facts);

// Whether the start goes on holding the single-instance mutex while it does
// what it decided: the instance itself, and an uninstall until it is done.
// Any other start gives it up first, so that a start of the program while
// its message is open is not taken for a second one and ended.
bool KeepsInstanceGuard(StartAction action);

// Whether a start that finds another instance running but no window of it
// waits a moment for one: that instance may still be starting, and a request
// for it would otherwise be lost. An uninstall does not wait (it would close
// an instance that is just starting), nor does a request that is refused anyway.
bool WaitsForMainWnd(const StartFacts& facts);

// "/UNINSTALL" anywhere in the arguments, in any letter case.
bool IsUninstallCommandLine(const char* pszCmdLine);
// "/STATUS" as an argument of its own, in any letter case.
bool IsStatusCommandLine(const char* pszCmdLine);

// What the running instance answers a request handed to it. The numbers are
// what its window returns; 0 is what a window returns that knows no such
// request (an older copy from another folder).
enum class InstanceAnswer : LRESULT {
    NotAsked = -1,        // the start asked nothing
    Lost = 0,             // no answer in time, or none that counts
    HoldTaken = 1,        // the hold was started or stopped as asked
    HoldRefused = 2,      // the hold's process had gone when the instance looked
    KeptAwake = 3,        // a status: something is kept awake
    NothingKeptAwake = 4, // a status: nothing is
};
// The answer a window's result stands for, for the request that action hands
// over; Lost when it was not sent or is no answer to that request.
InstanceAnswer ReadAnswer(StartAction action, bool bSent, DWORD_PTR result);

// The process's exit code for scripts: 0 done (for a status: something is
// kept awake), 1 refused (nothing is kept awake), 2 no instance reached.
enum StartExitCode { kExitDone = 0, kExitRefused = 1, kExitNotReached = 2 };
StartExitCode ExitCodeOf(StartAction action, InstanceAnswer answer);
