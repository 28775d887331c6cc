// The real launchers against fake programs: what each started program saw
// (arguments, streams, session, descriptors) and what the client kept of it.
#include "platform/hidden_command_line.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/detached_process.h"
#include "platform/xdg_url_opener.h"
#include "service/service_control.h"
#include "service/web_links.h"

#include "fake_program_tree.h"
#include "zombie_children.h"

namespace {

using ::testing::Each;
using ::testing::Field;
using ::testing::UnorderedElementsAreArray;

// Runs each test in the tree's work/ directory with PATH set to bin/ alone,
// holding one descriptor without close-on-exec that no child may inherit.
class HiddenLaunchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedCwd_ = std::filesystem::current_path().string();
        if (const char* path = std::getenv("PATH")) {
            savedPath_ = path;
        }
        std::filesystem::current_path(tree_.workDir);
        UsePath(tree_.binDir);
        leakFd_ = open(tree_.leakMarker.c_str(), O_RDONLY);
        ASSERT_GE(leakFd_, 0);
        ASSERT_EQ(fcntl(leakFd_, F_GETFD) & FD_CLOEXEC, 0);
    }

    void TearDown() override
    {
        close(leakFd_);
        std::filesystem::current_path(savedCwd_);
        if (savedPath_) {
            setenv("PATH", savedPath_->c_str(), 1);
        } else {
            unsetenv("PATH");
        }
    }

    static void UsePath(const std::filesystem::path& dir) { setenv("PATH", dir.c_str(), 1); }

    void AddSystemPrograms() const
    {
        tree_.AddProgram(tree_.binDir, "systemctl", "path/systemctl");
        tree_.AddProgram(tree_.binDir, "xdg-open", "path/xdg-open");
    }

    // Waits for the expected starts, then checks that they were exactly these
    // (separate processes record in no fixed order), each hidden, with no
    // zombie left to the client.
    void ExpectStarts(const std::vector<std::string>& expected) const
    {
        const std::vector<FakeProgramRecord> records = tree_.WaitForRecords(expected.size());
        std::vector<std::string> invocations;
        for (const FakeProgramRecord& record : records) {
            invocations.push_back(record.invocation);
        }
        EXPECT_THAT(invocations, UnorderedElementsAreArray(expected));
        EXPECT_THAT(records, Each(Field(&FakeProgramRecord::circumstances, kHiddenCircumstances)));
        EXPECT_EQ(ZombieChildCountAfterGrace(), 0);
    }

    FakeProgramTree tree_;

private:
    std::string savedCwd_;
    std::optional<std::string> savedPath_;
    int leakFd_ = -1;
};

struct ServiceProgramPlacement {
    bool inWorkDir;
    mode_t workDirMode;
    bool onPath;
};

struct LaunchCase {
    std::string name;
    ServiceProgramPlacement placement;
    std::function<void(const FakeProgramTree&)> run;
    std::vector<std::string> expected;
};

void PrintTo(const LaunchCase& row, std::ostream* os) { *os << row.name; }

class HiddenLaunchCaseTest : public HiddenLaunchTest, public ::testing::WithParamInterface<LaunchCase> {};

void Install(const FakeProgramTree&)
{
    HiddenCommandLine launcher;
    InstallService(launcher);
}

void Uninstall(const FakeProgramTree&)
{
    HiddenCommandLine launcher;
    UninstallService(launcher);
}

const std::vector<std::string> kInstallFromWorkDir{
    "cwd/ddns.exe [/install] [/silent]", "path/systemctl [start] [tarnwick]",
    "path/systemctl [stop] [tarnwick]", "path/systemctl [start] [tarnwick]"};
const std::vector<std::string> kInstallFromPath{
    "path/ddns.exe [/install] [/silent]", "path/systemctl [start] [tarnwick]",
    "path/systemctl [stop] [tarnwick]", "path/systemctl [start] [tarnwick]"};

