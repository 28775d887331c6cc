#pragma once

#include <string>

// Starts one command line hidden and does not wait for it. Failures are
// silent by contract: callers never learn whether or how a command ran.
class CommandLauncher {
public:
    virtual ~CommandLauncher() = default;
    virtual void StartCommandLine(const std::string& commandLine) = 0;
};
