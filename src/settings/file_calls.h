#pragma once

#include <cstddef>

#include <sys/types.h>

// The system calls through which the settings file's bytes pass. Each behaves
// like the call of the same name: -1 with errno set on failure. The client
// uses SystemFileCalls; tests put in one that fails (a full disk, a read error).
class FileCalls {
public:
    virtual ~FileCalls() = default;
    virtual ssize_t Read(int fd, void* buffer, std::size_t size) = 0;
    virtual ssize_t Write(int fd, const void* data, std::size_t size) = 0;
    virtual int Fsync(int fd) = 0;
    virtual int Close(int fd) = 0;  // releases fd even when it fails
    virtual int Rename(const char* from, const char* to) = 0;
};
