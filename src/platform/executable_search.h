#pragma once

#include <string>

// Finds the program `name` (no "/" in it) the way a command interpreter does:
// in the current directory first when asked, then in each directory of PATH
// in turn (the system's default path when PATH is unset, nowhere when it is
// empty; an empty entry is the current directory). Only a regular file that
// we may execute counts. Returns the path to run ("./name" or "DIR/name"), or
// "" when none is found.
std::string FindExecutable(const std::string& name, bool currentDirectoryFirst);
