#include "link/http_client.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "fixed_clock.h"
#include "http_outcome.h"
#include "http_reply_cases.h"
#include "link/login_url.h"
#include "link/post_login_request.h"
#include "open_fd_count.h"
#include "scripted_http_server.h"

namespace {

using namespace std::chrono_literals;

// Short waits so that the stalling cases stay fast.
HttpLimits ShortLimits() {
    HttpLimits limits;
    limits.connectTimeout = 2000ms;
    limits.idleTimeout = 300ms;
    limits.totalTimeout = 5000ms;
    limits.failingBodyWait = 100ms;
    return limits;
}

// A socket that owns a loopback port; closed with the object.
class LoopbackSocket {
public:
    explicit LoopbackSocket(int backlog = -1) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length), 0);
        port_ = ntohs(address.sin_port);
        if (backlog >= 0) {
            EXPECT_EQ(::listen(fd_, backlog), 0);
        }
    }
    ~LoopbackSocket() { ::close(fd_); }
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;

    std::uint16_t Port() const { return port_; }

private:
    int fd_;
    std::uint16_t port_ = 0;
};

class HttpClientTest : public testing::Test {
protected:
    void SetUp() override { server_ = std::make_unique<ScriptedHttpServer>(); }
    void TearDown() override { server_.reset(); }

    std::string Url(const std::string& pathAndQuery = "/lo.php?user=u") const {
        return "http://" + server_->HostAndPort() + pathAndQuery;
    }

    std::string Post(const std::string& url, const HttpLimits& limits = ShortLimits()) {
        HttpClient client(limits);
        return HttpOutcome([&] { return PostLoginRequest(client, url); });
    }

    std::unique_ptr<ScriptedHttpServer> server_;
};

std::string ExpectedRequest(const std::string& target, const std::string& host) {
    return "POST " + target + " HTTP/1.0\r\n"
           "Connection: keep-alive\r\n"
           "Content-Type: application/x-www-form-urlencoded\r\n"
           "Content-Length: 10\r\n"
           "Host: " + host + "\r\n"
           "Accept: text/html, */*\r\n"
           "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
           "\r\n"
           "name=Form1";
}

TEST_F(HttpClientTest, SendsTheLoginAndQuitRequestsByteForByte) {
    server_->SetScript({ServerStep::Send("HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n1.2.3.4\r\n")});
    const FixedClock clock(LocalDateTime{2024, 3, 5, 14, 7, 9});
    const std::string host = server_->HostAndPort();

    EXPECT_EQ(Post(ComposeLoginUrl(RequestKind::Login, host, "alice", "secret", clock)), "reply:1.2.3.4\r\n");
    EXPECT_EQ(Post(ComposeLoginUrl(RequestKind::Quit, host, "a b#c", "secret", clock)), "reply:1.2.3.4\r\n");

    const std::vector<std::string> requests = server_->Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0],
              ExpectedRequest("/lo.php?user=alice&pass=5ebe2294ecd0e0f08eab7690d2a6ee69&c=md5&str=240305140709", host));
    EXPECT_EQ(requests[1], ExpectedRequest("/lo.php?user=a%20b%23c&pass=5ebe2294ecd0e0f08eab7690d2a6ee69"
                                           "&c=md5&q=quit&str=240305140709",
                                           host));
}

TEST_F(HttpClientTest, SendsTheUrlAsGivenUpToItsFirstHash) {
    server_->SetScript({ServerStep::Send("HTTP/1.1 200 OK\r\n\r\n")});
    EXPECT_EQ(Post(Url("/lo.php?user=a b%\\c#d&pass=x")), "reply:");
    ASSERT_EQ(server_->Requests().size(), 1u);
    EXPECT_EQ(server_->Requests()[0], ExpectedRequest("/lo.php?user=a b%/c", server_->HostAndPort()));
}

