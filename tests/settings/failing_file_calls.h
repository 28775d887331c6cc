#pragma once

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <limits>

#include <fcntl.h>
#include <unistd.h>

#include "settings/file_calls.h"
#include "settings/system_file_calls.h"

enum class FileCall { None, Read, Write, Fsync, Close, Rename };

// The real calls, except that the nth call of one kind fails once with a
// chosen errno (EINTR shows a retry, ENOSPC a full disk), and that reads and
// writes move at most `chunk` bytes at a time. Notes any descriptor it is
// handed that would survive an exec.
class FailingFileCalls final : public FileCalls {
public:
    FailingFileCalls() = default;
    FailingFileCalls(FileCall call, int errnoValue, int onCall = 1) : failing_(call), error_(errnoValue), onCall_(onCall) {}

    std::size_t chunk = std::numeric_limits<std::size_t>::max();
    bool sawFdWithoutCloexec = false;

    ssize_t Read(int fd, void* buffer, std::size_t size) override {
        Note(fd);
        if (Fails(FileCall::Read)) {
            return -1;
        }
        return real_.Read(fd, buffer, std::min(size, chunk));
    }
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        Note(fd);
        if (Fails(FileCall::Write)) {
            return -1;
        }
        return real_.Write(fd, data, std::min(size, chunk));
    }
    int Fsync(int fd) override {
        Note(fd);
        return Fails(FileCall::Fsync) ? -1 : real_.Fsync(fd);
    }
    int Close(int fd) override {
        Note(fd);
        const bool fails = Fails(FileCall::Close);
        const int result = real_.Close(fd);  // the descriptor goes either way, as on Linux
        if (fails) {
            errno = error_;
            return -1;
        }
        return result;
    }
    int Rename(const char* from, const char* to) override {
        return Fails(FileCall::Rename) ? -1 : real_.Rename(from, to);
    }

private:
    bool Fails(FileCall call) {
        if (call != failing_ || ++calls_ != onCall_) {
            return false;
        }
        errno = error_;
        return true;
    }
    void Note(int fd) {
        const int flags = ::fcntl(fd, F_GETFD);
        if (flags < 0 || (flags & FD_CLOEXEC) == 0) {
            sawFdWithoutCloexec = true;
        }
    }

    SystemFileCalls real_;
    FileCall failing_ = FileCall::None;
    int error_ = 0;
    int onCall_ = 1;
    int calls_ = 0;
};
