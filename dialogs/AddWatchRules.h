#pragma once

#include "CString.h"

#include <windows.h>

#include <string>
#include <vector>

// The path as the user typed it, without the blanks around it and without
// one pair of quotes around it (as a path copied from a command line or from
// "Copy as path" comes).
CString CleanTypedPath(const char* pszTyped);
std::wstring CleanTypedPath(const std::wstring& typed);

// Why a typed path cannot name a program.
enum class PathTextProblem {
    kNone,
    // No drive letter and backslash in front, no \\server\share.
    kNotFullPath,
    // A character Windows forbids in names: < > : " | ? or a control character.
    kForbiddenCharacter,
    // A name that is empty, or only dots and spaces.
    kEmptyName,
    // A ".." above the drive or the share.
    kAboveRoot,
    // Nothing after the root, or a separator at the end: a folder.
    kNoFileName,
};
// The typed path (without blanks or quotes around it) as the system reports
// the paths of programs: backslashes, runs of them made one (but for the two
// of \\server), "." and ".." resolved, the dots and spaces at the end of
// every name dropped, the drive letter in upper case, a leading \\?\ taken
// off. *pnRootLength gets the length of the root ("C:\" or
// "\\server\share\"). Works on the text alone; a '*' passes as any letter.
PathTextProblem NormalizePathText(const std::wstring& typed, std::wstring& path,
                                  size_t* pnRootLength = nullptr);
// The length of the part of a normalized path that names real folders: up to
// the separator before the first name with a '*', all of it when none has one.
size_t FixedPartLength(const std::wstring& path);

// The lines of the running-programs list: each program once, however many
// copies run, sorted by file name (then by folder) as the system compares
// names, and without the program that shows the list.
std::vector<CString> RunningProgramLines(const std::vector<CString>& paths, const char* pszOwnPath);

// The alias a watch item is shown by: the one typed, or, when that is empty
// or only blanks, the title of the program's file (its name without the
// extension), as a new item gets.
CString AliasOrTitle(const char* pszAlias, const char* pszFileName);
// The watched path that matches every version of the program, for programs
// that install into a folder named after their version and move with each
// update: in the innermost folder whose name holds a version (digits with
// dots between them, as in app-1.0.9015 or
// Package_10.22091.10041.0_x64__8wekyb3d8bbwe) each version becomes '*'.
// Empty when no folder name holds one. The root (drive, \\server\share) and
// the file name are never changed. The path is read as characters of
// nCodePage.
CString VersionFolderPattern(const char* pszPath, UINT nCodePage = CP_ACP);
