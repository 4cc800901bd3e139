#pragma once

#include <string>

// Where the watch list and the settings live. Beside the program whenever
// its folder can be written (a portable copy, and every installation that
// has always kept its files there); otherwise, as for a copy unpacked into
// "Program Files" and run by an ordinary user, in the user's own application
// data folder, where the saves can succeed. A copy that setup installed for
// all users of the computer says so by a mark in its folder: there every user
// keeps their own files in their own folder, also one who could write the
// program's (an administrator), so that no list is shared between users.
// Both are UTF-16 paths as the system spells them: a folder or user name
// that the ANSI code page cannot hold must not lose the user's files.
enum class DataFolderKind { BesideProgram, UserAppData };

struct DataFolderChoice {
    DataFolderKind kind;
    // The files found beside the program become the user's the first time,
    // so that the user keeps the list they had; never where the files beside
    // the program would be someone else's.
    bool bCarryOverFiles;
};

// The decision alone: the mark wins, then the program's folder whenever it
// can be written (it is asked only without the mark).
DataFolderChoice DecideDataFolder(bool bInstalledForAllUsers, bool bProgramFolderWritable);

// Whether the running program lies in a folder with the mark
// (AllUsers.mark).
bool IsInstalledForAllUsers();

// The folder, ending in a backslash, for the running program: decided at the
// first call, for the whole run; the user's folder is created when missing.
std::wstring GetDataFolder();
// The path of one of the program's files in that folder.
std::wstring GetDataFilePath(const wchar_t* pszFileName);
