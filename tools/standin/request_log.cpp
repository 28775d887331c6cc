#include "request_log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <stdexcept>

#include <fcntl.h>

RequestLog::RequestLog(const std::string& path) {
    if (path.empty()) return;
    fd_ = UniqueFd(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
    if (!fd_.Valid()) throw std::runtime_error("cannot open log " + path + ": " + std::strerror(errno));
}

void RequestLog::Append(std::string_view requestLine) {
    if (!fd_.Valid()) return;
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "%lld.%06ld ", static_cast<long long>(now.tv_sec), now.tv_nsec / 1000);
    // One write per line, so a reader never sees half a line.
    std::string line = stamp;
    line.append(requestLine);
    line += '\n';
    const ssize_t written = ::write(fd_.Get(), line.data(), line.size());
    static_cast<void>(written);  // a log that cannot be written must not stop the service
}
