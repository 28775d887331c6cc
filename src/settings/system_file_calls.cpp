#include "settings/system_file_calls.h"

#include <cstdio>

#include <unistd.h>

ssize_t SystemFileCalls::Read(int fd, void* buffer, std::size_t size) { return ::read(fd, buffer, size); }

ssize_t SystemFileCalls::Write(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }

int SystemFileCalls::Fsync(int fd) { return ::fsync(fd); }

int SystemFileCalls::Close(int fd) { return ::close(fd); }

int SystemFileCalls::Rename(const char* from, const char* to) { return std::rename(from, to); }
