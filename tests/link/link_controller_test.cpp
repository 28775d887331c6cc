#include "link/link_controller.h"

#include <exception>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_link_view.h"
#include "fake_transport.h"
#include "file_bytes.h"
#include "fixed_clock.h"
#include "temp_dir.h"

namespace {

using ::testing::ElementsAreArray;

const std::string kHost = "svc.test";
const std::string kStamp = "240305140709";  // FixedClock's default reading

// Digests of the passwords the cases use.
const std::string kSecretDigest = "5ebe2294ecd0e0f08eab7690d2a6ee69";  // "secret"
const std::string kPwDigest = "8fe4c11451281c094a6578e6ddbf5eed";      // "pw"
const std::string kEmptyDigest = "d41d8cd98f00b204e9800998ecf8427e";   // ""

std::string LoginUrl(const std::string& user, const std::string& digest) {
    return "http://" + kHost + "/lo.php?user=" + user + "&pass=" + digest + "&c=md5&str=" + kStamp;
}
std::string QuitUrl(const std::string& user, const std::string& digest) {
    return "http://" + kHost + "/lo.php?user=" + user + "&pass=" + digest + "&c=md5&q=quit&str=" + kStamp;
}

// The bytes of a settings file with these five lines.
std::string FileOf(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

// What the window shows of the link, and whether the renewal timer runs.
struct Window {
    std::string label5;
    std::string label7;
    bool button3 = true;
    bool button5 = true;
    bool timer = true;

    bool operator==(const Window&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Window& w) {
        return out << "{" << w.label5 << ", " << w.label7 << ", Button3 " << w.button3 << ", Button5 " << w.button5
                   << ", timer " << w.timer << "}";
    }
};

// The four states, with the addresses the cases use.
const Window kConnected{"已连接", "1.2.3.4", false, true, true};
const Window kRenewing{"未连接", "127.0.0.1", true, false, true};
const Window kUndetermined{"未连接", "", true, true, true};
const Window kStopped{"未连接", "127.0.0.1", true, false, false};

// The calls that show each outcome in the window.
const std::vector<std::string> kShowDisconnected{"Button5=off", "Button3=on", "Timer=stop", "Label5=未连接",
                                                 "Label7=127.0.0.1"};
std::vector<std::string> ShowConnected(const std::string& reply) {
    return {"Label7=" + reply, "Label5=已连接", "Button5=on", "Button3=off"};
}
const std::vector<std::string> kShowNotConnected{"Label5=未连接", "Button5=off", "Button3=on"};
const std::vector<std::string> kLogInStart{"Timer=start", "Edit1?", "Edit2?"};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

enum class Event { LogIn, Tick, Disconnect };

enum class Fault {
    None,
    FileMissing,    // no settings file at all
    FileLocked,     // another open of the file holds a shared lock: loads work, saves fail with 32
    NotADirectory,  // the file's directory is a regular file: every file operation fails with 3
    NoTimerLeft,    // the window system cannot start a stopped timer
};

struct Answer {
    bool fails = false;
    std::string text;  // reply body or failure message
};
Answer Reply(std::string body) { return {false, std::move(body)}; }
Answer Failure(std::string message) { return {true, std::move(message)}; }

// The file, the memory and the edit boxes that every case starts from, unless
// it says otherwise: three different accounts, so each URL shows where its
// user name and password came from.
const std::string kStoredFile = FileOf({"alice", "secret", "flag", "1", "1.2.3.4"});
const Settings kMemory{"carol", "", "mine", "1", "1.2.3.4"};
const std::string kEdit1 = "bob";
const std::string kEdit2 = "pw";

struct TransitionCase {
    const char* name;
    // From
    Window window{};
    Settings memory = kMemory;
    std::string file = kStoredFile;
    // Event and outcome
    Event event = Event::LogIn;
    Fault fault = Fault::None;
    std::vector<Answer> answers{};
    // What comes of it
    std::vector<std::string> calls{};
    std::vector<std::string> urls{};
    std::optional<std::string> fileAfter{};  // nullopt: no file
    Settings memoryAfter{};
    Window windowAfter{};
    std::string error{};  // empty: none

    friend std::ostream& operator<<(std::ostream& out, const TransitionCase& c) { return out << c.name; }
};

const std::vector<TransitionCase> kTransitions = {
    // Log-in: the edit boxes' account, a reply of any kind, then the save.
    {.name = "LogInFromStoppedConnects",
     .window = kStopped,
     .event = Event::LogIn,
     .answers = {Reply("5.6.7.8")},
     .calls = Join(kLogInStart, ShowConnected("5.6.7.8")),
     .urls = {LoginUrl("bob", kPwDigest)},
     .fileAfter = FileOf({"bob", "pw", "mine", "1", "5.6.7.8"}),
     .memoryAfter = {"bob", "pw", "mine", "1", "5.6.7.8"},
     .windowAfter = {"已连接", "5.6.7.8", false, true, true}},
    {.name = "LogInWithEmptyReplyStaysNotConnected",
     .window = kRenewing,
     .memory = {"carol", "", "mine", "0", "127.0.0.1"},
     .event = Event::LogIn,
     .answers = {Reply("")},
     .calls = Join(kLogInStart, kShowNotConnected),
     .urls = {LoginUrl("bob", kPwDigest)},
     .fileAfter = FileOf({"bob", "pw", "mine", "0", "127.0.0.1"}),
     .memoryAfter = {"bob", "pw", "mine", "0", "127.0.0.1"},
     .windowAfter = kRenewing},
    {.name = "LogInFromUndeterminedFailingRequestChangesOnlyMemory",
     .window = kUndetermined,
     .memory = {"carol", "", "mine", "2", "9.9.9.9"},
     .event = Event::LogIn,
     .answers = {Failure("Socket Error # 10061\r\nConnection refused.")},
     .calls = kLogInStart,
     .urls = {LoginUrl("bob", kPwDigest)},
     .fileAfter = kStoredFile,
     .memoryAfter = {"bob", "pw", "mine", "2", "9.9.9.9"},
     .windowAfter = kUndetermined,
     .error = "Socket Error # 10061\r\nConnection refused."},
    {.name = "LogInWithoutTimerSendsNothing",
     .window = kStopped,
     .event = Event::LogIn,
     .fault = Fault::NoTimerLeft,
     .calls = {"Timer=start"},
     .fileAfter = kStoredFile,
     .memoryAfter = kMemory,
     .windowAfter = kStopped,
     .error = "Not enough timers available"},
    {.name = "LogInWithFailingSaveIsConnectedAlready",
     .window = kStopped,
     .event = Event::LogIn,
     .fault = Fault::FileLocked,
     .answers = {Reply("5.6.7.8")},
     .calls = Join(kLogInStart, ShowConnected("5.6.7.8")),
     .urls = {LoginUrl("bob", kPwDigest)},
     .fileAfter = kStoredFile,
     .memoryAfter = {"bob", "pw", "mine", "1", "5.6.7.8"},
     .windowAfter = {"已连接", "5.6.7.8", false, true, true},
     .error = "I/O error 32"},
    {.name = "LogInWritesMissingFileAnew",
     .window = kRenewing,
     .file = "",
     .event = Event::LogIn,
     .fault = Fault::FileMissing,
     .answers = {Reply("")},
     .calls = Join(kLogInStart, kShowNotConnected),
     .urls = {LoginUrl("bob", kPwDigest)},
     .fileAfter = FileOf({"bob", "pw", "mine", "0", "127.0.0.1"}),
     .memoryAfter = {"bob", "pw", "mine", "0", "127.0.0.1"},
     .windowAfter = kRenewing},

    // Renewal: the file's account, never the edit boxes.
    {.name = "TickWhileConnectedUsesStoredAccount",
     .window = kConnected,
     .event = Event::Tick,
     .answers = {Reply("5.6.7.8")},
     .calls = ShowConnected("5.6.7.8"),
     .urls = {LoginUrl("alice", kSecretDigest)},
     .fileAfter = FileOf({"alice", "secret", "flag", "1", "5.6.7.8"}),
     .memoryAfter = {"alice", "secret", "flag", "1", "5.6.7.8"},
     .windowAfter = {"已连接", "5.6.7.8", false, true, true}},
    {.name = "TickWithEmptyReplyKeepsLabel7ButStoresNoAddress",
     .window = kConnected,
     .event = Event::Tick,
     .answers = {Reply("")},
     .calls = kShowNotConnected,
     .urls = {LoginUrl("alice", kSecretDigest)},
     .fileAfter = FileOf({"alice", "secret", "flag", "0", "127.0.0.1"}),
     .memoryAfter = {"alice", "secret", "flag", "0", "127.0.0.1"},
     .windowAfter = {"未连接", "1.2.3.4", true, false, true}},
    {.name = "TickWhileStoredNotConnectedStillRenews",
     .window = kRenewing,
     .file = FileOf({"alice", "secret", "flag", "0", "127.0.0.1"}),
     .event = Event::Tick,
     .answers = {Reply("5.6.7.8")},
     .calls = ShowConnected("5.6.7.8"),
     .urls = {LoginUrl("alice", kSecretDigest)},
     .fileAfter = FileOf({"alice", "secret", "flag", "1", "5.6.7.8"}),
     .memoryAfter = {"alice", "secret", "flag", "1", "5.6.7.8"},
     .windowAfter = {"已连接", "5.6.7.8", false, true, true}},
    {.name = "TickFromUndeterminedStoresReplyWhole",
     .window = kUndetermined,
     .file = FileOf({"alice", "secret", "flag", "2", "1.2.3.4"}),
     .event = Event::Tick,
     .answers = {Reply("5.6.7.8\r\n")},
     .calls = ShowConnected("5.6.7.8\r\n"),
     .urls = {LoginUrl("alice", kSecretDigest)},
     .fileAfter = FileOf({"alice", "secret", "flag", "1", "5.6.7.8\r\n"}),
     .memoryAfter = {"alice", "secret", "flag", "1", "5.6.7.8\r\n"},
     .windowAfter = {"已连接", "5.6.7.8\r\n", false, true, true}},
    {.name = "TickWithoutFileSendsNothing",
     .window = kConnected,
     .file = "",
     .event = Event::Tick,
     .fault = Fault::FileMissing,
     .calls = {},
     .fileAfter = std::nullopt,
     .memoryAfter = kMemory,
     .windowAfter = kConnected,
     .error = "File not found"},
    {.name = "TickWithFailingRequestKeepsReloadedSettings",
     .window = kConnected,
     .event = Event::Tick,
     .answers = {Failure("HTTP/1.1 404 Not Found")},
     .calls = {},
     .urls = {LoginUrl("alice", kSecretDigest)},
     .fileAfter = kStoredFile,
     .memoryAfter = {"alice", "secret", "flag", "1", "1.2.3.4"},
     .windowAfter = kConnected,
     .error = "HTTP/1.1 404 Not Found"},
    {.name = "TickWithFailingSaveShowsReplyAndKeepsFile",
     .window = kConnected,
     .event = Event::Tick,
     .fault = Fault::FileLocked,
     .answers = {Reply("")},
     .calls = kShowNotConnected,
     .urls = {LoginUrl("alice", kSecretDigest)},
     .fileAfter = kStoredFile,
     .memoryAfter = {"alice", "secret", "flag", "0", "127.0.0.1"},
     .windowAfter = {"未连接", "1.2.3.4", true, false, true},
     .error = "I/O error 32"},

    // Disconnect: everything local first, then the quit request with the
    // account in memory; the fields LinkState and LastAddress stay.
    {.name = "DisconnectFromConnected",
     .window = kConnected,
     .event = Event::Disconnect,
     .answers = {Reply("")},
     .calls = kShowDisconnected,
     .urls = {QuitUrl("carol", kEmptyDigest)},
     .fileAfter = FileOf({"carol", "", "mine", "0", "127.0.0.1"}),
     .memoryAfter = kMemory,
     .windowAfter = kStopped},
    {.name = "DisconnectFromUndeterminedIgnoresReply",
     .window = kUndetermined,
     .memory = {"carol", "", "mine", "2", "9.9.9.9"},
     .event = Event::Disconnect,
     .answers = {Reply("5.6.7.8")},
     .calls = kShowDisconnected,
     .urls = {QuitUrl("carol", kEmptyDigest)},
     .fileAfter = FileOf({"carol", "", "mine", "0", "127.0.0.1"}),
     .memoryAfter = {"carol", "", "mine", "2", "9.9.9.9"},
     .windowAfter = kStopped},
    {.name = "DisconnectWithFailingQuitRequestKeepsSave",
     .window = kConnected,
     .event = Event::Disconnect,
     .answers = {Failure("Connection Closed Gracefully.")},
     .calls = kShowDisconnected,
     .urls = {QuitUrl("carol", kEmptyDigest)},
     .fileAfter = FileOf({"carol", "", "mine", "0", "127.0.0.1"}),
     .memoryAfter = kMemory,
     .windowAfter = kStopped,
     .error = "Connection Closed Gracefully."},
    {.name = "DisconnectWithLockedFileSendsNoQuit",
     .window = kConnected,
     .event = Event::Disconnect,
     .fault = Fault::FileLocked,
     .calls = kShowDisconnected,
     .fileAfter = kStoredFile,
     .memoryAfter = kMemory,
     .windowAfter = kStopped,
     .error = "I/O error 32"},
    {.name = "DisconnectWithBadDirectorySendsNoQuit",
     .window = kConnected,
     .file = "",
     .event = Event::Disconnect,
     .fault = Fault::NotADirectory,
     .calls = kShowDisconnected,
     .fileAfter = std::nullopt,
     .memoryAfter = kMemory,
     .windowAfter = kStopped,
     .error = "Invalid filename"},
};

// The controller between a recording window, a scripted transport and a real
// settings file in a directory of its own.
class LinkControllerTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (lockFd_ >= 0) ::close(lockFd_);
    }

