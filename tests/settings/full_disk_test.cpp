#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "child_process.h"
#include "file_bytes.h"
#include "settings/settings_file.h"
#include "settings_file_fixture.h"

// A real full filesystem: a tiny tmpfs mounted over the test's directory in
// a mount namespace of a child's own, so the mount goes with the child.
namespace {

const std::string kOldContent = "alice\r\nsecret\r\n1\r\n1\r\n10.0.0.7\r\n";

std::string Skip(const std::string& what) { return "SKIP: " + what + ": " + std::strerror(errno); }

// Writes until the filesystem is full; the tmpfs is small, so this ends.
bool FillUp(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    const std::string block(4096, 'f');
    bool full = false;
    for (int i = 0; i < 1024 && !full; ++i) {
        full = ::write(fd, block.data(), block.size()) < 0 && errno == ENOSPC;
    }
    ::close(fd);
    return full;
}

TEST_F(SettingsFileTest, SaveOnAFullDiskFailsAndKeepsTheOldFile) {
    const std::string dir = dir_.path().string();
    const std::string path = path_;
    const std::string out = RunInChild([&]() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0) {
            return Skip("no mount namespace of our own (needs CAP_SYS_ADMIN)");
        }
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            return Skip("cannot make the mounts private");
        }
        if (::mount("tmpfs", dir.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k,mode=0700") != 0) {
            return Skip("cannot mount a small tmpfs");
        }
        SaveSettings(path, "alice", "secret", "1", "1", "10.0.0.7");
        if (!FillUp(dir + "/filler")) {
            return "the filesystem did not fill up";
        }
        const std::string message = MessageOf([&] { SaveSettings(path, "bob", "pw", "1", "0", "127.0.0.1"); });
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        std::string entries;
        for (const auto& name : names) {
            entries += (entries.empty() ? "" : ",") + name;
        }
        return message + "|" + (ReadFileBytes(path) == kOldContent ? "old content" : "changed") + "|" + entries;
    });
    if (out.rfind("SKIP: ", 0) == 0) {
        GTEST_SKIP() << out;
    }
    // message | the file's content | what the directory holds (no temporary file)
    EXPECT_EQ(out, "I/O error 112|old content|filler,tarnwick.ini");
}

}  // namespace
