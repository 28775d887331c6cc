#pragma once

#include <optional>
#include <string>

#include "platform/host_command.h"

// What "cmd /c REST" comes to here, words split at blanks (runs of blanks are
// one separator):
//   "ddns.exe ARGS..."  -> ddns.exe ARGS..., current directory first, then PATH
//   "net start NAME"    -> systemctl start NAME, on PATH
//   "net stop NAME"     -> systemctl stop NAME, on PATH
// Any other line means nothing to run (std::nullopt).
std::optional<HostCommand> TranslateCommandLine(const std::string& commandLine);
