#pragma once

#include <string>

// Where the watch list and the settings live. Beside the program whenever
// its folder can be written (a portable copy, and every installation that
// has always kept its files there); otherwise, as for a copy unpacked into
// "Program Files" and run by an ordinary user, in the user's own application
// data folder, where the saves can succeed. Both are UTF-16 paths as the
// system spells them: a folder or user name that the ANSI code page cannot
// hold must not lose the user's files.
enum class DataFolderKind { BesideProgram, UserAppData };

// The decision alone: the program's folder wins whenever it can be written.
DataFolderKind DecideDataFolder(bool bProgramFolderWritable);

// The folder, ending in a backslash, for the running program: decided at the
// first call, for the whole run; for the user's folder it is created and the
// files found beside the program are carried over the first time, so the
// user keeps the list they had.
std::wstring GetDataFolder();
// The path of one of the program's files in that folder.
std::wstring GetDataFilePath(const wchar_t* pszFileName);
