#pragma once

#include <windows.h>

#include <string>

// Copies of the program from other folders (a portable copy while the
// installed one runs, or the other way round) running in this session. They
// share neither the executable's section nor its published window, only the
// session's mutex: a later start finds them by what their processes run.

// The main window of such a copy, the one dialog of the program with a menu
// bar, and the copy's folder; null (folder untouched) when none shows one.
HWND FindOtherCopyWindow(std::wstring* pFolder);
// The folder of such a copy, whether or not it shows a window; empty when
// none runs.
std::wstring FindOtherCopyFolder();