    LinkController MakeController() {
        return LinkController(view_, settings_, path_, kHost, clock_, transport_.Factory());
    }

    // Another open of the file holding a shared lock: loading still works,
    // every save meets a sharing conflict.
    void HoldSharedLock() {
        lockFd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(lockFd_, 0);
        ASSERT_EQ(::flock(lockFd_, LOCK_SH | LOCK_NB), 0);
    }

    void SetWindow(const Window& window) {
        view_.label5 = window.label5;
        view_.label7 = window.label7;
        view_.button3 = window.button3;
        view_.button5 = window.button5;
        view_.timerRunning = window.timer;
        view_.edit1 = kEdit1;
        view_.edit2 = kEdit2;
    }
    Window ShownWindow() const {
        return {view_.label5, view_.label7, view_.button3, view_.button5, view_.timerRunning};
    }

    std::optional<std::string> FileNow() const {
        struct stat entry {};
        if (::stat(path_.c_str(), &entry) != 0) return std::nullopt;
        return ReadFileBytes(path_);
    }

    // Runs one handler; the message of what it threw, or empty.
    template <typename Handler>
    std::string Run(Handler handler) {
        try {
            handler();
        } catch (const std::exception& error) {
            return error.what();
        }
        return {};
    }

    TempDir dir_;
    std::string path_ = dir_.File("tarnwick.ini");
    FakeLinkView view_;
    Settings settings_;
    FixedClock clock_;
    FakeTransportScript transport_;
    int lockFd_ = -1;
};

