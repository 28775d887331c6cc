#pragma once

#include <string>
#include <vector>

// A program of this system to run for one "cmd /c ..." line.
struct HostCommand {
    std::string program;        // a name without directory, searched for
    bool currentDirectoryFirst; // the search begins in the current directory
    std::vector<std::string> arguments;
};
