#include "platform/command_line_translation.h"

#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace {

struct TranslationCase {
    std::string name;
    std::string commandLine;
    std::optional<HostCommand> expected;
};

void PrintTo(const TranslationCase& row, std::ostream* os) { *os << '"' << row.commandLine << '"'; }

class TranslateCommandLineTest : public ::testing::TestWithParam<TranslationCase> {};

TEST_P(TranslateCommandLineTest, GivesTheProgramToRunOrNothing)
{
    const std::optional<HostCommand> actual = TranslateCommandLine(GetParam().commandLine);
    ASSERT_EQ(actual.has_value(), GetParam().expected.has_value());
    if (actual) {
        EXPECT_EQ(actual->program, GetParam().expected->program);
        EXPECT_EQ(actual->currentDirectoryFirst, GetParam().expected->currentDirectoryFirst);
        EXPECT_EQ(actual->arguments, GetParam().expected->arguments);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TranslateCommandLineTest,
    ::testing::Values(
        // The client's own lines.
        TranslationCase{"Install", "cmd /c ddns.exe /install /silent",
                        HostCommand{"ddns.exe", true, {"/install", "/silent"}}},
        TranslationCase{"Uninstall", "cmd /c ddns.exe /uninstall /silent",
                        HostCommand{"ddns.exe", true, {"/uninstall", "/silent"}}},
        TranslationCase{"NetStart", "cmd /c net start tarnwick", HostCommand{"systemctl", false, {"start", "tarnwick"}}},
        TranslationCase{"NetStop", "cmd /c net stop tarnwick", HostCommand{"systemctl", false, {"stop", "tarnwick"}}},
        // Word splitting.
        TranslationCase{"ServiceProgramAlone", "cmd /c ddns.exe", HostCommand{"ddns.exe", true, {}}},
        TranslationCase{"RunsOfBlanks", "  cmd  /c   ddns.exe  /install   /silent ",
                        HostCommand{"ddns.exe", true, {"/install", "/silent"}}},
        TranslationCase{"ShellTextStaysLiteral", "cmd /c ddns.exe $(reboot);x",
                        HostCommand{"ddns.exe", true, {"$(reboot);x"}}},
        // Lines that mean nothing to run.
        TranslationCase{"Empty", "", std::nullopt},
        TranslationCase{"InterpreterAlone", "cmd /c", std::nullopt},
        TranslationCase{"NoInterpreter", "ddns.exe /install /silent", std::nullopt},
        TranslationCase{"KeepOpenSwitch", "cmd /k ddns.exe /install", std::nullopt},
        TranslationCase{"OtherProgram", "cmd /c notepad.exe", std::nullopt},
        TranslationCase{"ServiceProgramAsPrefix", "cmd /c ddns.exe.bak /install", std::nullopt},
        TranslationCase{"NetWithoutName", "cmd /c net start", std::nullopt},
        TranslationCase{"NetWithTwoNames", "cmd /c net start tarnwick other", std::nullopt},
        TranslationCase{"OtherNetVerb", "cmd /c net pause tarnwick", std::nullopt},
        TranslationCase{"NetAlone", "cmd /c net", std::nullopt}),
    [](const ::testing::TestParamInfo<TranslationCase>& row) { return row.param.name; });

} // namespace
