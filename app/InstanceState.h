#pragma once

#include <windows.h>

// What the single-instance mutex says of the session.
enum class InstanceState {
    First,   // no other instance: this one holds the mutex
    Running, // another instance holds it
    // One holds it that this user's programs may not even open: an instance
    // started as administrator, whose windows a standard user's programs
    // cannot reach either.
    Elevated,
};
// The answer to creating the mutex: whether a handle came back, and the
// last error then.
InstanceState InstanceStateOf(bool bHandle, DWORD dwLastError);