TEST_F(HttpClientTest, LocalhostInAnyCaseIsTheLoopbackAddress) {
    server_->SetScript({ServerStep::Send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")});
    const std::string host = "LocalHost:" + std::to_string(server_->Port());
    EXPECT_EQ(Post("http://" + host + "/lo.php?x"), "reply:ok");
    ASSERT_EQ(server_->Requests().size(), 1u);
    EXPECT_EQ(server_->Requests()[0], ExpectedRequest("/lo.php?x", host));
}

class HttpClientReplies : public HttpClientTest, public testing::WithParamInterface<ReplyCase> {};

TEST_P(HttpClientReplies, GivesTheReplyTextOrTheMessage) {
    const ReplyCase& c = GetParam();
    std::vector<ServerStep> script{ServerStep::Send(c.reply)};
    if (c.ending == ReplyCase::Ending::Stall) {
        script.push_back(ServerStep::Hold());
    } else if (c.ending == ReplyCase::Ending::Reset) {
        script.push_back(ServerStep::Reset());
    }
    server_->SetScript(script);
    EXPECT_EQ(Post(Url()), c.outcome);
}

INSTANTIATE_TEST_SUITE_P(Replies, HttpClientReplies, testing::ValuesIn(ReplyCases()),
                         [](const auto& row) { return row.param.name; });

struct HostileCase {
    std::string name;
    std::vector<ServerStep> script;
    HttpLimits limits;
    std::string outcome;
    std::chrono::milliseconds within = 5000ms;
};

HttpLimits WithTimes(std::chrono::milliseconds idle, std::chrono::milliseconds total) {
    HttpLimits limits;
    limits.idleTimeout = idle;
    limits.totalTimeout = total;
    return limits;
}

HttpLimits WithReplyCap(std::size_t cap) {
    HttpLimits limits;
    limits.maxReplySize = cap;
    return limits;
}

std::vector<HostileCase> HostileCases() {
    const std::string okHead = "HTTP/1.1 200 OK\r\n";
    const std::string block(65536, 'b');
    const auto repeated = [](const std::string& piece) {
        std::string bytes;
        while (bytes.size() < 65536) {
            bytes += piece;
        }
        return bytes;
    };
    return {
        {"SaysNothing", {ServerStep::Hold()}, WithTimes(200ms, 5000ms), "error:Read Timeout", 2000ms},
        {"FailingBodyWaitsOnlyBriefly",
         {ServerStep::Send("HTTP/1.1 404 Not Found\r\n\r\nhalf"), ServerStep::Hold()},
         [] {
             HttpLimits limits = WithTimes(5000ms, 10000ms);
             limits.failingBodyWait = 100ms;
             return limits;
         }(),
         "error:Read Timeout", 2000ms},
        {"EndlessHeadLines", {ServerStep::Send(okHead), ServerStep::Stream(repeated("X: y\r\n"))}, WithReplyCap(65536),
         "error:Max reply size exceeded."},
        {"EndlessHeadLine", {ServerStep::Send(okHead + "X: "), ServerStep::Stream(block)}, HttpLimits{},
         "error:Max line length exceeded."},
        {"TenGigabyteBody",
         {ServerStep::Send(okHead + "Content-Length: 10000000000\r\n\r\n"), ServerStep::Stream(block)}, HttpLimits{},
         "error:Max reply size exceeded."},
        {"EndlessChunks",
         {ServerStep::Send(okHead + "Transfer-Encoding: chunked\r\n\r\n"), ServerStep::Stream(repeated("1\r\na\r\n"))},
         WithReplyCap(65536), "error:Max reply size exceeded."},
        {"TenGigabytesAnnouncedFewSent",
         {ServerStep::Send(okHead + "Content-Length: 10000000000\r\n\r\n" + std::string(1000, 'b'))}, HttpLimits{},
         "reply:" + std::string(1000, 'b')},
    };
}

class HostileServers : public HttpClientTest, public testing::WithParamInterface<HostileCase> {};

// Each ends within its own limits, well before a human would give up.
TEST_P(HostileServers, AreCutOffInTimeAndMemory) {
    const HostileCase& c = GetParam();
    server_->SetScript(c.script);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Post(Url(), c.limits), c.outcome);
    EXPECT_LT(std::chrono::steady_clock::now() - start, c.within);
}

INSTANTIATE_TEST_SUITE_P(Servers, HostileServers, testing::ValuesIn(HostileCases()),
                         [](const auto& row) { return row.param.name; });

TEST_F(HttpClientTest, TotalLimitCutsAReplyThatKeepsComing) {
    server_->SetScript({ServerStep::Drip("HTTP/1.1 200 OK\r\nX: y\r\n", 10ms)});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Post(Url(), WithTimes(300ms, 700ms)), "error:Read Timeout");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 700ms);
}

