#pragma once

#include <string>
#include <vector>

#include "platform/command_launcher.h"

// Keeps every command line it is asked to start, in order, and starts nothing.
class RecordingLauncher final : public CommandLauncher {
public:
    void StartCommandLine(const std::string& commandLine) override { commandLines.push_back(commandLine); }

    std::vector<std::string> commandLines;
};
