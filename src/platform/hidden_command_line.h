#pragma once

#include <string>

#include "platform/command_launcher.h"

// Carries out the client's "cmd /c ..." lines with the programs of this
// system (see TranslateCommandLine), each started detached and hidden. A line
// it does not know, or a program it cannot find, starts nothing.
class HiddenCommandLine : public CommandLauncher {
public:
    void StartCommandLine(const std::string& commandLine) override;
};
