#pragma once

#include "platform/command_launcher.h"

// Start the companion service's command lines, one right after the other,
// without waiting for any or looking at what became of them.
void InstallService(CommandLauncher& launcher);
void UninstallService(CommandLauncher& launcher);
