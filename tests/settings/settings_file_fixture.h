#pragma once

#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "open_fd_count.h"
#include "settings/EInOutError.h"
#include "temp_dir.h"

// A directory of its own with the settings file's path in it. Every case
// ends with as many open descriptors as it began with: a file left open on
// some path shows up here.
class SettingsFileTest : public testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(OpenFdCount(), fdsAtStart_) << "a file descriptor was left open"; }

    // The directory holds exactly these names (no temporary file left over).
    void ExpectEntries(const std::vector<std::string>& names) const { EXPECT_EQ(dir_.Entries(), names); }

    mode_t ModeOf(const std::string& file) const {
        struct stat st {};
        EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
        return st.st_mode & 07777;
    }

    TempDir dir_;
    const std::string path_ = dir_.File("tarnwick.ini");

private:
    std::size_t fdsAtStart_ = OpenFdCount();
};

// The message of the EInOutError that operation raises, or "no error".
template <class Operation>
std::string MessageOf(Operation&& operation) {
    try {
        operation();
    } catch (const EInOutError& e) {
        return e.what();
    }
    return "no error";
}

// Sets the process's umask for one scope.
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : old_(::umask(mask)) {}
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;
    ~ScopedUmask() { ::umask(old_); }

private:
    mode_t old_;
};

// A lock on path held through an open file description of its own, as
// another program would hold it (flock locks belong to the description, so
// the operation's own open conflicts with it even in this process).
class HeldLock {
public:
    HeldLock(const std::string& path, int lockOperation) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        locked_ = fd_ >= 0 && ::flock(fd_, lockOperation | LOCK_NB) == 0;
    }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    ~HeldLock() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    bool locked() const { return locked_; }

private:
    int fd_;
    bool locked_ = false;
};

// Whether a new exclusive lock on path can be had now: no one, the client
// included, still holds one.
inline bool CanLockExclusively(const std::string& path) {
    const HeldLock probe(path, LOCK_EX);
    return probe.locked();
}

// Names each case of a table after its row's `name`.
struct RowName {
    template <class Row>
    std::string operator()(const testing::TestParamInfo<Row>& row) const {
        return row.param.name;
    }
};
