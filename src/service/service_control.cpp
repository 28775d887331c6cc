#include "service/service_control.h"

#include <array>
#include <cstddef>

namespace {

// ddns.exe installs or removes the service; "net start"/"net stop" run it.
// The lines and their order are fixed; nothing checks whether the service is
// already there.
constexpr std::array<const char*, 4> kInstallLines{
    "cmd /c ddns.exe /install /silent",
    "cmd /c net start tarnwick",
    "cmd /c net stop tarnwick",
    "cmd /c net start tarnwick",
};

constexpr std::array<const char*, 2> kUninstallLines{
    "cmd /c net stop tarnwick",
    "cmd /c ddns.exe /uninstall /silent",
};

// Each line is started and left to itself: none is waited for, no result is
// looked at, and nothing is shown whatever became of it.
template <std::size_t N>
void StartAll(CommandLauncher& launcher, const std::array<const char*, N>& lines)
{
    for (const char* line : lines) {
        launcher.StartCommandLine(line);
    }
}

} // namespace

void InstallService(CommandLauncher& launcher) { StartAll(launcher, kInstallLines); }

void UninstallService(CommandLauncher& launcher) { StartAll(launcher, kUninstallLines); }
