#pragma once

#include <chrono>
#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

#include <signal.h>

#include "reply_mode.h"
#include "request_log.h"
#include "unique_fd.h"

// A loopback HTTP server that answers like the service. One thread; every
// connection is read without blocking, so a silent or stalled caller never
// holds up the others or the end of the run.
class StandinServer {
public:
    // Listens on 127.0.0.1:port (0: a free port); throws std::runtime_error.
    StandinServer(std::uint16_t port, ReplyMode mode, RequestLog& log);

    std::uint16_t Port() const { return port_; }

    // Serves until stop is set (by a signal handler) or until the deadline.
    // The signals that set stop must be blocked outside this call; waitMask is
    // the mask to wait with, under which they are delivered.
    void Run(std::chrono::steady_clock::time_point deadline, const volatile std::sig_atomic_t& stop,
             const sigset_t& waitMask);

private:
    struct Connection {
        UniqueFd fd;
        std::string callerAddress;
        std::string received;
        std::chrono::steady_clock::time_point deadline;
        bool stalled = false;  // the request is answered with silence; kept until the caller hangs up
        bool done = false;
    };

    void Accept(std::chrono::steady_clock::time_point runDeadline);
    void Read(Connection& connection);
    void Handle(Connection& connection);

    UniqueFd listener_;
    std::uint16_t port_ = 0;
    ReplyMode mode_;
    RequestLog& log_;
    std::vector<Connection> connections_;
};
