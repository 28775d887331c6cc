#pragma once

#include <string>
#include <string_view>

#include "unique_fd.h"

// Appends one line per request: the CLOCK_MONOTONIC time in seconds with six
// decimals (the clock of std::chrono::steady_clock), a blank, the request line.
// No path, no log.
class RequestLog {
public:
    explicit RequestLog(const std::string& path);  // throws std::runtime_error when it cannot be opened
    void Append(std::string_view requestLine);

private:
    UniqueFd fd_;
};
