#pragma once

#include <string>

// Full path of a program built beside the running test executable.
std::string SiblingProgram(const char* fileName);

// Reads a whole file as bytes; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);

// A path of the ANSI code page as the UTF-16 path the program's files take.
std::wstring Wide(const std::string& ansiPath);
