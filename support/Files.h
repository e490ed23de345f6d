// File and folder tests, and the program's own folder.
#pragma once

#include <string>

// True when `path` names an existing file (not a folder).
bool FileExists(const std::string& path);
// True when `path` names an existing folder.
bool DirectoryExists(const std::string& path);
// The folder of the program's own file, without a trailing backslash
// ("C:" for a program in the root of drive C).
std::string ProgramFolder();
