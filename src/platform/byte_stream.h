#pragma once

#include <chrono>
#include <cstddef>
#include <span>
#include <string_view>

// How one socket operation ended.
enum class IoStatus {
    Done,      // bytes moved (count says how many)
    Closed,    // the peer closed its side: no more bytes will come
    TimedOut,  // the deadline passed first
    Failed,    // the socket layer failed (socketError says how)
};

struct IoResult {
    IoStatus status = IoStatus::Done;
    std::size_t count = 0;
    int socketError = 0;  // Windows Sockets number when Failed
};

using IoDeadline = std::chrono::steady_clock::time_point;

// A connected byte stream: the socket in production, bytes in memory in tests.
class ByteStream {
public:
    virtual ~ByteStream() = default;
    // Waits until deadline for at least one byte, then takes what is there (up to into.size()).
    virtual IoResult Receive(std::span<char> into, IoDeadline deadline) = 0;
    // Sends all of bytes, as one write where the stream allows, or fails.
    virtual IoResult Send(std::string_view bytes, IoDeadline deadline) = 0;
};