class LinkTransitionTest : public LinkControllerTest, public ::testing::WithParamInterface<TransitionCase> {};

TEST_P(LinkTransitionTest, ActsInOrderAndLeavesWindowMemoryAndFile) {
    const TransitionCase& c = GetParam();
    SetWindow(c.window);
    settings_ = c.memory;
    switch (c.fault) {
        case Fault::FileMissing:
            break;
        case Fault::NotADirectory:
            WriteFileBytes(dir_.File("blocker"), "a file where a directory should be");
            path_ = dir_.File("blocker") + "/tarnwick.ini";
            break;
        case Fault::NoTimerLeft:
            view_.timerStartFailure = "Not enough timers available";
            WriteFileBytes(path_, c.file);
            break;
        case Fault::FileLocked:
            WriteFileBytes(path_, c.file);
            HoldSharedLock();
            break;
        case Fault::None:
            WriteFileBytes(path_, c.file);
            break;
    }
    for (const Answer& answer : c.answers) {
        answer.fails ? transport_.Fail(answer.text) : transport_.Reply(answer.text);
    }
    // The request resources exist while the request is under way, and only one at a time.
    transport_.onPost = [this](const std::string&) { EXPECT_EQ(transport_.Alive(), 1); };

    LinkController controller = MakeController();
    const std::string error = Run([&] {
        switch (c.event) {
            case Event::LogIn: controller.Button3Click(); break;
            case Event::Tick: controller.Timer1Timer(); break;
            case Event::Disconnect: controller.Button5Click(); break;
        }
    });

    EXPECT_EQ(error, c.error);
    EXPECT_THAT(view_.calls, ElementsAreArray(c.calls));
    std::vector<std::string> urls;
    for (const auto& post : transport_.Posts()) {
        urls.push_back(post.url);
        EXPECT_EQ(post.body, "name=Form1");
    }
    EXPECT_THAT(urls, ElementsAreArray(c.urls));
    EXPECT_EQ(transport_.Made(), static_cast<int>(c.urls.size())) << "one transport per request, none without";
    EXPECT_EQ(transport_.Alive(), 0) << "the request resources outlive the handler";
    EXPECT_EQ(transport_.Unanswered(), 0u);
    EXPECT_EQ(FileNow(), c.fileAfter);
    EXPECT_EQ(settings_, c.memoryAfter);
    EXPECT_EQ(ShownWindow(), c.windowAfter);
}

