#pragma once

#include "settings/file_calls.h"

// FileCalls straight onto the operating system.
class SystemFileCalls final : public FileCalls {
public:
    ssize_t Read(int fd, void* buffer, std::size_t size) override;
    ssize_t Write(int fd, const void* data, std::size_t size) override;
    int Fsync(int fd) override;
    int Close(int fd) override;
    int Rename(const char* from, const char* to) override;
};
