#pragma once

#include <unistd.h>

// Owns one file descriptor and closes it on every path out. Where a close
// must be checked, Release() the descriptor and close it yourself.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) noexcept : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Reset();
            fd_ = other.Release();
        }
        return *this;
    }
    ~UniqueFd() { Reset(); }

    int get() const noexcept { return fd_; }
    bool valid() const noexcept { return fd_ >= 0; }

    int Release() noexcept {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    void Reset() noexcept {
        if (fd_ >= 0) {
            ::close(fd_);  // an error path already reports its own failure
        }
        fd_ = -1;
    }

    int fd_ = -1;
};