TEST_P(HiddenLaunchCaseTest, StartsExactlyTheExpectedProgramsHidden)
{
    const ServiceProgramPlacement& placement = GetParam().placement;
    AddSystemPrograms();
    if (placement.inWorkDir) {
        tree_.AddProgram(tree_.workDir, "ddns.exe", "cwd/ddns.exe", placement.workDirMode);
    }
    if (placement.onPath) {
        tree_.AddProgram(tree_.binDir, "ddns.exe", "path/ddns.exe");
    }
    GetParam().run(tree_);
    ExpectStarts(GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, HiddenLaunchCaseTest,
    ::testing::Values(
        LaunchCase{"InstallFromWorkDir", {true, 0755, false}, Install, kInstallFromWorkDir},
        LaunchCase{"UninstallFromWorkDir",
                   {true, 0755, false},
                   Uninstall,
                   {"path/systemctl [stop] [tarnwick]", "cwd/ddns.exe [/uninstall] [/silent]"}},
        LaunchCase{"WorkDirWinsOverPath", {true, 0755, true}, Install, kInstallFromWorkDir},
        LaunchCase{"PathWhenNotInWorkDir", {false, 0755, true}, Install, kInstallFromPath},
        LaunchCase{"NonExecutableInWorkDirIsPassedOver", {true, 0644, true}, Install, kInstallFromPath},
        LaunchCase{"OpenPage",
                   {false, 0755, false},
                   [](const FakeProgramTree&) {
                       XdgUrlOpener opener;
                       OpenSitePage(opener, "127.0.0.1:8080", "/down.php");
                   },
                   {"path/xdg-open [http://127.0.0.1:8080/down.php]"}},
        LaunchCase{"ArgumentsArriveWhole",
                   {false, 0755, false},
                   [](const FakeProgramTree& tree) {
                       StartDetached({(tree.binDir / "xdg-open").string(), "a b", "$(touch x) ;", ""});
                   },
                   {"path/xdg-open [a b] [$(touch x) ;] []"}}),
    [](const ::testing::TestParamInfo<LaunchCase>& row) { return row.param.name; });

TEST_F(HiddenLaunchTest, ManyStartsLeaveNoZombie)
{
    AddSystemPrograms();
    HiddenCommandLine launcher;
    constexpr int starts = 50;
    for (int i = 0; i < starts; ++i) {
        launcher.StartCommandLine("cmd /c net start tarnwick");
    }
    ExpectStarts(std::vector<std::string>(starts, "path/systemctl [start] [tarnwick]"));
}

// With no program to be found nothing is started and nothing is raised; the
// launchers go on working once the programs are there.
TEST_F(HiddenLaunchTest, MissingProgramsStartNothingAndLaunchersGoOn)
{
    UsePath(tree_.emptyDir);
    HiddenCommandLine launcher;
    XdgUrlOpener opener;
    EXPECT_NO_THROW({
        InstallService(launcher);
        UninstallService(launcher);
        OpenSitePage(opener, "127.0.0.1:8080", "");
        StartDetached({(tree_.root / "no-such-program").string()});
        StartDetached({});
    });
    EXPECT_EQ(ZombieChildCountAfterGrace(), 0);

    UsePath(tree_.binDir);
    AddSystemPrograms();
    tree_.AddProgram(tree_.workDir, "ddns.exe", "cwd/ddns.exe");
    InstallService(launcher);
    OpenSitePage(opener, "127.0.0.1:8080", "");
    std::vector<std::string> expected = kInstallFromWorkDir;
    expected.push_back("path/xdg-open [http://127.0.0.1:8080]");
    ExpectStarts(expected);
}

// /dev/null must not land on a standard stream number of ours: put on itself
// it would keep close-on-exec and leave the program without that stream.
TEST_F(HiddenLaunchTest, StreamsAreDevNullEvenWhenOurStdinIsClosed)
{
    AddSystemPrograms();
    const int savedStdin = dup(STDIN_FILENO);
    ASSERT_GE(savedStdin, 0);
    close(STDIN_FILENO);
    HiddenCommandLine launcher;
    launcher.StartCommandLine("cmd /c net stop tarnwick");
    dup2(savedStdin, STDIN_FILENO);
    close(savedStdin);
    ExpectStarts({"path/systemctl [stop] [tarnwick]"});
}

} // namespace