INSTANTIATE_TEST_SUITE_P(Transitions, LinkTransitionTest, ::testing::ValuesIn(kTransitions),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(LinkControllerTest, DisconnectTellsServiceOnlyWhenWindowTimerAndFileAreNotConnected) {
    SetWindow(kConnected);
    settings_ = kMemory;
    WriteFileBytes(path_, kStoredFile);
    transport_.Reply("");
    Window windowAtRequest;
    std::optional<std::string> fileAtRequest;
    transport_.onPost = [&](const std::string&) {
        windowAtRequest = ShownWindow();
        fileAtRequest = FileNow();
    };

    MakeController().Button5Click();

    ASSERT_EQ(transport_.Posts().size(), 1u);
    EXPECT_EQ(windowAtRequest, kStopped);
    EXPECT_EQ(fileAtRequest, FileOf({"carol", "", "mine", "0", "127.0.0.1"}));
}

TEST_F(LinkControllerTest, MissingFileFailsEveryTickUntilLogInWritesItAnew) {
    SetWindow(kUndetermined);
    LinkController controller = MakeController();

    EXPECT_EQ(Run([&] { controller.Timer1Timer(); }), "File not found");
    EXPECT_EQ(Run([&] { controller.Timer1Timer(); }), "File not found");
    EXPECT_TRUE(transport_.Posts().empty());

    transport_.Reply("");
    EXPECT_EQ(Run([&] { controller.Button3Click(); }), "");
    transport_.Reply("5.6.7.8");
    EXPECT_EQ(Run([&] { controller.Timer1Timer(); }), "");

    ASSERT_EQ(transport_.Posts().size(), 2u);
    EXPECT_EQ(transport_.Posts()[1].url, LoginUrl("bob", kPwDigest)) << "the account the log-in stored";
    EXPECT_EQ(FileNow(), FileOf({"bob", "pw", "", "1", "5.6.7.8"}));
    EXPECT_EQ(ShownWindow(), (Window{"已连接", "5.6.7.8", false, true, true}));
}

TEST_F(LinkControllerTest, TypedAccountOfFailedLogInIsReplacedByStoredOneAtNextTick) {
    SetWindow(kRenewing);
    settings_ = {"alice", "secret", "flag", "0", "127.0.0.1"};
    WriteFileBytes(path_, FileOf({"alice", "secret", "flag", "0", "127.0.0.1"}));
    transport_.Fail("Read Timeout");
    transport_.Reply("5.6.7.8");
    LinkController controller = MakeController();

    EXPECT_EQ(Run([&] { controller.Button3Click(); }), "Read Timeout");
    EXPECT_EQ(Run([&] { controller.Timer1Timer(); }), "");

    ASSERT_EQ(transport_.Posts().size(), 2u);
    EXPECT_EQ(transport_.Posts()[0].url, LoginUrl("bob", kPwDigest));
    EXPECT_EQ(transport_.Posts()[1].url, LoginUrl("alice", kSecretDigest));
    EXPECT_EQ(settings_.UserName, "alice");
}

// Only emptiness decides; the reply is shown and stored as it came.
struct ReplyCase {
    const char* name;
    std::string reply;
    bool connected;
};

class ApplyReplyTest : public LinkControllerTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(ApplyReplyTest, OnlyAnEmptyReplyIsNotConnected) {
    const ReplyCase& c = GetParam();
    SetWindow(kUndetermined);
    view_.label7 = "old";
    settings_ = {"alice", "secret", "flag", "2", "old"};

    MakeController().ApplyReply(c.reply);

    if (c.connected) {
        EXPECT_EQ(ShownWindow(), (Window{"已连接", c.reply, false, true, true}));
        EXPECT_EQ(settings_, (Settings{"alice", "secret", "flag", "1", c.reply}));
    } else {
        EXPECT_EQ(ShownWindow(), (Window{"未连接", "old", true, false, true}));
        EXPECT_EQ(settings_, (Settings{"alice", "secret", "flag", "0", "127.0.0.1"}));
    }
    EXPECT_FALSE(FileNow().has_value()) << "ApplyReply does not save";
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ApplyReplyTest,
    ::testing::Values(ReplyCase{"Empty", "", false}, ReplyCase{"Address", "1.2.3.4", true},
                      ReplyCase{"Blank", " ", true}, ReplyCase{"Zero", "0", true},
                      ReplyCase{"LineBreakOnly", "\r\n", true}, ReplyCase{"AddressWithLineBreak", "1.2.3.4\r\n", true},
                      ReplyCase{"ErrorText", "<html>error</html>", true},
                      ReplyCase{"NulByte", std::string("\0", 1), true}, ReplyCase{"Chinese", "未连接", true}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
