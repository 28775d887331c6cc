#include <cerrno>
#include <string>
#include <vector>

#include <sys/file.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "failing_file_calls.h"
#include "file_bytes.h"
#include "settings/settings_file.h"
#include "settings_file_fixture.h"

namespace {

using namespace std::string_literals;

// Values a load must replace: a field left as it was shows up as "old".
const Settings kOld{"old", "old", "old", "old", "old"};

struct ContentRow {
    const char* name;
    std::string content;
    Settings expected;
};

class LoadSettingsContent : public SettingsFileTest, public testing::WithParamInterface<ContentRow> {};

// Each file is read twice: with the real reads, and one byte per read, so
// that every line break also falls across the end of a buffer.
TEST_P(LoadSettingsContent, GivesTheFiveFields) {
    WriteFileBytes(path_, GetParam().content);

    Settings whole = kOld;
    LoadSettings(path_, whole);
    EXPECT_EQ(whole, GetParam().expected);

    Settings byteByByte = kOld;
    FailingFileCalls oneByte;
    oneByte.chunk = 1;
    LoadSettings(path_, byteByByte, oneByte);
    EXPECT_EQ(byteByByte, GetParam().expected);
    EXPECT_FALSE(oneByte.sawFdWithoutCloexec);

    EXPECT_EQ(ReadFileBytes(path_), GetParam().content) << "a load never writes";
}

const std::string kLong(70000, 'x');          // many reads long
const std::string kToBufferEnd(16383, 'u');   // puts the CR at the last byte of the first read

INSTANTIATE_TEST_SUITE_P(
    Files, LoadSettingsContent,
    testing::Values(
        ContentRow{"Empty", "", {"", "", "", "", ""}},
        ContentRow{"Default", "\r\n\r\n1\r\n0\r\n127.0.0.1\r\n", {"", "", "1", "0", "127.0.0.1"}},
        ContentRow{"CrLf", "alice\r\nsecret\r\n1\r\n1\r\n10.0.0.7\r\n", {"alice", "secret", "1", "1", "10.0.0.7"}},
        ContentRow{"LfOnly", "alice\nsecret\n1\n1\n10.0.0.7\n", {"alice", "secret", "1", "1", "10.0.0.7"}},
        ContentRow{"MixedBreaks", "alice\nsecret\r\n1\n1\r\n10.0.0.7", {"alice", "secret", "1", "1", "10.0.0.7"}},
        ContentRow{"FewerThanFiveLines", "alice\r\nsecret\r\n", {"alice", "secret", "", "", ""}},
        ContentRow{"LastLineWithoutBreak", "a\r\nb\r\nc\r\nd\r\n10.0.0.7", {"a", "b", "c", "d", "10.0.0.7"}},
        ContentRow{"LinesAfterTheFifthIgnored", "a\r\nb\r\nc\r\nd\r\ne\r\nsixth\r\nseventh",
                   {"a", "b", "c", "d", "e"}},
        ContentRow{"EmptyLines", "\r\n\r\n\r\n\r\n\r\n\r\n", {"", "", "", "", ""}},
        ContentRow{"LoneCrDropped", "al\rice\r\nx\r\r\n\r1\r\n0\r\n127.0.0.1\r", {"alice", "x", "1", "0", "127.0.0.1"}},
        ContentRow{"CtrlZEndsTheRest", "alice\x1Arest\r\nsecret\r\n1\r\n", {"alice", "", "", "", ""}},
        ContentRow{"CtrlZAtLineStart", "a\r\nb\r\n\x1A" "1\r\n0\r\n", {"a", "b", "", "", ""}},
        ContentRow{"ByteOrderMarkKept", "\xEF\xBB\xBF" "alice\r\npw\r\n1\r\n0\r\n127.0.0.1\r\n",
                   {"\xEF\xBB\xBF" "alice", "pw", "1", "0", "127.0.0.1"}},
        ContentRow{"BytesKeptRaw", "a\0b\r\n\xD5\xC5\xC8\xFD \t#%\r\nyes\r\n2\r\n"s,
                   {"a\0b"s, "\xD5\xC5\xC8\xFD \t#%", "yes", "2", ""}},
        ContentRow{"LongValueWhole", kLong + "\r\n" + kLong + "\n1\r\n0\r\nhost", {kLong, kLong, "1", "0", "host"}},
        ContentRow{"CrLfAcrossBufferEnd", kToBufferEnd + "\r\npw\r\n", {kToBufferEnd, "pw", "", "", ""}}),
    RowName());

struct ReadFailureRow {
    const char* name;
    FileCall call;
    int errnoValue;
    int onCall;
    std::string message;
    Settings expected;
};

class LoadSettingsReadFailure : public SettingsFileTest, public testing::WithParamInterface<ReadFailureRow> {};

// One byte per read, so that the nth read is the nth byte of
// "alice\r\nsecret\r\n1\r\n0\r\nhost\r\n".
TEST_P(LoadSettingsReadFailure, KeepsTheFieldsFromTheFailingLineOn) {
    WriteFileBytes(path_, "alice\r\nsecret\r\n1\r\n0\r\nhost\r\n");
    FailingFileCalls calls(GetParam().call, GetParam().errnoValue, GetParam().onCall);
    calls.chunk = 1;
    Settings settings = kOld;

    EXPECT_EQ(MessageOf([&] { LoadSettings(path_, settings, calls); }), GetParam().message);
    EXPECT_EQ(settings, GetParam().expected);
    EXPECT_TRUE(CanLockExclusively(path_)) << "the failed load still holds its lock";
}

INSTANTIATE_TEST_SUITE_P(
    Failures, LoadSettingsReadFailure,
    testing::Values(ReadFailureRow{"FirstByte", FileCall::Read, EIO, 1, "I/O error 31", kOld},
                    // "alice" and its CR are read; the LF that ends the line is not
                    ReadFailureRow{"InTheFirstLineBreak", FileCall::Read, EIO, 7, "I/O error 31", kOld},
                    ReadFailureRow{"InTheSecondLine", FileCall::Read, EIO, 9, "I/O error 31",
                                   {"alice", "old", "old", "old", "old"}},
                    ReadFailureRow{"InTheFifthLine", FileCall::Read, EACCES, 23, "File access denied",
                                   {"alice", "secret", "1", "0", "old"}},
                    ReadFailureRow{"AtTheClose", FileCall::Close, EIO, 1, "I/O error 31",
                                   {"alice", "secret", "1", "0", "host"}},
                    ReadFailureRow{"InterruptedReadIsRetried", FileCall::Read, EINTR, 3, "no error",
                                   {"alice", "secret", "1", "0", "host"}}),
    RowName());

struct OpenFailureRow {
    const char* name;
    std::string relativePath;  // inside the test's directory
    std::string message;
};

class LoadSettingsOpenFailure : public SettingsFileTest, public testing::WithParamInterface<OpenFailureRow> {};

TEST_P(LoadSettingsOpenFailure, RaisesAndLeavesSettingsAlone) {
    WriteFileBytes(dir_.File("plain"), "not a directory\r\n");
    ASSERT_EQ(::mkdir(dir_.File("tarnwick.ini.d").c_str(), 0700), 0);
    const std::string path = dir_.File(GetParam().relativePath);
    Settings settings = kOld;

    EXPECT_EQ(MessageOf([&] { LoadSettings(path, settings); }), GetParam().message);
    EXPECT_EQ(settings, kOld);
    ExpectEntries({"plain", "tarnwick.ini.d"});  // a load never creates the file
}

INSTANTIATE_TEST_SUITE_P(
    Paths, LoadSettingsOpenFailure,
    testing::Values(OpenFailureRow{"NoFile", "tarnwick.ini", "File not found"},
                    OpenFailureRow{"NoDirectory", "missing/tarnwick.ini", "File not found"},
                    OpenFailureRow{"DirectoryInTheWay", "tarnwick.ini.d", "File access denied"},
                    OpenFailureRow{"FileAsDirectory", "plain/tarnwick.ini", "Invalid filename"},
                    OpenFailureRow{"NameTooLong", std::string(300, 'n'), "I/O error 206"}),
    RowName());

TEST_F(SettingsFileTest, LoadFailsWhenTheFileIsDeletedBetweenLoads) {
    WriteFileBytes(path_, "alice\r\nsecret\r\n1\r\n1\r\n10.0.0.7\r\n");
    Settings settings;
    LoadSettings(path_, settings);
    ASSERT_EQ(::unlink(path_.c_str()), 0);

    EXPECT_EQ(MessageOf([&] { LoadSettings(path_, settings); }), "File not found");
    EXPECT_EQ(settings, (Settings{"alice", "secret", "1", "1", "10.0.0.7"}));
}

TEST_F(SettingsFileTest, LoadConflictsOnlyWithAWriter) {
    WriteFileBytes(path_, "alice\r\n");
    Settings settings;
    {
        const HeldLock writer(path_, LOCK_EX);
        ASSERT_TRUE(writer.locked());
        EXPECT_EQ(MessageOf([&] { LoadSettings(path_, settings); }), "I/O error 32");
        EXPECT_EQ(settings, Settings{});
    }
    {
        const HeldLock reader(path_, LOCK_SH);
        ASSERT_TRUE(reader.locked());
        EXPECT_EQ(MessageOf([&] { LoadSettings(path_, settings); }), "no error");
        EXPECT_EQ(settings.UserName, "alice");
    }
    EXPECT_TRUE(CanLockExclusively(path_)) << "the load still holds its lock";
}

}  // namespace
