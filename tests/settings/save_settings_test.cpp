#include <cerrno>
#include <filesystem>
#include <string>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "failing_file_calls.h"
#include "file_bytes.h"
#include "settings/settings_file.h"
#include "settings_file_fixture.h"

namespace {

const std::string kOldContent = "olduser\r\noldpass\r\nflag\r\n1\r\n10.0.0.7\r\nsixth\r\n";

void Save(const std::string& path, const Settings& s) {
    SaveSettings(path, s.UserName, s.Password, s.PreservedFlag, s.LinkState, s.LastAddress);
}

TEST_F(SettingsFileTest, SaveWritesFiveCrLfLinesOverTheOldContent) {
    WriteFileBytes(path_, kOldContent);
    SaveSettings(path_, "alice", "pass word", "1", "0", "127.0.0.1");
    EXPECT_EQ(ReadFileBytes(path_), "alice\r\npass word\r\n1\r\n0\r\n127.0.0.1\r\n");
    ExpectEntries({"tarnwick.ini"});
}

TEST_F(SettingsFileTest, SaveRewritesLfLinesAsCrLf) {
    WriteFileBytes(path_, "alice\nsecret\n1\n1\n10.0.0.7\n");
    Settings settings;
    LoadSettings(path_, settings);
    Save(path_, settings);
    EXPECT_EQ(ReadFileBytes(path_), "alice\r\nsecret\r\n1\r\n1\r\n10.0.0.7\r\n");
}

struct RoundTripRow {
    const char* name;
    Settings saved;
    std::string file;
    Settings loaded;
};

class SaveThenLoad : public SettingsFileTest, public testing::WithParamInterface<RoundTripRow> {};

TEST_P(SaveThenLoad, WritesValuesUnchangedAndReadsTheFirstFiveLines) {
    Save(path_, GetParam().saved);
    EXPECT_EQ(ReadFileBytes(path_), GetParam().file);
    Settings settings;
    LoadSettings(path_, settings);
    EXPECT_EQ(settings, GetParam().loaded);
}

const std::string kLong(100000, 'v');

INSTANTIATE_TEST_SUITE_P(
    Values, SaveThenLoad,
    testing::Values(
        RoundTripRow{"Plain", {"alice", "secret", "1", "1", "10.0.0.7"},
                     "alice\r\nsecret\r\n1\r\n1\r\n10.0.0.7\r\n", {"alice", "secret", "1", "1", "10.0.0.7"}},
        RoundTripRow{"AllEmpty", {"", "", "", "", ""}, "\r\n\r\n\r\n\r\n\r\n", {"", "", "", "", ""}},
        RoundTripRow{"FlagCarriedWhatever", {"u", "p", "keep me", "0", "127.0.0.1"},
                     "u\r\np\r\nkeep me\r\n0\r\n127.0.0.1\r\n", {"u", "p", "keep me", "0", "127.0.0.1"}},
        RoundTripRow{"RawBytes", {"\xEF\xBB\xBF\xD5\xC5", "p \t#%&+\\", "1", "1", "\x80\xFF"},
                     "\xEF\xBB\xBF\xD5\xC5\r\np \t#%&+\\\r\n1\r\n1\r\n\x80\xFF\r\n",
                     {"\xEF\xBB\xBF\xD5\xC5", "p \t#%&+\\", "1", "1", "\x80\xFF"}},
        RoundTripRow{"AddressOfSeveralLines", {"u", "p", "1", "1", "10.0.0.7\r\nsecond line\r\n"},
                     "u\r\np\r\n1\r\n1\r\n10.0.0.7\r\nsecond line\r\n\r\n", {"u", "p", "1", "1", "10.0.0.7"}},
        RoundTripRow{"AddressStartingWithABreak", {"u", "p", "1", "1", "\n10.0.0.7"},
                     "u\r\np\r\n1\r\n1\r\n\n10.0.0.7\r\n", {"u", "p", "1", "1", ""}},
        RoundTripRow{"LongValues", {kLong, kLong, "1", "1", kLong},
                     kLong + "\r\n" + kLong + "\r\n1\r\n1\r\n" + kLong + "\r\n", {kLong, kLong, "1", "1", kLong}}),
    RowName());

class SaveNewFileMode : public SettingsFileTest, public testing::WithParamInterface<mode_t> {};

TEST_P(SaveNewFileMode, IsOwnerOnlyWhateverTheUmask) {
    const ScopedUmask mask(GetParam());
    SaveSettings(path_, "alice", "secret", "1", "1", "10.0.0.7");
    EXPECT_EQ(ModeOf(path_), 0600u);
}

INSTANTIATE_TEST_SUITE_P(Umasks, SaveNewFileMode, testing::Values(mode_t{0}, mode_t{022}, mode_t{077}));

class SaveExistingFileMode : public SettingsFileTest, public testing::WithParamInterface<mode_t> {};

TEST_P(SaveExistingFileMode, IsKept) {
    const ScopedUmask mask(077);
    WriteFileBytes(path_, kOldContent);
    ASSERT_EQ(::chmod(path_.c_str(), GetParam()), 0);
    SaveSettings(path_, "alice", "secret", "1", "1", "10.0.0.7");
    EXPECT_EQ(ModeOf(path_), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Modes, SaveExistingFileMode,
                         testing::Values(mode_t{0600}, mode_t{0644}, mode_t{0640}, mode_t{0666}, mode_t{0604}));

TEST_F(SettingsFileTest, SaveByRootKeepsTheFileWithItsOwner) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only a privileged writer can give a file back to another owner";
    }
    WriteFileBytes(path_, kOldContent);
    ASSERT_EQ(::chown(path_.c_str(), 65534, 65534), 0);
    SaveSettings(path_, "alice", "secret", "1", "1", "10.0.0.7");
    struct stat st {};
    ASSERT_EQ(::stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
}

TEST_F(SettingsFileTest, SaveWritesADeletedFileAnew) {
    WriteFileBytes(path_, kOldContent);
    ASSERT_EQ(::unlink(path_.c_str()), 0);
    SaveSettings(path_, "alice", "secret", "1", "0", "127.0.0.1");
    EXPECT_EQ(ReadFileBytes(path_), "alice\r\nsecret\r\n1\r\n0\r\n127.0.0.1\r\n");
    EXPECT_EQ(ModeOf(path_), 0600u);
}

struct CallFailureRow {
    const char* name;
    FileCall call;
    int errnoValue;
    std::string message;
};

class SaveCallFailure : public SettingsFileTest, public testing::WithParamInterface<CallFailureRow> {};

// A failure at any step after the open leaves the old file byte for byte
// and no temporary file behind.
TEST_P(SaveCallFailure, LeavesTheOldFileWhole) {
    WriteFileBytes(path_, kOldContent);
    FailingFileCalls calls(GetParam().call, GetParam().errnoValue);

    EXPECT_EQ(MessageOf([&] { SaveSettings(path_, "alice", "secret", "1", "1", "10.0.0.7", calls); }),
              GetParam().message);
    EXPECT_EQ(ReadFileBytes(path_), kOldContent);
    ExpectEntries({"tarnwick.ini"});
    EXPECT_TRUE(CanLockExclusively(path_)) << "the failed save still holds its lock";
    EXPECT_FALSE(calls.sawFdWithoutCloexec);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, SaveCallFailure,
    testing::Values(CallFailureRow{"DiskFullOnWrite", FileCall::Write, ENOSPC, "I/O error 112"},
                    CallFailureRow{"QuotaOnWrite", FileCall::Write, EDQUOT, "I/O error 112"},
                    CallFailureRow{"DiskFullOnFlush", FileCall::Fsync, ENOSPC, "I/O error 112"},
                    CallFailureRow{"WriteError", FileCall::Write, EIO, "I/O error 31"},
                    CallFailureRow{"CloseError", FileCall::Close, EIO, "I/O error 31"},
                    CallFailureRow{"RenameRefused", FileCall::Rename, EPERM, "File access denied"}),
    RowName());

TEST_F(SettingsFileTest, SaveWritesWholeThroughShortAndInterruptedWrites) {
    FailingFileCalls calls(FileCall::Write, EINTR, 2);
    calls.chunk = 1;
    SaveSettings(path_, "alice", "secret", "1", "1", "10.0.0.7", calls);
    EXPECT_EQ(ReadFileBytes(path_), "alice\r\nsecret\r\n1\r\n1\r\n10.0.0.7\r\n");
    ExpectEntries({"tarnwick.ini"});
}

class SaveLockConflict : public SettingsFileTest, public testing::WithParamInterface<int> {};

TEST_P(SaveLockConflict, FailsWithSharingViolation) {
    WriteFileBytes(path_, kOldContent);
    {
        const HeldLock other(path_, GetParam());
        ASSERT_TRUE(other.locked());
        EXPECT_EQ(MessageOf([&] { SaveSettings(path_, "alice", "secret", "1", "1", "10.0.0.7"); }), "I/O error 32");
    }
    EXPECT_EQ(ReadFileBytes(path_), kOldContent);
    ExpectEntries({"tarnwick.ini"});
}

INSTANTIATE_TEST_SUITE_P(HeldBy, SaveLockConflict, testing::Values(LOCK_SH, LOCK_EX),
                         [](const testing::TestParamInfo<int>& row) {
                             return std::string(row.param == LOCK_SH ? "Reader" : "Writer");
                         });

TEST_F(SettingsFileTest, SaveFailsOnADirectoryInTheWay) {
    ASSERT_EQ(::mkdir(path_.c_str(), 0700), 0);
    EXPECT_EQ(MessageOf([&] { SaveSettings(path_, "alice", "secret", "1", "1", "10.0.0.7"); }),
              "File access denied");
    EXPECT_TRUE(std::filesystem::is_directory(path_));
    ExpectEntries({"tarnwick.ini"});
}

struct PathFailureRow {
    const char* name;
    std::string relativePath;
    std::string message;
};

class SavePathFailure : public SettingsFileTest, public testing::WithParamInterface<PathFailureRow> {};

TEST_P(SavePathFailure, RaisesTheMappedCode) {
    WriteFileBytes(dir_.File("plain"), "not a directory\r\n");
    const std::string path = dir_.File(GetParam().relativePath);
    EXPECT_EQ(MessageOf([&] { SaveSettings(path, "alice", "secret", "1", "1", "10.0.0.7"); }), GetParam().message);
    EXPECT_EQ(ReadFileBytes(dir_.File("plain")), "not a directory\r\n");
    ExpectEntries({"plain"});
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SavePathFailure,
    testing::Values(PathFailureRow{"NoDirectory", "missing/tarnwick.ini", "File not found"},
                    PathFailureRow{"FileAsDirectory", "plain/tarnwick.ini", "Invalid filename"},
                    PathFailureRow{"NameTooLong", std::string(300, 'n'), "I/O error 206"}),
    RowName());

}  // namespace
