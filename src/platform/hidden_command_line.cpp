#include "platform/hidden_command_line.h"

#include <vector>

#include "platform/command_line_translation.h"
#include "platform/detached_process.h"
#include "platform/executable_search.h"

void HiddenCommandLine::StartCommandLine(const std::string& commandLine)
{
    const std::optional<HostCommand> command = TranslateCommandLine(commandLine);
    if (!command) {
        return;
    }
    const std::string path = FindExecutable(command->program, command->currentDirectoryFirst);
    if (path.empty()) {
        return;
    }
    std::vector<std::string> argv{path};
    argv.insert(argv.end(), command->arguments.begin(), command->arguments.end());
    StartDetached(argv);
}
