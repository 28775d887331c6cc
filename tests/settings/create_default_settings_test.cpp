#include <filesystem>
#include <string>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "settings/settings_file.h"
#include "settings_file_fixture.h"

namespace {

const std::string kDefaultFile("\x0D\x0A\x0D\x0A\x31\x0D\x0A\x30\x0D\x0A\x31\x32\x37\x2E\x30\x2E\x30\x2E\x31\x0D\x0A", 21);

TEST(SettingsPathTest, AppendsTheFileNameUnchanged) {
    EXPECT_EQ(SettingsPath("/var/lib/tarnwick"), "/var/lib/tarnwick/tarnwick.ini");
    EXPECT_EQ(SettingsPath("/odd//dir/"), "/odd//dir//tarnwick.ini");
}

TEST_F(SettingsFileTest, CreateWritesTheDefaultFileOwnerOnly) {
    const ScopedUmask mask(0);
    CreateDefaultSettings(path_);
    EXPECT_EQ(ReadFileBytes(path_), kDefaultFile);
    EXPECT_EQ(ModeOf(path_), 0600u);
    ExpectEntries({"tarnwick.ini"});

    Settings settings;
    LoadSettings(path_, settings);
    EXPECT_EQ(settings, (Settings{"", "", "1", "0", "127.0.0.1"}));
}

class CreateOverExistingFile : public SettingsFileTest, public testing::WithParamInterface<std::string> {};

// Whatever the file holds, and even while another program holds it locked,
// it is neither read nor written.
TEST_P(CreateOverExistingFile, LeavesItUntouched) {
    WriteFileBytes(path_, GetParam());
    ASSERT_EQ(::chmod(path_.c_str(), 0644), 0);
    struct stat before {};
    ASSERT_EQ(::stat(path_.c_str(), &before), 0);

    const HeldLock other(path_, LOCK_EX);
    ASSERT_TRUE(other.locked());
    EXPECT_EQ(MessageOf([&] { CreateDefaultSettings(path_); }), "no error");

    struct stat after {};
    ASSERT_EQ(::stat(path_.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
    EXPECT_EQ(ReadFileBytes(path_), GetParam());
    EXPECT_EQ(ModeOf(path_), 0644u);
}

INSTANTIATE_TEST_SUITE_P(Contents, CreateOverExistingFile,
                         testing::Values(std::string(), std::string("garbage without a break"),
                                         std::string("alice\r\nsecret\r\n1\r\n1\r\n10.0.0.7\r\n")));

TEST_F(SettingsFileTest, CreateFailsOnADirectoryInTheWay) {
    ASSERT_EQ(::mkdir(path_.c_str(), 0700), 0);
    EXPECT_EQ(MessageOf([&] { CreateDefaultSettings(path_); }), "File access denied");
    EXPECT_TRUE(std::filesystem::is_directory(path_));
    ExpectEntries({"tarnwick.ini"});
}

TEST_F(SettingsFileTest, CreateFailsWithoutTheDirectory) {
    const std::string path = dir_.File("missing/tarnwick.ini");
    EXPECT_EQ(MessageOf([&] { CreateDefaultSettings(path); }), "File not found");
    ExpectEntries({});
}

}  // namespace
