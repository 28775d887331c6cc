#include "service/service_control.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "recording_launcher.h"

namespace {

using ::testing::ElementsAreArray;

struct ServiceCommandCase {
    std::string name;
    std::function<void(CommandLauncher&)> run;
    std::vector<std::string> expectedLines;
};

void PrintTo(const ServiceCommandCase& row, std::ostream* os) { *os << row.name; }

const std::vector<std::string> kInstallLines{
    "cmd /c ddns.exe /install /silent",
    "cmd /c net start tarnwick",
    "cmd /c net stop tarnwick",
    "cmd /c net start tarnwick",
};
const std::vector<std::string> kUninstallLines{
    "cmd /c net stop tarnwick",
    "cmd /c ddns.exe /uninstall /silent",
};

std::vector<std::string> Concat(std::vector<std::string> first, const std::vector<std::string>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

class ServiceCommandTest : public ::testing::TestWithParam<ServiceCommandCase> {};

TEST_P(ServiceCommandTest, StartsExactlyItsLinesInOrder)
{
    RecordingLauncher launcher;
    GetParam().run(launcher);
    EXPECT_THAT(launcher.commandLines, ElementsAreArray(GetParam().expectedLines));
}

// Nothing checks whether the service is already there: repeating a command
// repeats all of its lines.
INSTANTIATE_TEST_SUITE_P(
    Commands, ServiceCommandTest,
    ::testing::Values(
        ServiceCommandCase{"Install", [](CommandLauncher& l) { InstallService(l); }, kInstallLines},
        ServiceCommandCase{"Uninstall", [](CommandLauncher& l) { UninstallService(l); }, kUninstallLines},
        ServiceCommandCase{"InstallTwice",
                           [](CommandLauncher& l) {
                               InstallService(l);
                               InstallService(l);
                           },
                           Concat(kInstallLines, kInstallLines)},
        ServiceCommandCase{"UninstallThenInstall",
                           [](CommandLauncher& l) {
                               UninstallService(l);
                               InstallService(l);
                           },
                           Concat(kUninstallLines, kInstallLines)}),
    [](const ::testing::TestParamInfo<ServiceCommandCase>& row) { return row.param.name; });

} // namespace