TEST_F(HttpClientTest, LeavesNoDescriptorOpen) {
    const std::size_t before = OpenFdCount();
    server_->SetScript({ServerStep::Send("HTTP/1.1 404 Not Found\r\n\r\n")});
    EXPECT_EQ(Post(Url()), "error:HTTP/1.1 404 Not Found");
    server_->SetScript({ServerStep::Send("HTTP/1.1 200 OK\r\n\r\nok")});
    EXPECT_EQ(Post(Url()), "reply:ok");
    ASSERT_TRUE(server_->WaitForConnectionsDone(2));
    EXPECT_EQ(OpenFdCount(), before);
}

TEST(HttpLimits, DefaultsAreTheProductionBounds) {
    const HttpLimits limits;
    EXPECT_EQ(limits.connectTimeout, 15s);
    EXPECT_EQ(limits.idleTimeout, 15s);
    EXPECT_EQ(limits.totalTimeout, 30s);
    EXPECT_EQ(limits.failingBodyWait, 2000ms);
    EXPECT_EQ(limits.maxLineLength, 16384u);
    EXPECT_EQ(limits.maxReplySize, 1024u * 1024u);
}

std::string PostTo(const std::string& url, const HttpLimits& limits = ShortLimits()) {
    HttpClient client(limits);
    return HttpOutcome([&] { return client.PostForm(url, "name=Form1"); });
}

TEST(HttpClientConnect, NothingListeningIsConnectionRefused) {
    const LoopbackSocket bound;  // holds the port, never listens
    EXPECT_EQ(PostTo("http://127.0.0.1:" + std::to_string(bound.Port()) + "/lo.php?x"),
              "error:Socket Error # 10061\r\nConnection refused.");
}

TEST(HttpClientConnect, UnknownHostIsHostNotFound) {
    // A label longer than 63 bytes is refused by the resolver itself: no query leaves the machine.
    const std::string unresolvable = std::string(64, 'x') + ".invalid";
    EXPECT_EQ(PostTo("http://" + unresolvable + "/lo.php?x"), "error:Socket Error # 11001\r\nHost not found.");
}

TEST(HttpClientConnect, UnansweredConnectGivesUpAtItsLimit) {
    // A listener whose queue is full leaves further connection attempts unanswered.
    const LoopbackSocket listener(0);
    const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(listener.Port());
    ASSERT_EQ(::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    HttpLimits limits = ShortLimits();
    limits.connectTimeout = 300ms;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PostTo("http://127.0.0.1:" + std::to_string(listener.Port()) + "/lo.php?x", limits),
              "error:Socket Error # 10060\r\nConnection timed out.");
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, 300ms);
    EXPECT_LT(elapsed, 3s);
    ::close(filler);
}

TEST(HttpClientConnect, NoFreeDescriptorIsCannotAllocateSocket) {
    // One exchange first: the sanitizers' type checks need a descriptor the first time they see a class.
    const LoopbackSocket bound;
    const std::string refusedUrl = "http://127.0.0.1:" + std::to_string(bound.Port()) + "/lo.php?x";
    HttpClient client(ShortLimits());
    ASSERT_EQ(HttpOutcome([&] { return client.PostForm(refusedUrl, "name=Form1"); }),
              "error:Socket Error # 10061\r\nConnection refused.");

    rlimit original{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &original), 0);
    int highest = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        highest = std::max(highest, std::stoi(entry.path().filename().string()));
    }
    rlimit low = original;
    low.rlim_cur = static_cast<rlim_t>(highest) + 1;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    std::vector<int> fillers;  // take every free number below the limit
    for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) {
        fillers.push_back(fd);
    }
    const std::string outcome = HttpOutcome([&] { return client.PostForm(refusedUrl, "name=Form1"); });
    for (const int fd : fillers) {
        ::close(fd);
    }
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &original), 0);
    EXPECT_EQ(outcome, "error:Cannot allocate socket.");
}

}  // namespace
