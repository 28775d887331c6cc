// The stand-in service as a process, spoken to by the client's own HTTP client.
#include <chrono>
#include <csignal>
#include <exception>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fixed_clock.h"
#include "link/http_client.h"
#include "link/login_url.h"
#include "link/post_login_request.h"
#include "standin_process.h"
#include "temp_dir.h"

namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::string kProgram = TARNWICK_STANDIN_PATH;

// The reply body, or the failure's message after "failed: ".
std::string Send(const StandinProcess& standin, RequestKind kind) {
    const FixedClock clock;
    HttpClient client(StandinProcess::ClientLimits(std::chrono::milliseconds(300), std::chrono::milliseconds(2000)));
    try {
        return PostLoginRequest(client, ComposeLoginUrl(kind, standin.Host(), "alice", "secret", clock));
    } catch (const std::exception& error) {
        return std::string("failed: ") + error.what();
    }
}

// Waits until the log holds count lines; false at the deadline.
bool WaitForLogLines(const std::string& log, std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (StandinProcess::LogLines(log).size() < count) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));  // polling, up to the deadline
    }
    return true;
}

TEST(StandinTest, AnswersLoginWithCallerAddressAndQuitWithEmptyBodyAndLogsBoth) {
    TempDir dir;
    const std::string log = dir.File("requests.log");
    StandinProcess standin(kProgram, {"--log", log});
    const double before = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();

    EXPECT_EQ(Send(standin, RequestKind::Login), "127.0.0.1");
    EXPECT_EQ(Send(standin, RequestKind::Quit), "");

    const double after = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    const std::vector<std::string> lines = StandinProcess::LogLines(log);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_THAT(lines[0], HasSubstr(" POST /lo.php?user=alice&pass=5ebe2294ecd0e0f08eab7690d2a6ee69&c=md5&str="));
    EXPECT_THAT(lines[0], EndsWith(" HTTP/1.0"));
    EXPECT_THAT(lines[1], HasSubstr("&c=md5&q=quit&str="));
    // The time stamps are read from the clock of steady_clock, in order.
    const double first = std::stod(lines[0]);
    const double second = std::stod(lines[1]);
    EXPECT_LE(before - 0.001, first);
    EXPECT_LE(first, second);
    EXPECT_LE(second, after + 0.001);
}

struct ModeCase {
    const char* name;
    std::string mode;
    std::string login;  // what the client makes of a login reply
    std::string quit;   // and of a quit reply
    friend std::ostream& operator<<(std::ostream& out, const ModeCase& c) { return out << c.name; }
};

class StandinModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(StandinModeTest, ControlRequestChangesHowLoPhpIsAnswered) {
    const ModeCase& c = GetParam();
    StandinProcess standin(kProgram);
    ASSERT_TRUE(standin.SetReply(c.mode));
    EXPECT_EQ(Send(standin, RequestKind::Login), c.login);
    EXPECT_EQ(Send(standin, RequestKind::Quit), c.quit);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, StandinModeTest,
    ::testing::Values(ModeCase{"Address", "address", "127.0.0.1", ""}, ModeCase{"Empty", "empty", "", ""},
                      ModeCase{"Text", "10.0.0.7", "10.0.0.7", "10.0.0.7"},
                      ModeCase{"TextWithLineBreak", "1.2.3.4%0D%0A", "1.2.3.4\r\n", "1.2.3.4\r\n"},
                      ModeCase{"TextNamedLikeAMode", "%65mpty", "empty", "empty"},
                      ModeCase{"NotFound", "status=404", "failed: HTTP/1.1 404 Not Found",
                               "failed: HTTP/1.1 404 Not Found"},
                      ModeCase{"Redirect", "status=302", "failed: HTTP/1.1 302 Found", "failed: HTTP/1.1 302 Found"},
                      ModeCase{"Close", "close", "failed: Connection Closed Gracefully.",
                               "failed: Connection Closed Gracefully."},
                      ModeCase{"Stall", "stall", "failed: Read Timeout", "failed: Read Timeout"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(StandinTest, RefusesUnknownModeAndKeepsTheOldOne) {
    StandinProcess standin(kProgram, {"--reply", "empty"});
    EXPECT_THAT(standin.Exchange("GET /control?reply=status=99 HTTP/1.0\r\n\r\n"), StartsWith("HTTP/1.1 400 "));
    EXPECT_EQ(Send(standin, RequestKind::Login), "");
}

TEST(StandinTest, SilentAndStalledCallersDoNotHoldUpOthers) {
    TempDir dir;
    const std::string log = dir.File("requests.log");
    StandinProcess standin(kProgram, {"--reply", "stall", "--log", log});
    // One caller connects and says nothing; another is kept waiting for a reply.
    std::thread silent([&] { standin.Exchange("", std::chrono::milliseconds(1500)); });
    std::thread stalled([&] {
        standin.Exchange("POST /lo.php?user=x HTTP/1.0\r\nContent-Length: 10\r\n\r\nname=Form1",
                         std::chrono::milliseconds(1500));
    });
    EXPECT_TRUE(WaitForLogLines(log, 1));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(standin.SetReply("empty"));
    EXPECT_EQ(Send(standin, RequestKind::Login), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    silent.join();
    stalled.join();
}

TEST(StandinTest, RefusesOversizedHead) {
    StandinProcess standin(kProgram);
    const std::string reply = standin.Exchange("POST /lo.php?" + std::string(20000, 'a') + " HTTP/1.0\r\n\r\n");
    EXPECT_THAT(reply, StartsWith("HTTP/1.1 413 "));
}

struct StopCase {
    const char* name;
    int signal;
    friend std::ostream& operator<<(std::ostream& out, const StopCase& c) { return out << c.name; }
};

class StandinStopTest : public ::testing::TestWithParam<StopCase> {};

TEST_P(StandinStopTest, ExitsCleanlyOnSignal) {
    TempDir dir;
    const std::string log = dir.File("requests.log");
    StandinProcess standin(kProgram, {"--reply", "stall", "--log", log});
    // Also with a connection held open, so that a stall never keeps it alive.
    std::thread stalled([&] {
        standin.Exchange("POST /lo.php?user=x HTTP/1.0\r\n\r\n", std::chrono::milliseconds(3000));
    });
    EXPECT_TRUE(WaitForLogLines(log, 1));
    const auto status = standin.Signal(GetParam().signal, std::chrono::seconds(5));
    stalled.join();
    ASSERT_TRUE(status.has_value()) << "still running";
    EXPECT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
}

INSTANTIATE_TEST_SUITE_P(Signals, StandinStopTest,
                         ::testing::Values(StopCase{"Term", SIGTERM}, StopCase{"Interrupt", SIGINT}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(StandinTest, EndsOnItsOwnAfterMaxSeconds) {
    StandinProcess standin(kProgram, {"--max-seconds", "1"});
    ASSERT_TRUE(standin.WaitForExit(std::chrono::seconds(5)));
    EXPECT_TRUE(WIFEXITED(standin.ExitStatus()));
    EXPECT_EQ(WEXITSTATUS(standin.ExitStatus()), 0);
}

TEST(StandinTest, BadCommandLineDoesNotStart) {
    EXPECT_THROW(StandinProcess(kProgram, {"--reply", "status=1000"}), std::runtime_error);
}

}  // namespace
