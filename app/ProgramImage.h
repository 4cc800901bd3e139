#pragma once

#include <windows.h>

#include <string>

// Whether the process runs the same executable file as this process: the
// same file by volume and file index, or, where either file cannot be opened
// to tell, the same full path in any letter case. False when the process
// cannot be queried. Paths go through the wide calls, so folders that the
// code page cannot spell compare as they are.
bool IsRunningThisProgram(DWORD dwProcessId);

// The full path of the process's executable as the system spells it; empty
// when the process cannot be queried.
std::wstring ProcessImagePath(DWORD dwProcessId);

// Whether the file is a copy of this program, of any version and from any
// folder: named Murvel.exe and carrying the program's version resource (its
// product and internal names). Anyone can name a program Murvel.exe; the
// resource is what a later start trusts before it hands a request over.
bool IsProgramCopy(const std::wstring& path);
