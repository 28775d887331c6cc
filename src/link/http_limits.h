#pragma once

#include <chrono>
#include <cstddef>

// Bounds of one HTTP exchange, so that no server can hold the window or
// fill the memory. Tests shrink them; the program keeps the defaults.
struct HttpLimits {
    std::chrono::milliseconds connectTimeout{15000};  // then "Socket Error # 10060"
    std::chrono::milliseconds idleTimeout{15000};     // longest wait for data, then "Read Timeout"
    std::chrono::milliseconds totalTimeout{30000};    // whole exchange from the first step, then "Read Timeout"
    std::chrono::milliseconds failingBodyWait{2000};  // longest wait for data of a failing reply's body
    std::size_t maxLineLength = 16384;                // head and chunk-size lines, line end not counted
    std::size_t maxReplySize = 1024 * 1024;           // body bytes, and head bytes, of one reply
};
